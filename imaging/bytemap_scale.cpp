// Byte-map resampling and rotation. The geometry is the image module's
// (shared in clip.h), so both give the same sizes and sample positions.

#include <cstdlib>

#include "imaging/bytemap.h"
#include "imaging/raster.h"
#include "imaging/resample.h"
#include "imaging/clip.h"
#include "imaging/img.h"

// The run table does not depend on the pixel type: it is the image's.
int32_t* BYTEMAP_scale_runs(int32_t a, int32_t b) {
  int32_t* runs = IMG_scale_runs(a, b);
  if (runs == nullptr) {
    BYTEMAP_error();
  }
  return runs;
}

void BYTEMAP_scale(const BYTEMAP* src, BYTEMAP* dst) {
  if (src == nullptr || dst == nullptr || dst->width < 0 || dst->height < 0) {
    BYTEMAP_error();
    return;
  }
  if (raster_has_pixels(dst) && (dst->width == 0 || dst->height == 0)) {
    return;  // nothing to fill
  }
  // An empty or bufferless source has nothing to sample from.
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) ||
      src->width <= 0 || src->height <= 0) {
    BYTEMAP_error();
    return;
  }
  int32_t* maps =
      resample_maps(src->width, src->height, dst->width, dst->height);
  if (maps == nullptr) {
    BYTEMAP_error();
    return;
  }
  resample_gather(src->pixels, src->width, dst->pixels, dst->width, dst->height,
              maps, maps + dst->width);
  std::free(maps);
}

BYTEMAP* BYTEMAP_rotate(const BYTEMAP* src, int32_t angle) {
  if (!raster_has_pixels(src)) {
    BYTEMAP_error();
    return nullptr;
  }
  const int32_t width = resample_turned_side(src->width);
  const int32_t height = resample_turned_side(src->height);
  BYTEMAP* out = BYTEMAP_create();
  if (out == nullptr) {
    return nullptr;
  }
  BYTEMAP_resize(out, width, height);
  if (out->pixels == nullptr || out->width != width ||
      out->height != height) {
    BYTEMAP_destroy(&out);  // refused or failed resize: no partial result
    return nullptr;
  }
  resample_turn(src->pixels, src->width, src->height, out->pixels, width, height,
            angle);
  return out;
}
