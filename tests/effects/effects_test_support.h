#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/font.h"
#include "imaging/img.h"
#include "tests/support/handles.h"
#include "tests/support/images.h"

// Colour every cell of a glyph font is filled with, so a drawn pixel tells
// which character code put it there.
inline uint32_t glyph_colour(int32_t code) { return 0x100000u + static_cast<uint32_t>(code); }

// A font of cell_w x cell_h cells for codes 0 ... codes - 1, laid out
// `per_row` cells to a row, each cell filled with glyph_colour(code).
inline FontPtr make_glyph_font(int32_t cell_w, int32_t cell_h, int32_t codes, int32_t per_row) {
  FontPtr font(FONT_create());
  font->width = cell_w;
  font->height = cell_h;
  const int32_t rows = (codes + per_row - 1) / per_row;
  ImagePtr sheet = make_image(cell_w * per_row, cell_h * rows, [=](int32_t x, int32_t y) {
    return glyph_colour((y / cell_h) * per_row + x / cell_w);
  });
  font->image = sheet.release();
  return font;
}
