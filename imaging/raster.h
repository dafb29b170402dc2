#pragma once

// Small checks shared by the 32-bit image and the byte map, which differ only
// in their pixel type. Not part of the interface.

#include <cstddef>
#include <cstdint>

#include "imaging/clip.h"

template <class Raster>
inline bool raster_has_pixels(const Raster* raster) {
  return raster != nullptr && raster->pixels != nullptr;
}

template <class Raster>
inline size_t raster_pixel_count(const Raster* raster) {
  return clip_pixel_count(raster->width, raster->height);
}

template <class Raster>
inline bool raster_contains(const Raster* raster, int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < raster->width && y < raster->height;
}

template <class Raster>
inline size_t raster_index(const Raster* raster, int32_t x, int32_t y) {
  return static_cast<size_t>(y) * static_cast<size_t>(raster->width) + static_cast<size_t>(x);
}

// Start of row y (0 <= y < height) of a raster that has pixels.
template <class Raster>
inline auto raster_row(Raster* raster, int32_t y) {
  return raster->pixels + raster_index(raster, 0, y);
}
