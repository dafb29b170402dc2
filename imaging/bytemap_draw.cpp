// The byte map's drawing that is not a frame-loop copy, written once for both
// twins in raster_draw.h.

#include "imaging/bytemap.h"
#include "imaging/raster_draw.h"

void BYTEMAP_blend(const BYTEMAP* src, BYTEMAP* dst, int32_t x, int32_t y) {
  raster_blend(src, dst, x, y);
}

void BYTEMAP_mask(const BYTEMAP* mask, BYTEMAP* dst) { raster_mask(mask, dst); }

void BYTEMAP_fill_rect(BYTEMAP* map, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value) {
  raster_fill_rect(map, x, y, w, h, value);
}

void BYTEMAP_draw_rect(BYTEMAP* map, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value) {
  raster_draw_rect(map, x, y, w, h, value);
}

int32_t* BYTEMAP_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return raster_line_points<BYTEMAP>(x0, y0, x1, y1);
}
