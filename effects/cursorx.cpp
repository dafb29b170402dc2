#include "effects/cursorx.h"

#include <cstdlib>

#include "imaging/bytemap.h"
#include "imaging/img.h"

const MODULE_ID CURSORX_id = {"CURSORX ", "20090805", "Kadwelon", "C       ", "CODE    "};

namespace {

// Number of pixels a buffer of width x height holds; 0 when there is none.
size_t pixel_count(int32_t width, int32_t height, const void* pixels) {
  if (pixels == nullptr || width <= 0 || height <= 0) {
    return 0;
  }
  return static_cast<size_t>(width) * static_cast<size_t>(height);
}

}  // namespace

void CURSORX_hex_text(uint32_t value, char* buffer) {
  if (buffer == nullptr) {
    return;
  }
  for (int i = 7; i >= 0; --i) {
    const uint32_t nibble = value & 15;
    buffer[i] = static_cast<char>(nibble < 10 ? '0' + nibble : 'A' + (nibble - 10));
    value >>= 4;
  }
}

void CURSORX_step_colours(IMG* image) {
  // Nothing to step without an image or its pixels.
  if (image == nullptr) {
    return;
  }
  uint32_t* pixels = image->pixels;
  for (size_t i = pixel_count(image->width, image->height, pixels); i-- > 0;) {
    const uint32_t p = pixels[i];
    pixels[i] = ((p + 0x100) & 0xFF00) | ((p + 1) & 0xFF) | ((p + 0x10000) & 0xFF0000);
  }
}

void CURSORX_noise(BYTEMAP* map) {
  if (map == nullptr) {
    return;
  }
  const size_t count = pixel_count(map->width, map->height, map->pixels);
  if (count == 0) {
    return;
  }
  const auto band = static_cast<uint8_t>(random() & 0xE0);
  for (size_t i = count; i-- > 0;) {
    map->pixels[i] = static_cast<uint8_t>(band | (random() & 0x1F));
  }
}
