#pragma once

// Resampling by repeating and dropping whole pixels, and turning by an angle,
// written once for the image and the byte map over the geometry of
// resample.h. Not part of the interface.

#include <cstdlib>

#include "imaging/raster.h"
#include "imaging/raster_life.h"
#include "imaging/resample.h"

// Heap array (std::free) of min(|a|, |b|) + 1 run lengths; null, reported,
// when memory runs out or a count would not fit 32 bits.
template <class Record>
int32_t* raster_scale_runs(int32_t a, int32_t b) {
  const RESAMPLE_RUNS sides = resample_runs_sides(a, b);
  int32_t* counts = resample_runs_fit(sides)
                        ? static_cast<int32_t*>(
                              std::calloc(static_cast<size_t>(sides.small) + 1, sizeof(int32_t)))
                        : nullptr;
  if (counts == nullptr) {
    RASTER_TRAITS<Record>::error();
    return nullptr;
  }
  resample_fill_runs(counts, sides);
  return counts;
}

// Fills the destination at its current size; an empty destination needs
// nothing, an empty or bufferless source is reported.
template <class Record>
void raster_scale(const Record* src, Record* dst) {
  if (src == nullptr || dst == nullptr || dst->width < 0 || dst->height < 0) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  if (raster_has_pixels(dst) && (dst->width == 0 || dst->height == 0)) return;  // nothing to fill
  // An empty or bufferless source has nothing to sample from.
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) || src->width <= 0 || src->height <= 0) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  int32_t* maps = resample_maps(src->width, src->height, dst->width, dst->height);
  if (maps == nullptr) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  resample_gather(src->pixels, src->width, dst->pixels, dst->width, dst->height, maps,
                  maps + dst->width);
  std::free(maps);
}

// A new raster holding the source turned by angle (1024 per turn), or null.
template <class Record>
Record* raster_rotate(const Record* src, int32_t angle) {
  if (!raster_has_pixels(src)) {
    RASTER_TRAITS<Record>::error();
    return nullptr;
  }
  const int32_t width = resample_turned_side(src->width);
  const int32_t height = resample_turned_side(src->height);
  Record* out = raster_create<Record>();
  if (out == nullptr) return nullptr;
  raster_resize(out, width, height);
  if (out->pixels == nullptr || out->width != width || out->height != height) {
    raster_destroy(&out);  // refused or failed resize: no partial result
    return nullptr;
  }
  resample_turn(src->pixels, src->width, src->height, out->pixels, width, height, angle);
  return out;
}
