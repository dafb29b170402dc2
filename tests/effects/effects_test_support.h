#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/font.h"
#include "imaging/img.h"
#include "tests/support/handles.h"

// An image of the given size whose pixel (x, y) is paint(x, y).
inline ImagePtr make_image(int32_t width, int32_t height,
                         const std::function<uint32_t(int32_t, int32_t)>& paint) {
  ImagePtr image(IMG_create());
  IMG_resize(image.get(), width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      image->pixels[y * width + x] = paint(x, y);
    }
  }
  return image;
}

inline ImagePtr make_filled(int32_t width, int32_t height, uint32_t colour) {
  return make_image(width, height, [colour](int32_t, int32_t) { return colour; });
}

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
