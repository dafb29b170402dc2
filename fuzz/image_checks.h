#pragma once

// Properties every image a reader returns must have, checked by the image
// fuzz targets: a size the readers accept, a buffer of that size, colours
// without a top byte, and a text dump that reads back as the same image.

#include "fuzz/fuzz_support.h"
#include "imaging/bytemap.h"
#include "imaging/img.h"

namespace fuzz {

inline void check_read_image(IMG* image) {
  if (image == nullptr) return;
  require(image->width > 0 && image->height > 0 && image->pixels != nullptr, "IMG size");
  size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
  for (size_t i = 0; i < count; ++i) require(image->pixels[i] <= 0xFFFFFFu, "IMG top byte");
  check_text_round_trip<IMG, IMG_to_text, IMG_from_text, IMG_equal, IMG_destroy>(
      image, "IMG dump reads back");
}

inline void check_read_map(BYTEMAP* map) {
  if (map == nullptr) return;
  require(map->width > 0 && map->height > 0 && map->pixels != nullptr, "BYTEMAP size");
  check_text_round_trip<BYTEMAP, BYTEMAP_to_text, BYTEMAP_from_text, BYTEMAP_equal,
                        BYTEMAP_destroy>(map, "BYTEMAP dump reads back");
}

}  // namespace fuzz
