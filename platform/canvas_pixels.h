#pragma once

#include <cstddef>
#include <cstdint>

// A browser canvas holds its pixels as bytes red, green, blue, alpha; the
// show's images hold 0x00RRGGBB values. Every pixel comes out opaque.
void CANVAS_PIXELS_from_xrgb(const uint32_t* xrgb, uint8_t* rgba, size_t count);
