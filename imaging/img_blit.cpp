// The image's frame-loop copies, written once for both twins in
// raster_blit.h, and the whole-row copy only the image has.

#include <cstring>

#include "imaging/img.h"
#include "imaging/raster_blit.h"

void IMG_blit(const IMG* src, IMG* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
              int32_t h) {
  raster_blit(src, dst, sx, sy, dx, dy, w, h);
}

void IMG_blit_stepped(const IMG* src, IMG* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                      int32_t w, int32_t h, int32_t step_x, int32_t step_y) {
  raster_blit_stepped(src, dst, sx, sy, dx, dy, w, h, step_x, step_y);
}

void IMG_wrap_row(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row, int32_t offset) {
  raster_wrap_row_keyed(src, dst, src_row, dst_row, offset);
}

void IMG_wrap_row_or(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row, int32_t offset) {
  raster_wrap_row_or(src, dst, src_row, dst_row, offset);
}

void IMG_wrap_column(const IMG* src, IMG* dst, int32_t src_column, int32_t dst_column,
                     int32_t offset) {
  raster_wrap_column(src, dst, src_column, dst_column, offset);
}

void IMG_copy_row(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row) {
  if (!raster_rows_valid(src, dst, src_row, dst_row)) {
    IMG_error();
    return;
  }
  const size_t n = static_cast<size_t>(src->width < dst->width ? src->width : dst->width);
  std::memmove(raster_row(dst, dst_row), raster_row(src, src_row), n * sizeof(uint32_t));
}
