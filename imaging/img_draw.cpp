// The image's drawing that is not a frame-loop copy, written once for both
// twins in raster_draw.h.

#include "imaging/img.h"
#include "imaging/raster_draw.h"

void IMG_blend(const IMG* src, IMG* dst, int32_t x, int32_t y) { raster_blend(src, dst, x, y); }
void IMG_mask(const IMG* mask, IMG* dst) { raster_mask(mask, dst); }

void IMG_fill_rect(IMG* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  raster_fill_rect(image, x, y, w, h, colour);
}

void IMG_draw_rect(IMG* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  raster_draw_rect(image, x, y, w, h, colour);
}

int32_t* IMG_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return raster_line_points<IMG>(x0, y0, x1, y1);
}
