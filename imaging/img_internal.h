#pragma once

// Small checks shared by the image sources. Not part of the interface.

#include <cstddef>
#include <cstdint>

#include "imaging/clip.h"
#include "imaging/img.h"

inline bool img_has_pixels(const IMG* image) {
  return image != nullptr && image->pixels != nullptr;
}

inline size_t img_pixel_count(const IMG* image) {
  return clip_pixel_count(image->width, image->height);
}

inline bool img_contains(const IMG* image, int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < image->width && y < image->height;
}

inline size_t img_index(const IMG* image, int32_t x, int32_t y) {
  return static_cast<size_t>(y) * static_cast<size_t>(image->width) + static_cast<size_t>(x);
}

// Start of row y (0 <= y < height) of an image that has pixels.
inline uint32_t* img_row(IMG* image, int32_t y) { return image->pixels + img_index(image, 0, y); }
inline const uint32_t* img_row(const IMG* image, int32_t y) {
  return image->pixels + img_index(image, 0, y);
}
