// The byte map's resampling and rotation, written once for both twins in
// raster_scale.h.

#include "imaging/bytemap.h"
#include "imaging/raster_scale.h"

int32_t* BYTEMAP_scale_runs(int32_t a, int32_t b) { return raster_scale_runs<BYTEMAP>(a, b); }
void BYTEMAP_scale(const BYTEMAP* src, BYTEMAP* dst) { raster_scale(src, dst); }
BYTEMAP* BYTEMAP_rotate(const BYTEMAP* src, int32_t angle) { return raster_rotate(src, angle); }
