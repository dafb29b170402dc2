#pragma once

#include <cstdint>

#include "imaging/img.h"
#include "tests/support/handles.h"

// A width x height image whose pixel (x, y) is paint(x, y).
template <typename Paint>
ImagePtr make_image(int32_t width, int32_t height, Paint paint) {
  ImagePtr image(IMG_create());
  IMG_resize(image.get(), width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) image->pixels[y * width + x] = paint(x, y);
  }
  return image;
}

// A width x height image of one colour.
inline ImagePtr filled_image(int32_t width, int32_t height, uint32_t colour) {
  return make_image(width, height, [colour](int32_t, int32_t) { return colour; });
}
