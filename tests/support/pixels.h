#pragma once

#include <cstdint>
#include <vector>

#include "imaging/bytemap.h"
#include "imaging/img.h"

using PIXELS = std::vector<uint32_t>;

// An image's pixels, row-major.
inline PIXELS pixels_of(const IMG* image) {
  return PIXELS(image->pixels, image->pixels + static_cast<size_t>(image->width) *
                                                   static_cast<size_t>(image->height));
}

// A byte map's bytes, row-major.
inline std::vector<uint8_t> bytes_of(const BYTEMAP* map) {
  return std::vector<uint8_t>(map->pixels, map->pixels + static_cast<size_t>(map->width) *
                                                             static_cast<size_t>(map->height));
}
