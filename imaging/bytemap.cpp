// Byte map life cycle, pixel access and whole-map arithmetic.

#include "imaging/bytemap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "imaging/raster.h"
#include "imaging/clip.h"

const MODULE_ID BYTEMAP_id = {"BYTEMAP ", "20101021", "Kadwelon", "C       ",
                              "CODE    "};

namespace {

int32_t error_report_on = 0;

constexpr int32_t new_map_side = 16;

// Replaces every byte by change(byte) in one plain pass; the change is
// inlined, so the loop vectorises.
template <typename Change>
void for_each_byte(BYTEMAP* map, Change change) {
  if (!raster_has_pixels(map)) {
    BYTEMAP_error();
    return;
  }
  uint8_t* pixels = map->pixels;
  const size_t count = raster_pixel_count(map);
  for (size_t i = 0; i < count; ++i) {
    pixels[i] = change(pixels[i]);
  }
}

}  // namespace

void BYTEMAP_error() {
  if (error_report_on) {
    std::fputs("BYTEMAP error\n", stdout);
  }
}

void BYTEMAP_set_error_report(int32_t on) { error_report_on = on ? 1 : 0; }

BYTEMAP* BYTEMAP_create() {
  auto* map = static_cast<BYTEMAP*>(std::calloc(1, sizeof(BYTEMAP)));
  if (map == nullptr) {
    BYTEMAP_error();
    return nullptr;
  }
  BYTEMAP_resize(map, new_map_side, new_map_side);
  if (map->pixels == nullptr) {
    std::free(map);
    return nullptr;
  }
  return map;
}

void BYTEMAP_destroy(BYTEMAP** map) {
  if (map == nullptr || *map == nullptr) {
    BYTEMAP_error();
    return;
  }
  std::free((*map)->pixels);
  std::free(*map);
  *map = nullptr;
}

void BYTEMAP_resize(BYTEMAP* map, int32_t width, int32_t height) {
  // The pixel count is bounded so that width x height can neither overflow
  // nor ask for an absurd buffer; a refused size keeps the map as it was.
  if (map == nullptr || !clip_size_acceptable(width, height)) {
    BYTEMAP_error();
    return;
  }
  const size_t count = clip_pixel_count(width, height);
  // A 0 x 0 map still gets a (one-byte) buffer, so that "no buffer" means
  // only a failed allocation.
  auto* pixels = static_cast<uint8_t*>(std::calloc(count > 0 ? count : 1, 1));
  std::free(map->pixels);
  if (pixels == nullptr) {
    // Keep width x height matching the buffer, which is now absent.
    map->width = 0;
    map->height = 0;
    map->pixels = nullptr;
    BYTEMAP_error();
    return;
  }
  map->width = width;
  map->height = height;
  map->pixels = pixels;
}

void BYTEMAP_clear(BYTEMAP* map) {
  if (!raster_has_pixels(map)) {
    BYTEMAP_error();
    return;
  }
  std::memset(map->pixels, 0, raster_pixel_count(map));
}

void BYTEMAP_put_pixel(BYTEMAP* map, int32_t x, int32_t y, uint8_t value) {
  if (!raster_has_pixels(map)) {
    BYTEMAP_error();
    return;
  }
  if (raster_contains(map, x, y)) {
    map->pixels[raster_index(map, x, y)] = value;
  }
}

uint8_t BYTEMAP_get_pixel(const BYTEMAP* map, int32_t x, int32_t y) {
  if (!raster_has_pixels(map)) {
    BYTEMAP_error();
    return 0;
  }
  return raster_contains(map, x, y) ? map->pixels[raster_index(map, x, y)]
                                     : 0;
}

int32_t BYTEMAP_equal(const BYTEMAP* a, const BYTEMAP* b) {
  if (a == nullptr || b == nullptr) {
    BYTEMAP_error();
    return 0;
  }
  if (a->width != b->width || a->height != b->height) {
    return 0;
  }
  const size_t count = raster_pixel_count(a);
  if (count == 0) {
    return 1;  // nothing to compare, buffer or not
  }
  if (!raster_has_pixels(a) || !raster_has_pixels(b)) {
    BYTEMAP_error();
    return 0;
  }
  return std::memcmp(a->pixels, b->pixels, count) == 0 ? 1 : 0;
}

BYTEMAP* BYTEMAP_clone(const BYTEMAP* map) {
  if (!raster_has_pixels(map)) {
    BYTEMAP_error();
    return nullptr;
  }
  BYTEMAP* copy = BYTEMAP_create();
  if (copy == nullptr) {
    return nullptr;
  }
  BYTEMAP_resize(copy, map->width, map->height);
  if (copy->pixels == nullptr) {
    BYTEMAP_destroy(&copy);
    return nullptr;
  }
  std::memcpy(copy->pixels, map->pixels, raster_pixel_count(map));
  return copy;
}

void BYTEMAP_copy(const BYTEMAP* src, BYTEMAP* dst) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) ||
      src->width != dst->width || src->height != dst->height) {
    BYTEMAP_error();
    return;
  }
  std::memcpy(dst->pixels, src->pixels, raster_pixel_count(src));
}

void BYTEMAP_fade(BYTEMAP* map, uint8_t amount) {
  for_each_byte(map, [amount](uint8_t v) {
    return v > amount ? static_cast<uint8_t>(v - amount) : uint8_t{0};
  });
}

void BYTEMAP_add(BYTEMAP* map, uint8_t amount) {
  for_each_byte(map,
                [amount](uint8_t v) { return static_cast<uint8_t>(v + amount); });
}
