#include "platform/canvas_pixels.h"

void CANVAS_PIXELS_from_xrgb(const uint32_t* xrgb, uint8_t* rgba, size_t count) {
  constexpr uint8_t opaque = 0xFF;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t pixel = xrgb[i];
    rgba[4 * i] = static_cast<uint8_t>(pixel >> 16);
    rgba[4 * i + 1] = static_cast<uint8_t>(pixel >> 8);
    rgba[4 * i + 2] = static_cast<uint8_t>(pixel);
    rgba[4 * i + 3] = opaque;
  }
}
