#pragma once

// Drawing that is not a frame-loop copy, written once for the image and the
// byte map: the blend, the mask, rectangles and the points of a line. Not
// part of the interface.

#include <cstdlib>

#include "imaging/raster.h"

// Lays the whole source with its corner at (x, y): where the source shows
// (not 0), each channel becomes half the destination's plus half the source's.
template <class Record>
void raster_blend(const Record* src, Record* dst, int32_t x, int32_t y) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst)) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  CLIP_RECT r{};
  if (!clip_overlay(r, src->width, src->height, x, y, dst->width, dst->height)) return;
  using Pixel = RASTER_PIXEL<Record>;
  constexpr Pixel halves = RASTER_TRAITS<Record>::halves;
  for (int32_t row = 0; row < r.h; ++row) {
    const Pixel* s = src->pixels + raster_index(src, r.sx, r.sy + row);
    Pixel* d = dst->pixels + raster_index(dst, r.dx, r.dy + row);
    for (int32_t c = 0; c < r.w; ++c) {
      const Pixel p = s[c];
      if (p != 0) d[c] = static_cast<Pixel>(((d[c] >> 1) & halves) + ((p >> 1) & halves));
    }
  }
}

template <class Record>
void raster_mask(const Record* mask, Record* dst) {
  // Combined index by index, so a smaller destination would be overrun.
  if (!raster_has_pixels(mask) || !raster_has_pixels(dst) ||
      raster_pixel_count(dst) < raster_pixel_count(mask)) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  const size_t count = raster_pixel_count(mask);
  for (size_t i = 0; i < count; ++i)
    dst->pixels[i] = static_cast<RASTER_PIXEL<Record>>(dst->pixels[i] & mask->pixels[i]);
}

namespace raster_detail {

// Rectangles drawn without clipping must lie wholly inside the raster; one
// that does not is reported.
template <class Record>
bool rect_drawable(const Record* raster, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (raster_has_pixels(raster) && clip_rect_inside(x, y, w, h, raster->width, raster->height))
    return true;
  RASTER_TRAITS<Record>::error();
  return false;
}

template <class Record>
void fill_span(Record* raster, int32_t x, int32_t y, int32_t w, RASTER_PIXEL<Record> value) {
  auto* d = raster->pixels + raster_index(raster, x, y);
  for (int32_t c = 0; c < w; ++c) d[c] = value;
}

}  // namespace raster_detail

template <class Record>
void raster_fill_rect(Record* raster, int32_t x, int32_t y, int32_t w, int32_t h,
                      RASTER_PIXEL<Record> value) {
  if (!raster_detail::rect_drawable(raster, x, y, w, h)) return;
  for (int32_t row = y; row < y + h; ++row) raster_detail::fill_span(raster, x, row, w, value);
}

template <class Record>
void raster_draw_rect(Record* raster, int32_t x, int32_t y, int32_t w, int32_t h,
                      RASTER_PIXEL<Record> value) {
  if (!raster_detail::rect_drawable(raster, x, y, w, h)) return;
  raster_detail::fill_span(raster, x, y, w, value);
  raster_detail::fill_span(raster, x, y + h - 1, w, value);
  for (int32_t row = y; row < y + h; ++row) {
    raster->pixels[raster_index(raster, x, row)] = value;
    raster->pixels[raster_index(raster, x + w - 1, row)] = value;
  }
}

// Heap array (std::free): count 2n + 2, then the n + 1 points (x, y) of the
// line from (x0, y0) to (x1, y1). Null, reported, when the allocation fails
// or the count would not fit 32 bits. The points do not depend on the pixel
// type; only the error hook does.
template <class Record>
int32_t* raster_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  const int64_t ax = std::llabs(int64_t{x1} - x0), ay = std::llabs(int64_t{y1} - y0);
  const int64_t n = ax > ay ? ax : ay;
  // The leading count (2n + 2) must itself be a 32-bit value.
  const int64_t values = 2 * n + 3;
  int32_t* points =
      values <= INT32_MAX
          ? static_cast<int32_t*>(std::calloc(static_cast<size_t>(values), sizeof(int32_t)))
          : nullptr;
  if (points == nullptr) {
    RASTER_TRAITS<Record>::error();
    return nullptr;
  }
  points[0] = static_cast<int32_t>(values - 1);
  const int32_t step_x = x1 < x0 ? -1 : 1, step_y = y1 < y0 ? -1 : 1;
  const bool y_drives = ax <= ay;
  const int64_t other_distance = y_drives ? ax : ay;
  int32_t x = x0, y = y0;
  int64_t error = n / 2;
  for (int64_t i = 0; i <= n; ++i) {
    points[1 + 2 * i] = x;
    points[2 + 2 * i] = y;
    if (i == n) break;  // the last point is stored; moving past it could overflow
    int32_t& driving = y_drives ? y : x;
    int32_t& other = y_drives ? x : y;
    driving += y_drives ? step_y : step_x;
    error -= other_distance;
    // A line along one axis never leaves it, even when n / 2 starts at 0.
    if (error <= 0 && other_distance > 0) {
      error += n;
      other += y_drives ? step_x : step_y;
    }
  }
  return points;
}
