#pragma once

#include <cstdint>

// Widths of the 64 frames of a star turning about its vertical axis:
// round(32 sin(2 pi (i + 1) / 64)); the sign tells the back half of the turn.
extern const int32_t star_squeeze[64];
constexpr int32_t star_squeeze_length = 64;
