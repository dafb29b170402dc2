// The byte map's frame-loop copies, written once for both twins in
// raster_blit.h.

#include "imaging/bytemap.h"
#include "imaging/raster_blit.h"

void BYTEMAP_blit(const BYTEMAP* src, BYTEMAP* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                  int32_t w, int32_t h) {
  raster_blit(src, dst, sx, sy, dx, dy, w, h);
}

void BYTEMAP_blit_stepped(const BYTEMAP* src, BYTEMAP* dst, int32_t sx, int32_t sy, int32_t dx,
                          int32_t dy, int32_t w, int32_t h, int32_t step_x, int32_t step_y) {
  raster_blit_stepped(src, dst, sx, sy, dx, dy, w, h, step_x, step_y);
}

void BYTEMAP_wrap_row(const BYTEMAP* src, BYTEMAP* dst, int32_t src_row, int32_t dst_row,
                      int32_t offset) {
  raster_wrap_row_keyed(src, dst, src_row, dst_row, offset);
}

void BYTEMAP_wrap_row_or(const BYTEMAP* src, BYTEMAP* dst, int32_t src_row, int32_t dst_row,
                         int32_t offset) {
  raster_wrap_row_or(src, dst, src_row, dst_row, offset);
}

void BYTEMAP_wrap_column(const BYTEMAP* src, BYTEMAP* dst, int32_t src_column, int32_t dst_column,
                         int32_t offset) {
  raster_wrap_column(src, dst, src_column, dst_column, offset);
}
