#pragma once

#include <cstdint>

// One full turn of the sine in 1024 steps, scaled to 32767. Users index it
// with sine_table[i & sine_mask] and scale with (r * entry) >> 15 or >> 16.
extern const int16_t sine_table[1024];
constexpr int32_t sine_mask = 1023;
constexpr int32_t sine_length = 1024;
