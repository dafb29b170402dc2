// Byte-map copies, ring copies, mask and rectangles: the 8-bit twins of the
// image blits. Each validates and clips once, then runs plain loops.

#include <cstdlib>

#include "imaging/bytemap.h"
#include "imaging/raster.h"
#include "imaging/clip.h"
#include "imaging/img.h"

namespace {

bool both_have_pixels(const BYTEMAP* src, const BYTEMAP* dst) {
  return raster_has_pixels(src) && raster_has_pixels(dst);
}

const uint8_t* row_at(const BYTEMAP* map, int32_t x, int32_t y) {
  return map->pixels + raster_index(map, x, y);
}

uint8_t* row_at(BYTEMAP* map, int32_t x, int32_t y) {
  return map->pixels + raster_index(map, x, y);
}

// Walks the two runs of a ring copy; `stride` is 1 for rows and the width
// for columns. `combine` is inlined, so the loops stay plain.
template <typename Combine>
void copy_ring(const uint8_t* src, size_t src_stride, uint8_t* dst,
               size_t dst_stride, const CLIP_RING& ring, Combine combine) {
  uint8_t* tail = dst + static_cast<size_t>(ring.start) * dst_stride;
  for (int32_t i = 0; i < ring.first; ++i) {
    combine(tail[i * dst_stride], src[i * src_stride]);
  }
  const uint8_t* rest = src + static_cast<size_t>(ring.first) * src_stride;
  for (int32_t i = 0; i < ring.second; ++i) {
    combine(dst[i * dst_stride], rest[i * src_stride]);
  }
}

template <typename Combine>
void wrap_row(const BYTEMAP* src, BYTEMAP* dst, int32_t src_row,
              int32_t dst_row, int32_t offset, Combine combine) {
  if (!both_have_pixels(src, dst) || src_row < 0 || src_row >= src->height ||
      dst_row < 0 || dst_row >= dst->height) {
    BYTEMAP_error();
    return;
  }
  if (dst->width == 0) {
    return;  // no column to wrap onto
  }
  copy_ring(row_at(src, 0, src_row), 1, row_at(dst, 0, dst_row), 1,
            clip_ring(offset, src->width, dst->width), combine);
}

void keyed(uint8_t& d, uint8_t s) { d = s != 0 ? s : d; }

// Walks a clipped rectangle row by row with one pointer per map; combine
// is inlined, so the inner loop stays a plain, vectorisable loop.
template <typename Combine>
void combine_rect(const BYTEMAP* src, BYTEMAP* dst, const CLIP_RECT& r,
                  Combine combine) {
  const size_t src_width = static_cast<size_t>(src->width);
  const size_t dst_width = static_cast<size_t>(dst->width);
  const uint8_t* s = row_at(src, r.sx, r.sy);
  uint8_t* d = row_at(dst, r.dx, r.dy);
  for (int32_t row = 0; row < r.h; ++row, s += src_width, d += dst_width) {
    for (int32_t c = 0; c < r.w; ++c) {
      combine(d[c], s[c]);
    }
  }
}

void draw_row(uint8_t* row, int32_t count, uint8_t value) {
  for (int32_t i = 0; i < count; ++i) {
    row[i] = value;
  }
}

void draw_column(BYTEMAP* map, int32_t x, int32_t y, int32_t count,
                 uint8_t value) {
  uint8_t* p = row_at(map, x, y);
  const size_t stride = static_cast<size_t>(map->width);
  for (int32_t i = 0; i < count; ++i) {
    p[i * stride] = value;
  }
}

bool rect_drawable(const BYTEMAP* map, int32_t x, int32_t y, int32_t w,
                   int32_t h) {
  return raster_has_pixels(map) &&
         clip_rect_inside(x, y, w, h, map->width, map->height);
}

}  // namespace

void BYTEMAP_blit(const BYTEMAP* src, BYTEMAP* dst, int32_t sx, int32_t sy,
                  int32_t dx, int32_t dy, int32_t w, int32_t h) {
  if (!both_have_pixels(src, dst)) {
    BYTEMAP_error();
    return;
  }
  CLIP_RECT r{sx, sy, dx, dy, w, h};
  if (!clip_blit(r, src->width, src->height, dst->width, dst->height)) {
    return;
  }
  combine_rect(src, dst, r, keyed);
}

void BYTEMAP_blit_stepped(const BYTEMAP* src, BYTEMAP* dst, int32_t sx,
                          int32_t sy, int32_t dx, int32_t dy, int32_t w,
                          int32_t h, int32_t step_x, int32_t step_y) {
  // A step below 1 would stack or reverse the copy; it is refused.
  if (!both_have_pixels(src, dst) || step_x < 1 || step_y < 1) {
    BYTEMAP_error();
    return;
  }
  CLIP_RECT r{sx, sy, dx, dy, w, h};
  if (!clip_blit_stepped(r, src->width, src->height, dst->width, dst->height,
                         step_x, step_y)) {
    return;
  }
  const size_t src_width = static_cast<size_t>(src->width);
  const size_t dst_row_step =
      static_cast<size_t>(dst->width) * static_cast<size_t>(step_y);
  const size_t column_step = static_cast<size_t>(step_x);
  const uint8_t* s = row_at(src, r.sx, r.sy);
  uint8_t* d = row_at(dst, r.dx, r.dy);
  for (int32_t row = 0; row < r.h; ++row, s += src_width, d += dst_row_step) {
    for (int32_t c = 0; c < r.w; ++c) {
      keyed(d[c * column_step], s[c]);
    }
  }
}

void BYTEMAP_blend(const BYTEMAP* src, BYTEMAP* dst, int32_t x, int32_t y) {
  if (!both_have_pixels(src, dst)) {
    BYTEMAP_error();
    return;
  }
  CLIP_RECT r{};
  if (!clip_overlay(r, src->width, src->height, x, y, dst->width,
                    dst->height)) {
    return;
  }
  // Each byte becomes floor(d / 2) + floor(s / 2) where the source shows.
  combine_rect(src, dst, r, [](uint8_t& d, uint8_t s) {
    d = s != 0 ? static_cast<uint8_t>((d >> 1) + (s >> 1)) : d;
  });
}

void BYTEMAP_wrap_row(const BYTEMAP* src, BYTEMAP* dst, int32_t src_row,
                      int32_t dst_row, int32_t offset) {
  wrap_row(src, dst, src_row, dst_row, offset, keyed);
}

void BYTEMAP_wrap_row_or(const BYTEMAP* src, BYTEMAP* dst, int32_t src_row,
                         int32_t dst_row, int32_t offset) {
  wrap_row(src, dst, src_row, dst_row, offset,
           [](uint8_t& d, uint8_t s) { d = static_cast<uint8_t>(d | s); });
}

void BYTEMAP_wrap_column(const BYTEMAP* src, BYTEMAP* dst, int32_t src_column,
                         int32_t dst_column, int32_t offset) {
  if (!both_have_pixels(src, dst) || src_column < 0 ||
      src_column >= src->width || dst_column < 0 ||
      dst_column >= dst->width) {
    BYTEMAP_error();
    return;
  }
  if (dst->height == 0) {
    return;  // no row to wrap onto
  }
  copy_ring(row_at(src, src_column, 0), static_cast<size_t>(src->width),
            row_at(dst, dst_column, 0), static_cast<size_t>(dst->width),
            clip_ring(offset, src->height, dst->height), keyed);
}

void BYTEMAP_mask(const BYTEMAP* mask, BYTEMAP* dst) {
  // The maps are combined index by index, so the destination must hold at
  // least as many bytes as the mask.
  if (!both_have_pixels(mask, dst) ||
      raster_pixel_count(dst) < raster_pixel_count(mask)) {
    BYTEMAP_error();
    return;
  }
  const size_t count = raster_pixel_count(mask);
  const uint8_t* m = mask->pixels;
  uint8_t* d = dst->pixels;
  for (size_t i = 0; i < count; ++i) {
    d[i] = static_cast<uint8_t>(d[i] & m[i]);
  }
}

void BYTEMAP_fill_rect(BYTEMAP* map, int32_t x, int32_t y, int32_t w,
                       int32_t h, uint8_t value) {
  if (!rect_drawable(map, x, y, w, h)) {
    BYTEMAP_error();
    return;
  }
  for (int32_t row = 0; row < h; ++row) {
    draw_row(row_at(map, x, y + row), w, value);
  }
}

void BYTEMAP_draw_rect(BYTEMAP* map, int32_t x, int32_t y, int32_t w,
                       int32_t h, uint8_t value) {
  if (!rect_drawable(map, x, y, w, h)) {
    BYTEMAP_error();
    return;
  }
  draw_row(row_at(map, x, y), w, value);
  draw_row(row_at(map, x, y + h - 1), w, value);
  draw_column(map, x, y, h, value);
  draw_column(map, x + w - 1, y, h, value);
}

// The point list does not depend on the pixel type; the image module's
// walk is the one walk.
int32_t* BYTEMAP_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  int32_t* points = IMG_line_points(x0, y0, x1, y1);
  if (points == nullptr) {
    BYTEMAP_error();
  }
  return points;
}
