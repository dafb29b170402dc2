#pragma once

// The copies the frame loops run, written once for the image and the byte
// map: keyed rectangle copies, spaced-out copies and ring copies of one row
// or column. Each validates and clips once, then runs a plain loop over what
// is left. A source pixel of exactly 0 is transparent to the keyed copies.
// Not part of the interface.

#include "imaging/raster.h"

namespace raster_detail {

// The keyed pixel: the source p unless it is 0, then the destination d. Written
// with masks rather than a branch, so pictures with scattered transparent
// pixels cost no mispredicted jumps and contiguous runs become vector compares.
template <class Pixel>
inline Pixel keyed(Pixel p, Pixel d) {
  const Pixel keep = static_cast<Pixel>(Pixel{0} - static_cast<Pixel>(p == 0));
  return static_cast<Pixel>(p | (d & keep));
}

// When source and destination overlap, the run-time alias check of the
// vectorised loop keeps the forward order.
template <class Pixel>
void keyed_run(const Pixel* src, Pixel* dst, int32_t n) {
  for (int32_t i = 0; i < n; ++i) dst[i] = keyed(src[i], dst[i]);
}

template <class Pixel>
void or_run(const Pixel* src, Pixel* dst, int32_t n) {
  for (int32_t i = 0; i < n; ++i) dst[i] = static_cast<Pixel>(dst[i] | src[i]);
}

// A column touches a new cache line at every pixel, so here a transparent
// pixel is skipped with a branch: it saves reading and dirtying that line, and
// on text over a transparent strip (the wave's use) the branch predicts well.
template <class Pixel>
void keyed_column(const Pixel* src, size_t src_stride, Pixel* dst, size_t dst_stride, int32_t n) {
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    const Pixel p = src[i * src_stride];
    if (p != 0) dst[i * dst_stride] = p;
  }
}

template <class Pixel>
void keyed_spread(const Pixel* src, Pixel* dst, int32_t step, int32_t n) {
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    Pixel& d = dst[i * static_cast<size_t>(step)];
    d = keyed(src[i], d);
  }
}

}  // namespace raster_detail

// Both rasters have pixels and both rows lie inside them.
template <class Record>
bool raster_rows_valid(const Record* src, const Record* dst, int32_t src_row, int32_t dst_row) {
  return raster_has_pixels(src) && raster_has_pixels(dst) && src_row >= 0 &&
         src_row < src->height && dst_row >= 0 && dst_row < dst->height;
}

template <class Record>
void raster_blit(const Record* src, Record* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                 int32_t w, int32_t h) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst)) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  CLIP_RECT r{sx, sy, dx, dy, w, h};
  if (!clip_blit(r, src->width, src->height, dst->width, dst->height)) return;
  for (int32_t row = 0; row < r.h; ++row)
    raster_detail::keyed_run(src->pixels + raster_index(src, r.sx, r.sy + row),
                             dst->pixels + raster_index(dst, r.dx, r.dy + row), r.w);
}

// A step below 1 would stack or reverse the copy; it is refused.
template <class Record>
void raster_blit_stepped(const Record* src, Record* dst, int32_t sx, int32_t sy, int32_t dx,
                         int32_t dy, int32_t w, int32_t h, int32_t step_x, int32_t step_y) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) || step_x < 1 || step_y < 1) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  CLIP_RECT r{sx, sy, dx, dy, w, h};
  if (!clip_blit_stepped(r, src->width, src->height, dst->width, dst->height, step_x, step_y))
    return;
  for (int32_t row = 0; row < r.h; ++row)
    raster_detail::keyed_spread(src->pixels + raster_index(src, r.sx, r.sy + row),
                                dst->pixels + raster_index(dst, r.dx, r.dy + row * step_y), step_x,
                                r.w);
}

// One source row laid into one destination row as a ring starting at the
// offset; `run` combines each of the ring's two runs.
template <class Record, class Run>
void raster_wrap_row(const Record* src, Record* dst, int32_t src_row, int32_t dst_row,
                     int32_t offset, Run run) {
  if (!raster_rows_valid(src, dst, src_row, dst_row)) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  if (dst->width == 0) return;  // no column to wrap onto
  const CLIP_RING ring = clip_ring(offset, src->width, dst->width);
  const auto* s = raster_row(src, src_row);
  auto* d = raster_row(dst, dst_row);
  run(s, d + ring.start, ring.first);
  run(s + ring.first, d, ring.second);
}

template <class Record>
void raster_wrap_row_keyed(const Record* src, Record* dst, int32_t src_row, int32_t dst_row,
                           int32_t offset) {
  raster_wrap_row(src, dst, src_row, dst_row, offset,
                  raster_detail::keyed_run<RASTER_PIXEL<Record>>);
}

template <class Record>
void raster_wrap_row_or(const Record* src, Record* dst, int32_t src_row, int32_t dst_row,
                        int32_t offset) {
  raster_wrap_row(src, dst, src_row, dst_row, offset, raster_detail::or_run<RASTER_PIXEL<Record>>);
}

template <class Record>
void raster_wrap_column(const Record* src, Record* dst, int32_t src_column, int32_t dst_column,
                        int32_t offset) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) || src_column < 0 ||
      src_column >= src->width || dst_column < 0 || dst_column >= dst->width) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  if (dst->height == 0) return;  // no row to wrap onto
  const CLIP_RING ring = clip_ring(offset, src->height, dst->height);
  const size_t sw = static_cast<size_t>(src->width), dw = static_cast<size_t>(dst->width);
  const auto* s = src->pixels + src_column;
  auto* d = dst->pixels + dst_column;
  raster_detail::keyed_column(s, sw, d + static_cast<size_t>(ring.start) * dw, dw, ring.first);
  if (ring.second > 0)
    raster_detail::keyed_column(s + static_cast<size_t>(ring.first) * sw, sw, d, dw, ring.second);
}
