#pragma once

#include <cstdint>

// Position of v on a ring of `length` (>= 1) slots, in 0 ... length - 1,
// negative v included. The effects fold 64-bit sums here, so counters and
// offsets that run for a long time never overflow before they are folded.
inline int32_t ring_wrap(int64_t v, int32_t length) {
  int64_t t = v % length;
  if (t < 0) {
    t += length;
  }
  return static_cast<int32_t>(t);
}
