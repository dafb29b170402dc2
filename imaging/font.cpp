// Font: character cells copied from a strip of cells in a font image.

#include "imaging/font.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/img.h"

const MODULE_ID FONT_id = {"FONT    ", "20101005", "Kadwelon", "C       ", "CODE    "};

namespace {

constexpr int32_t new_cell_side = 6;

int32_t hex_digit(uint32_t nibble) {
  return nibble < 10 ? '0' + static_cast<int32_t>(nibble) : 'A' + static_cast<int32_t>(nibble) - 10;
}

// The x of the cell `cells` advances to the right of x. Held inside the
// 32-bit range: a position pushed past it is off every image anyway.
int32_t cell_x(const FONT* font, int32_t x, int64_t cells) {
  const int64_t advance = font != nullptr ? int64_t{font->width} : 0;
  return static_cast<int32_t>(std::clamp<int64_t>(x + cells * advance, INT32_MIN, INT32_MAX));
}

}  // namespace

void FONT_error() {}

FONT* FONT_create() {
  auto* font = static_cast<FONT*>(std::calloc(1, sizeof(FONT)));
  if (font == nullptr) {
    FONT_error();
    return nullptr;
  }
  font->width = new_cell_side;
  font->height = new_cell_side;
  return font;
}

void FONT_destroy(FONT** font) {
  if (font == nullptr || *font == nullptr) {
    FONT_error();
    return;
  }
  if ((*font)->image != nullptr) {
    IMG_destroy(&(*font)->image);
  }
  std::free(*font);
  *font = nullptr;
}

void FONT_draw_char(const FONT* font, int32_t code, int32_t x, int32_t y, IMG* dst) {
  // The cell address divides by the image width, so an empty image is
  // refused along with a missing one.
  if (font == nullptr || font->image == nullptr || font->image->width <= 0) {
    FONT_error();
    return;
  }
  // Taken in 64 bits: a large code times the cell width must not wrap onto
  // some other cell.
  const int64_t offset = int64_t{code} * font->width;
  const int64_t image_width = font->image->width;
  const int64_t sx = offset % image_width;
  const int64_t sy = (offset / image_width) * font->height;
  if (sy < INT32_MIN || sy > INT32_MAX) {
    return;  // the cell lies far outside the image: nothing to draw
  }
  IMG_blit(font->image, dst, static_cast<int32_t>(sx), static_cast<int32_t>(sy), x, y, font->width,
           font->height);
}

void FONT_draw_hex8(const FONT* font, uint8_t value, int32_t x, int32_t y, IMG* dst) {
  FONT_draw_char(font, hex_digit(value >> 4), x, y, dst);
  FONT_draw_char(font, hex_digit(value & 0xFu), cell_x(font, x, 1), y, dst);
}

void FONT_draw_hex16(const FONT* font, uint16_t value, int32_t x, int32_t y, IMG* dst) {
  FONT_draw_hex8(font, static_cast<uint8_t>(value >> 8), x, y, dst);
  FONT_draw_hex8(font, static_cast<uint8_t>(value & 0xFFu), cell_x(font, x, 2), y, dst);
}

void FONT_draw_hex32(const FONT* font, uint32_t value, int32_t x, int32_t y, IMG* dst) {
  FONT_draw_hex16(font, static_cast<uint16_t>(value >> 16), x, y, dst);
  FONT_draw_hex16(font, static_cast<uint16_t>(value & 0xFFFFu), cell_x(font, x, 4), y, dst);
}

void FONT_draw_text(const FONT* font, const char* text, int32_t x, int32_t y, IMG* dst) {
  if (text == nullptr) {
    FONT_error();
    return;
  }
  for (const char* p = text; *p != '\0' && *p != '\n'; ++p) {
    // Bytes 128 to 255 become negative codes, whose cells lie outside the
    // font image.
    FONT_draw_char(font, static_cast<signed char>(*p), x, y, dst);
    x = cell_x(font, x, 1);
  }
}
