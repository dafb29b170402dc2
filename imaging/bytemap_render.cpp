// The byte map's own drawing: rendering through a palette and circle
// outlines.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "imaging/clip.h"
#include "imaging/img.h"
#include "imaging/palette.h"
#include "imaging/raster.h"
#include "show/assets/sine_table.h"

namespace {

// The image is indexed with the byte map's own layout, so both must share
// the width and the image must hold every byte's pixel.
bool render_fits(const BYTEMAP* map, const IMG* image, const SAMPLE* palette) {
  return raster_has_pixels(map) && image != nullptr && image->pixels != nullptr &&
         palette != nullptr && palette->values != nullptr && palette->length >= PALETTE_length &&
         map->width == image->width &&
         clip_pixel_count(image->width, image->height) >= raster_pixel_count(map);
}

// Quarter-turn sweep of the outline in 16.16 fixed point over the sine
// table: a starts on the horizontal axis, b a quarter turn ahead.
constexpr int32_t quarter_turn = (sine_length / 4) * 65536;

// |result| <= radius: the products are taken in 64 bits so that a large
// radius cannot overflow them.
int32_t table_scaled(int32_t angle, int32_t radius) {
  return static_cast<int32_t>((int64_t{sine_table[(angle >> 16) & sine_mask]} * radius) >> 15);
}

void plot(BYTEMAP* map, int32_t x, int32_t y, uint8_t value) {
  if (raster_contains(map, x, y)) {
    map->pixels[raster_index(map, x, y)] = value;
  }
}

// Every point of the outline lies at least about 0.9999 x radius - 2 from
// the centre; past this bound none can fall inside the map, so the passes
// can be skipped without changing a byte. Below it, centre plus or minus
// radius stays inside the 32-bit range, as the map has at most 2^28 bytes.
bool circle_misses_map(const BYTEMAP* map, int32_t radius) {
  return int64_t{radius} > 2 * (int64_t{map->width} + map->height) + 8;
}

}  // namespace

void BYTEMAP_render(const BYTEMAP* map, IMG* image, const SAMPLE* palette) {
  if (!render_fits(map, image, palette)) {
    BYTEMAP_error();
    return;
  }
  // A local copy of the colours cannot alias the image, which lets the
  // compiler turn the lookups into vector gathers.
  uint32_t colours[PALETTE_length];
  std::memcpy(colours, palette->values, sizeof colours);
  const uint8_t* bytes = map->pixels;
  uint32_t* out = image->pixels;
  const size_t count = raster_pixel_count(map);
  for (size_t i = 0; i < count; ++i) {
    out[i] = colours[bytes[i]];
  }
}

void BYTEMAP_draw_circle(BYTEMAP* map, int32_t cx, int32_t cy, int32_t radius, uint8_t value) {
  if (!raster_has_pixels(map) || !raster_contains(map, cx, cy) || radius < 1) {
    BYTEMAP_error();
    return;
  }
  if (circle_misses_map(map, radius)) {
    return;
  }
  const int32_t step = quarter_turn / radius;
  int32_t a = 0;
  int32_t b = quarter_turn;
  for (int32_t pass = 0; pass <= radius; ++pass) {
    const int32_t s = table_scaled(a, radius);
    const int32_t c = table_scaled(b, radius);
    // The right half sits one column left, making the outline symmetric
    // about the line between columns cx - 1 and cx.
    plot(map, cx + c - 1, cy + s, value);
    plot(map, cx - c, cy + s, value);
    plot(map, cx + c - 1, cy - s, value);
    plot(map, cx - c, cy - s, value);
    a += step;
    b += step;
  }
}
