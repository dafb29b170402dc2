#pragma once

#include <cstdint>

// The C library's `rand` and `random` as the programs get them from glibc on
// Linux: the additive feedback generator of degree 31, separation 3, seeded
// through the 16807 multiplier and run 310 steps before its first value.
// The show draws its star fields, rectangles and instruments from it, so a
// C library with another generator (the browser's) is handed this one to
// show the same pictures and play the same music.

constexpr int32_t LIBC_RANDOM_degree = 31;

struct LIBC_RANDOM {
  int32_t state[LIBC_RANDOM_degree];
  int32_t front;  // index of the value that is added to
  int32_t rear;   // index of the value that is added
};

// As `srandom(seed)` (and `srand`): 0 is taken as 1.
void LIBC_RANDOM_seed(LIBC_RANDOM* generator, uint32_t seed);
// As `random()` (and `rand`): 0 to 2^31 - 1.
int32_t LIBC_RANDOM_next(LIBC_RANDOM* generator);
