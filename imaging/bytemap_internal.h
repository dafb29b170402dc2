#pragma once

// Small checks shared by the byte-map sources. Not part of the interface.

#include <cstddef>
#include <cstdint>

#include "imaging/bytemap.h"
#include "imaging/clip.h"

inline bool bytemap_has_pixels(const BYTEMAP* map) {
  return map != nullptr && map->pixels != nullptr;
}

inline size_t bytemap_pixel_count(const BYTEMAP* map) {
  return clip_pixel_count(map->width, map->height);
}

inline bool bytemap_contains(const BYTEMAP* map, int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < map->width && y < map->height;
}

inline size_t bytemap_index(const BYTEMAP* map, int32_t x, int32_t y) {
  return static_cast<size_t>(y) * static_cast<size_t>(map->width) +
         static_cast<size_t>(x);
}
