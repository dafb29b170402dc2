#pragma once

// Helpers shared by the files of the SAMPLE module; not part of its interface.

#include <cstdint>

#include "containers/sample.h"

namespace sample_detail {

constexpr int32_t initial_capacity = 32;

// A vector whose values can be read: a record with an array behind it.
inline bool valid(const SAMPLE* sample) { return sample != nullptr && sample->values != nullptr; }

// Twice `capacity`, or false when that no longer fits in 32 bits.
inline bool doubled(int32_t capacity, int32_t* result) {
  if (capacity > INT32_MAX / 2) {
    return false;
  }
  *result = capacity > 0 ? 2 * capacity : initial_capacity;
  return true;
}

// A zeroed array of `count` values (count >= 1); reports and gives null when
// memory runs out.
int32_t* allocate_values(int32_t count);

// A fresh vector of `length` zeroed values and exactly max(length, 32)
// slots, or null when memory runs out.
SAMPLE* make_vector(int32_t length);

// Gives `into` the array of `*from`, frees the old array of `into` and the
// record `*from`, and clears the caller's handle.
void adopt_values(SAMPLE* into, SAMPLE** from);

}  // namespace sample_detail
