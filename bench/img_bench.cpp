// The image paths each frame runs, on screen-sized images, and the start-up
// scaling of the font bitmap to twice its size.

#include <cstdint>

#include "bench/yardstick.h"
#include "imaging/img.h"

namespace {

constexpr int32_t side = 256;
constexpr size_t screen_bytes = size_t{side} * side * sizeof(uint32_t);

struct Images {
  IMG* src = IMG_create();
  IMG* dst = IMG_create();
  Images(int32_t src_w, int32_t src_h, int32_t dst_w, int32_t dst_h) {
    IMG_resize(src, src_w, src_h);
    IMG_resize(dst, dst_w, dst_h);
    // A picture with transparent holes: about one pixel in three is the key.
    for (int32_t i = 0; i < src_w * src_h; ++i)
      src->pixels[i] = (i * 2654435761u) % 3 == 0 ? 0u : 0x00FFFFFFu & (i * 40503u);
  }
  // Text-like content instead: white strokes a few pixels thick on a
  // transparent background, about a third of the pixels drawn.
  void letter_strokes() {
    for (int32_t y = 0; y < src->height; ++y)
      for (int32_t x = 0; x < src->width; ++x) {
        const bool stroke = (x / 3) % 2 == 0 && (y / 4) % 3 != 0 && (x / 24) % 4 != 3;
        src->pixels[y * src->width + x] = stroke ? 0xFFFFFFu : 0u;
      }
  }
  ~Images() {
    IMG_destroy(&src);
    IMG_destroy(&dst);
  }
  Images(const Images&) = delete;
  Images& operator=(const Images&) = delete;
};

void BM_img_clear(benchmark::State& state) {
  Images images(side, side, side, side);
  measure_against_memcpy(state, screen_bytes, [&] { IMG_clear(images.dst); });
}

void BM_img_blit_keyed_full_screen(benchmark::State& state) {
  Images images(side, side, side, side);
  measure_against_memcpy(state, screen_bytes,
                         [&] { IMG_blit(images.src, images.dst, 0, 0, 0, 0, side, side); });
}

void BM_img_copy_row_256(benchmark::State& state) {
  Images images(side, side, side, side);
  int32_t shift = 0;
  measure_against_memcpy(state, screen_bytes, [&] {
    for (int32_t row = 0; row < side; ++row)
      IMG_copy_row(images.src, images.dst, (row + shift) & (side - 1), row);
    ++shift;
  });
}

// Each column lands at its own row, wrapping past the bottom edge.
void wrap_all_columns(Images& images, int32_t phase) {
  for (int32_t column = 0; column < side; ++column)
    IMG_wrap_column(images.src, images.dst, column, column, 64 + ((column * 3 + phase) & 127));
}

// The show's wave: a strip of text 32 rows high bent across the screen.
void BM_img_wrap_column_256_strip(benchmark::State& state) {
  Images images(side, 32, side, side);
  images.letter_strokes();
  int32_t phase = 0;
  measure_against_memcpy(state, size_t{side} * 32 * sizeof(uint32_t),
                         [&] { wrap_all_columns(images, phase++); });
}

// Whole screen-high columns: every row of the destination is written.
void BM_img_wrap_column_256_full(benchmark::State& state) {
  Images images(side, side, side, side);
  int32_t phase = 0;
  measure_against_memcpy(state, screen_bytes, [&] { wrap_all_columns(images, phase++); });
}

void BM_img_scale_128x144_to_256x288(benchmark::State& state) {
  Images images(128, 144, 256, 288);
  measure_against_memcpy(state, size_t{256} * 288 * sizeof(uint32_t),
                         [&] { IMG_scale(images.src, images.dst); });
}

}  // namespace

BENCHMARK(BM_img_clear)->UseManualTime();
BENCHMARK(BM_img_blit_keyed_full_screen)->UseManualTime();
BENCHMARK(BM_img_copy_row_256)->UseManualTime();
BENCHMARK(BM_img_wrap_column_256_strip)->UseManualTime();
BENCHMARK(BM_img_wrap_column_256_full)->UseManualTime();
BENCHMARK(BM_img_scale_128x144_to_256x288)->UseManualTime();
