// Resampling by repeating and dropping whole pixels, and turning by an angle.

#include <cstdlib>

#include "imaging/img.h"
#include "imaging/raster.h"
#include "imaging/resample.h"

int32_t* IMG_scale_runs(int32_t a, int32_t b) {
  const RESAMPLE_RUNS sides = resample_runs_sides(a, b);
  int32_t* counts =
      resample_runs_fit(sides)
          ? static_cast<int32_t*>(std::calloc(static_cast<size_t>(sides.small) + 1, sizeof(int32_t)))
          : nullptr;
  if (counts == nullptr) {
    IMG_error();
    return nullptr;
  }
  resample_fill_runs(counts, sides);
  return counts;
}

void IMG_scale(const IMG* src, IMG* dst) {
  if (src == nullptr || dst == nullptr || dst->width < 0 || dst->height < 0) {
    IMG_error();
    return;
  }
  if (raster_has_pixels(dst) && (dst->width == 0 || dst->height == 0)) return;  // nothing to fill
  // An empty or bufferless source has nothing to sample from.
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) || src->width <= 0 || src->height <= 0) {
    IMG_error();
    return;
  }
  int32_t* maps = resample_maps(src->width, src->height, dst->width, dst->height);
  if (maps == nullptr) {
    IMG_error();
    return;
  }
  resample_gather(src->pixels, src->width, dst->pixels, dst->width, dst->height, maps,
              maps + dst->width);
  std::free(maps);
}

IMG* IMG_rotate(const IMG* src, int32_t angle) {
  if (!raster_has_pixels(src)) {
    IMG_error();
    return nullptr;
  }
  const int32_t width = resample_turned_side(src->width), height = resample_turned_side(src->height);
  IMG* out = IMG_create();
  if (out == nullptr) return nullptr;
  IMG_resize(out, width, height);
  if (out->pixels == nullptr || out->width != width || out->height != height) {
    IMG_destroy(&out);  // refused or failed resize: no partial result
    return nullptr;
  }
  resample_turn(src->pixels, src->width, src->height, out->pixels, width, height, angle);
  return out;
}
