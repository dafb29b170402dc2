#pragma once

// Where a mixing puts its sound, worked out from rand itself so that the tests
// never depend on the C library's particular sequence.

#include <cstdint>
#include <cstdlib>

constexpr int32_t music_loop_length = 40000;
constexpr int32_t sound_length = 11025;

struct Placement {
  int32_t pick;
  int32_t offset;
};

// The n-th number (1 for the first) that rand gives after srand(seed).
inline int32_t nth_draw_from_seed(unsigned seed, int n) {
  std::srand(seed);
  int32_t draw = 0;
  for (int i = 0; i < n; ++i) {
    draw = std::rand();
  }
  return draw;
}

// The instrument index and loop offset of the first mixing after srand(seed):
// pick from the first draw, then four coins weighing 1/8, 1/16, 1/2 and 1/4
// of the loop.
inline Placement placement_from_seed(unsigned seed, int32_t instrument_count, int32_t length) {
  std::srand(seed);
  const int32_t r1 = std::rand();
  const int32_t eighth = std::rand() % 2;
  const int32_t sixteenth = std::rand() % 2;
  const int32_t half = std::rand() % 2;
  const int32_t quarter = std::rand() % 2;
  return {r1 % instrument_count, eighth * (length >> 3) + sixteenth * (length >> 4) +
                                     half * (length >> 1) + quarter * (length >> 2)};
}

// The smallest seed whose first mixing starts the sound at `offset`.
inline unsigned seed_giving_offset(int32_t offset, int32_t instrument_count, int32_t length) {
  for (unsigned seed = 1; seed < 100000; ++seed) {
    if (placement_from_seed(seed, instrument_count, length).offset == offset) {
      return seed;
    }
  }
  return 0;
}
