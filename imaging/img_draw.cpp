// Drawing that is not a frame-loop copy: the blend, the mask, rectangles and
// the points of a line.

#include <cstdlib>

#include "imaging/img.h"
#include "imaging/raster.h"

void IMG_blend(const IMG* src, IMG* dst, int32_t x, int32_t y) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst)) {
    IMG_error();
    return;
  }
  CLIP_RECT r{};
  if (!clip_overlay(r, src->width, src->height, x, y, dst->width, dst->height)) return;
  for (int32_t row = 0; row < r.h; ++row) {
    const uint32_t* s = src->pixels + raster_index(src, r.sx, r.sy + row);
    uint32_t* d = dst->pixels + raster_index(dst, r.dx, r.dy + row);
    for (int32_t c = 0; c < r.w; ++c) {
      const uint32_t p = s[c];
      // Halving each channel before adding cannot carry into the next one.
      if (p != 0) d[c] = ((d[c] >> 1) & 0x7F7F7Fu) + ((p >> 1) & 0x7F7F7Fu);
    }
  }
}

void IMG_mask(const IMG* mask, IMG* dst) {
  // Combined index by index, so a smaller destination would be overrun.
  if (!raster_has_pixels(mask) || !raster_has_pixels(dst) ||
      raster_pixel_count(dst) < raster_pixel_count(mask)) {
    IMG_error();
    return;
  }
  const size_t count = raster_pixel_count(mask);
  for (size_t i = 0; i < count; ++i) dst->pixels[i] &= mask->pixels[i];
}

namespace {

bool rect_valid(const IMG* image, int32_t x, int32_t y, int32_t w, int32_t h) {
  return raster_has_pixels(image) && clip_rect_inside(x, y, w, h, image->width, image->height);
}

void fill_span(IMG* image, int32_t x, int32_t y, int32_t w, uint32_t colour) {
  uint32_t* d = image->pixels + raster_index(image, x, y);
  for (int32_t c = 0; c < w; ++c) d[c] = colour;
}

}  // namespace

void IMG_fill_rect(IMG* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  if (!rect_valid(image, x, y, w, h)) {
    IMG_error();
    return;
  }
  for (int32_t row = y; row < y + h; ++row) fill_span(image, x, row, w, colour);
}

void IMG_draw_rect(IMG* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  if (!rect_valid(image, x, y, w, h)) {
    IMG_error();
    return;
  }
  fill_span(image, x, y, w, colour);
  fill_span(image, x, y + h - 1, w, colour);
  for (int32_t row = y; row < y + h; ++row) {
    image->pixels[raster_index(image, x, row)] = colour;
    image->pixels[raster_index(image, x + w - 1, row)] = colour;
  }
}

int32_t* IMG_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  const int64_t ax = std::llabs(int64_t{x1} - x0), ay = std::llabs(int64_t{y1} - y0);
  const int64_t n = ax > ay ? ax : ay;
  // The leading count (2n + 2) must itself be a 32-bit value.
  const int64_t values = 2 * n + 3;
  int32_t* points = values <= INT32_MAX
                        ? static_cast<int32_t*>(std::calloc(static_cast<size_t>(values),
                                                            sizeof(int32_t)))
                        : nullptr;
  if (points == nullptr) {
    IMG_error();
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
