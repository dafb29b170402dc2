// Byte map life cycle, pixel access and whole-map arithmetic. The operations
// both twins share are written once in raster_life.h.

#include "imaging/bytemap.h"

#include "imaging/raster_life.h"

const MODULE_ID BYTEMAP_id = {"BYTEMAP ", "20101021", "Kadwelon", "C       ", "CODE    "};

namespace {

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
  for (size_t i = 0; i < count; ++i) pixels[i] = change(pixels[i]);
}

}  // namespace

void BYTEMAP_error() { raster_error<BYTEMAP>(); }
void BYTEMAP_set_error_report(int32_t on) { raster_error_report<BYTEMAP> = on != 0; }

BYTEMAP* BYTEMAP_create() { return raster_create<BYTEMAP>(); }
void BYTEMAP_destroy(BYTEMAP** map) { raster_destroy(map); }
void BYTEMAP_resize(BYTEMAP* map, int32_t width, int32_t height) {
  raster_resize(map, width, height);
}
void BYTEMAP_clear(BYTEMAP* map) { raster_clear(map); }

void BYTEMAP_put_pixel(BYTEMAP* map, int32_t x, int32_t y, uint8_t value) {
  raster_put_pixel(map, x, y, value);
}

uint8_t BYTEMAP_get_pixel(const BYTEMAP* map, int32_t x, int32_t y) {
  return raster_get_pixel(map, x, y);
}

int32_t BYTEMAP_equal(const BYTEMAP* a, const BYTEMAP* b) { return raster_equal(a, b); }
BYTEMAP* BYTEMAP_clone(const BYTEMAP* map) { return raster_clone(map); }
void BYTEMAP_copy(const BYTEMAP* src, BYTEMAP* dst) { raster_copy(src, dst); }

void BYTEMAP_fade(BYTEMAP* map, uint8_t amount) {
  for_each_byte(map, [amount](uint8_t v) {
    return v > amount ? static_cast<uint8_t>(v - amount) : uint8_t{0};
  });
}

void BYTEMAP_add(BYTEMAP* map, uint8_t amount) {
  for_each_byte(map, [amount](uint8_t v) { return static_cast<uint8_t>(v + amount); });
}
