// The byte-map paths two scenes run every frame on a screen-sized map:
// shifting every index and rendering through the palette.

#include <cstdint>

#include "bench/yardstick.h"
#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "imaging/palette.h"

namespace {

constexpr int32_t map_side = 256;
constexpr size_t map_bytes = size_t{map_side} * map_side;

struct Canvas {
  BYTEMAP* map = BYTEMAP_create();
  IMG* screen = IMG_create();
  SAMPLE* palette = PALETTE_create();
  Canvas() {
    BYTEMAP_resize(map, map_side, map_side);
    IMG_resize(screen, map_side, map_side);
    // Rings of indices, as the scenes draw, and a colour ramp.
    for (int32_t i = 0; i < map_side * map_side; ++i)
      map->pixels[i] = static_cast<uint8_t>((i * 2654435761u) >> 24);
    for (int32_t i = 0; i < 256; ++i) palette->values[i] = i * 0x010101;
  }
  ~Canvas() {
    BYTEMAP_destroy(&map);
    IMG_destroy(&screen);
    PALETTE_destroy(&palette);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
};

void BM_bytemap_add(benchmark::State& state) {
  Canvas canvas;
  measure_against_memcpy(state, map_bytes, [&] { BYTEMAP_add(canvas.map, 1); });
}

void BM_bytemap_render(benchmark::State& state) {
  Canvas canvas;
  measure_against_memcpy(state, map_bytes * sizeof(uint32_t),
                         [&] { BYTEMAP_render(canvas.map, canvas.screen, canvas.palette); });
}

}  // namespace

BENCHMARK(BM_bytemap_add)->UseManualTime();
BENCHMARK(BM_bytemap_render)->UseManualTime();
