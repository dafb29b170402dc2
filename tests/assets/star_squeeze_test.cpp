#include "show/assets/star_squeeze.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TEST(StarSqueeze, EveryEntryIsTheRoundedSineOfItsFrame) {
  ASSERT_EQ(star_squeeze_length, 64);
  for (int32_t i = 0; i < star_squeeze_length; ++i) {
    auto expected = std::lround(32.0 * std::sin(2.0 * std::numbers::pi * (i + 1) / 64.0));
    EXPECT_EQ(star_squeeze[i], expected) << "entry " << i;
  }
}

TEST(StarSqueeze, EdgeOnFramesAreEmptyAndFullFramesAreWhole) {
  EXPECT_EQ(star_squeeze[31], 0);
  EXPECT_EQ(star_squeeze[63], 0);
  for (int32_t i : {14, 15, 16}) EXPECT_EQ(std::abs(star_squeeze[i]), 32) << "entry " << i;
  for (int32_t i = 0; i < 32; ++i) EXPECT_EQ(star_squeeze[i + 32], -star_squeeze[i]) << i;
}

}  // namespace
