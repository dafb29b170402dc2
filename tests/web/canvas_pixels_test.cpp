#include "platform/canvas_pixels.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(CanvasPixels, EachPixelBecomesRedGreenBlueOpaque) {
  struct CASE {
    uint32_t xrgb;
    std::array<uint8_t, 4> rgba;
  };
  const CASE cases[] = {
      {0x00000000, {0x00, 0x00, 0x00, 0xFF}},
      {0x00FF0000, {0xFF, 0x00, 0x00, 0xFF}},
      {0x0000FF00, {0x00, 0xFF, 0x00, 0xFF}},
      {0x000000FF, {0x00, 0x00, 0xFF, 0xFF}},
      {0x004080F0, {0x40, 0x80, 0xF0, 0xFF}},
      // A top byte is never shown: the canvas's alpha is its own.
      {0xAB123456, {0x12, 0x34, 0x56, 0xFF}},
  };
  constexpr size_t count = sizeof cases / sizeof cases[0];
  uint32_t xrgb[count];
  for (size_t i = 0; i < count; ++i) xrgb[i] = cases[i].xrgb;
  uint8_t rgba[count * 4 + 1];
  rgba[count * 4] = 0x5A;
  CANVAS_PIXELS_from_xrgb(xrgb, rgba, count);
  for (size_t i = 0; i < count; ++i) {
    for (size_t c = 0; c < 4; ++c) {
      EXPECT_EQ(rgba[4 * i + c], cases[i].rgba[c]) << "pixel " << i << ", byte " << c;
    }
  }
  EXPECT_EQ(rgba[count * 4], 0x5A) << "nothing is written past the last pixel";
}

}  // namespace
