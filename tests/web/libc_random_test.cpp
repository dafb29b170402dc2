#include "platform/libc_random.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The programs run on glibc: the generator must give exactly its values,
// for the show's seed and for the edge seeds, through rand and random alike.
TEST(LibcRandom, GivesTheHostCLibrarysSequence) {
  const uint32_t seeds[] = {0xFACE5718u, 0u, 1u, 2u, 12345u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};
  for (uint32_t seed : seeds) {
    LIBC_RANDOM generator{};
    LIBC_RANDOM_seed(&generator, seed);
    std::srand(seed);
    for (int i = 0; i < 5000; ++i) {
      const long expected = (i % 3 == 2) ? random() : std::rand();
      ASSERT_EQ(LIBC_RANDOM_next(&generator), expected) << "seed " << seed << ", draw " << i;
    }
  }
}

TEST(LibcRandom, SeedingAgainStartsTheSequenceAgain) {
  LIBC_RANDOM generator{};
  LIBC_RANDOM_seed(&generator, 0xFACE5718u);
  const int32_t first = LIBC_RANDOM_next(&generator);
  const int32_t second = LIBC_RANDOM_next(&generator);
  EXPECT_NE(first, second);
  LIBC_RANDOM_seed(&generator, 0xFACE5718u);
  EXPECT_EQ(LIBC_RANDOM_next(&generator), first);
  EXPECT_EQ(LIBC_RANDOM_next(&generator), second);
}

}  // namespace
