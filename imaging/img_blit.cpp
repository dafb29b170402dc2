// The copies the frame loops run: keyed rectangle copies, ring copies of one
// row or column, and the whole-row copy. Each validates and clips once, then
// runs a plain loop over what is left.

#include <cstring>

#include "imaging/img.h"
#include "imaging/raster.h"

namespace {

// The keyed pixel: the source p unless it is 0, then the destination d. Written
// with masks rather than a branch, so pictures with scattered transparent
// pixels cost no mispredicted jumps and contiguous runs become vector compares.
inline uint32_t keyed(uint32_t p, uint32_t d) {
  const uint32_t keep = 0u - static_cast<uint32_t>(p == 0);
  return p | (d & keep);
}

void or_run(const uint32_t* src, uint32_t* dst, int32_t n) {
  for (int32_t i = 0; i < n; ++i) dst[i] |= src[i];
}

// When source and destination overlap, the run-time alias check of the
// vectorised loop keeps the forward order.
void keyed_run(const uint32_t* src, uint32_t* dst, int32_t n) {
  for (int32_t i = 0; i < n; ++i) dst[i] = keyed(src[i], dst[i]);
}

// A column touches a new cache line at every pixel, so here a transparent
// pixel is skipped with a branch: it saves reading and dirtying that line, and
// on text over a transparent strip (the wave's use) the branch predicts well.
void keyed_column(const uint32_t* src, size_t src_stride, uint32_t* dst, size_t dst_stride,
                  int32_t n) {
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    const uint32_t p = src[i * src_stride];
    if (p != 0) dst[i * dst_stride] = p;
  }
}

void keyed_spread(const uint32_t* src, uint32_t* dst, int32_t step, int32_t n) {
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    uint32_t& d = dst[i * static_cast<size_t>(step)];
    d = keyed(src[i], d);
  }
}

bool rows_valid(const IMG* src, const IMG* dst, int32_t src_row, int32_t dst_row) {
  return raster_has_pixels(src) && raster_has_pixels(dst) && src_row >= 0 && src_row < src->height &&
         dst_row >= 0 && dst_row < dst->height;
}

using RowCopy = void (*)(const uint32_t*, uint32_t*, int32_t);

// One source row laid into one destination row as a ring starting at the offset.
void wrap_row_with(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row, int32_t offset,
                   RowCopy copy) {
  if (!rows_valid(src, dst, src_row, dst_row)) {
    IMG_error();
    return;
  }
  if (dst->width == 0) return;  // no column to wrap onto
  const CLIP_RING ring = clip_ring(offset, src->width, dst->width);
  const uint32_t* s = raster_row(src, src_row);
  uint32_t* d = raster_row(dst, dst_row);
  copy(s, d + ring.start, ring.first);
  copy(s + ring.first, d, ring.second);
}

}  // namespace

void IMG_blit(const IMG* src, IMG* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
              int32_t w, int32_t h) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst)) {
    IMG_error();
    return;
  }
  CLIP_RECT r{sx, sy, dx, dy, w, h};
  if (!clip_blit(r, src->width, src->height, dst->width, dst->height)) return;
  for (int32_t row = 0; row < r.h; ++row)
    keyed_run(src->pixels + raster_index(src, r.sx, r.sy + row),
              dst->pixels + raster_index(dst, r.dx, r.dy + row), r.w);
}

void IMG_blit_stepped(const IMG* src, IMG* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                      int32_t w, int32_t h, int32_t step_x, int32_t step_y) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) || step_x < 1 || step_y < 1) {
    IMG_error();
    return;
  }
  CLIP_RECT r{sx, sy, dx, dy, w, h};
  if (!clip_blit_stepped(r, src->width, src->height, dst->width, dst->height, step_x, step_y))
    return;
  for (int32_t row = 0; row < r.h; ++row)
    keyed_spread(src->pixels + raster_index(src, r.sx, r.sy + row),
                 dst->pixels + raster_index(dst, r.dx, r.dy + row * step_y), step_x, r.w);
}

void IMG_wrap_row(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row, int32_t offset) {
  wrap_row_with(src, dst, src_row, dst_row, offset, keyed_run);
}

void IMG_wrap_row_or(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row,
                     int32_t offset) {
  wrap_row_with(src, dst, src_row, dst_row, offset, or_run);
}

void IMG_wrap_column(const IMG* src, IMG* dst, int32_t src_column, int32_t dst_column,
                     int32_t offset) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) || src_column < 0 ||
      src_column >= src->width || dst_column < 0 || dst_column >= dst->width) {
    IMG_error();
    return;
  }
  if (dst->height == 0) return;  // no row to wrap onto
  const CLIP_RING ring = clip_ring(offset, src->height, dst->height);
  const size_t sw = static_cast<size_t>(src->width), dw = static_cast<size_t>(dst->width);
  const uint32_t* s = src->pixels + src_column;
  uint32_t* d = dst->pixels + dst_column;
  keyed_column(s, sw, d + ring.start * dw, dw, ring.first);
  if (ring.second > 0) keyed_column(s + ring.first * sw, sw, d, dw, ring.second);
}

void IMG_copy_row(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row) {
  if (!rows_valid(src, dst, src_row, dst_row)) {
    IMG_error();
    return;
  }
  const size_t n = static_cast<size_t>(src->width < dst->width ? src->width : dst->width);
  std::memmove(raster_row(dst, dst_row), raster_row(src, src_row), n * sizeof(uint32_t));
}
