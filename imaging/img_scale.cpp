// The image's resampling and rotation, written once for both twins in
// raster_scale.h.

#include "imaging/img.h"
#include "imaging/raster_scale.h"

int32_t* IMG_scale_runs(int32_t a, int32_t b) { return raster_scale_runs<IMG>(a, b); }
void IMG_scale(const IMG* src, IMG* dst) { raster_scale(src, dst); }
IMG* IMG_rotate(const IMG* src, int32_t angle) { return raster_rotate(src, angle); }
