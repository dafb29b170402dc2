#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "show/assets/sine_table.h"

// Clipping, size and resampling rules shared by the 32-bit image and its 8-bit
// twin. They work on sizes and coordinates (or on any pixel type), so both
// modules use them. Sums are taken in 64 bits: callers may pass any 32-bit
// coordinates and sizes, and a sum such as dx + w must not overflow before it
// is compared.

// Largest pixel count a resize accepts (16384 x 16384); keeps every byte count
// of a buffer, and every index into it, far inside 32 and 64-bit ranges.
constexpr int64_t clip_max_pixels = int64_t{16384} * 16384;

// A width and height a buffer may be made for: not negative, not too many pixels.
inline bool clip_size_acceptable(int32_t width, int32_t height) {
  return width >= 0 && height >= 0 && int64_t{width} * height <= clip_max_pixels;
}

// Pixel count of a width x height image with non-negative sides.
inline size_t clip_pixel_count(int32_t width, int32_t height) {
  return static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
}

// The rectangle a copy still has to move after clipping: source corner (sx, sy),
// destination corner (dx, dy), w x h source pixels. Every value fits the images
// whenever the clip function that filled it returned true.
struct CLIP_RECT {
  int32_t sx, sy, dx, dy, w, h;
};

namespace clip_detail {

// One axis of a keyed copy with destination positions d + i * step (step 1 for
// the plain blit). Returns false when nothing of this axis is left.
inline bool clip_axis(int64_t& s, int64_t& d, int64_t& n, int64_t step, int64_t src_len,
                      int64_t dst_len) {
  if (s < 0) {  // source pixels left of (above) the source move the target along
    n += s;
    d -= s * step;
    s = 0;
  }
  if (s + n > src_len) n = src_len - s;
  if (d < 0) {  // drop the leading pixels that would land before the destination
    const int64_t dropped = (-d + step - 1) / step;
    n -= dropped;
    s += dropped;
    d += dropped * step;
  }
  if (d + n * step > dst_len) n = (dst_len - d) / step;
  return n > 0;
}

inline bool clip_copy(CLIP_RECT& r, int32_t src_w, int32_t src_h, int32_t dst_w, int32_t dst_h,
                      int64_t step_x, int64_t step_y) {
  int64_t sx = r.sx, sy = r.sy, dx = r.dx, dy = r.dy, w = r.w, h = r.h;
  // A rectangle wholly outside either image ends with nothing left on some
  // axis, so the clipping itself rejects it.
  if (!clip_axis(sx, dx, w, step_x, src_w, dst_w) || !clip_axis(sy, dy, h, step_y, src_h, dst_h))
    return false;
  r = {static_cast<int32_t>(sx), static_cast<int32_t>(sy), static_cast<int32_t>(dx),
       static_cast<int32_t>(dy), static_cast<int32_t>(w), static_cast<int32_t>(h)};
  return true;
}

}  // namespace clip_detail

// Clips a plain copy of r.w x r.h pixels on both images. Drawn pixels keep the
// place the unclipped copy would give them; clipping only removes pixels.
inline bool clip_blit(CLIP_RECT& r, int32_t src_w, int32_t src_h, int32_t dst_w, int32_t dst_h) {
  return clip_detail::clip_copy(r, src_w, src_h, dst_w, dst_h, 1, 1);
}

// Clips a spaced-out copy: source (sx + c, sy + r) goes to destination
// (dx + c * step_x, dy + r * step_y). Steps must be at least 1. When the room
// left at the right (bottom) is not a multiple of the step, the last column
// (row) that would still fit is dropped: a column is drawn only with a whole
// step of room, the rule callers of the stepped copy count on.
inline bool clip_blit_stepped(CLIP_RECT& r, int32_t src_w, int32_t src_h, int32_t dst_w,
                              int32_t dst_h, int32_t step_x, int32_t step_y) {
  if (step_x < 1 || step_y < 1) return false;
  return clip_detail::clip_copy(r, src_w, src_h, dst_w, dst_h, step_x, step_y);
}

// Clips laying a whole src_w x src_h source with its corner at (x, y): fills r
// with the source corner, destination corner and size still to draw.
inline bool clip_overlay(CLIP_RECT& r, int32_t src_w, int32_t src_h, int32_t x, int32_t y,
                         int32_t dst_w, int32_t dst_h) {
  r = {0, 0, x, y, src_w, src_h};
  return clip_blit(r, src_w, src_h, dst_w, dst_h);
}

// A ring offset taken into 0 .. length - 1 (length > 0), negative offsets included.
inline int32_t clip_wrap(int32_t offset, int32_t length) {
  const int32_t o = offset % length;
  return o < 0 ? o + length : o;
}

// The two runs of a ring copy of src_len values into dst_len (> 0) slots
// starting at slot `start`: source 0 .. first - 1 to slots start onward, then
// source first .. first + second - 1 to slots 0 onward. A source longer than
// the destination is cut, never wrapped twice.
struct CLIP_RING {
  int32_t start, first, second;
};

inline CLIP_RING clip_ring(int32_t offset, int32_t src_len, int32_t dst_len) {
  const int32_t start = clip_wrap(offset, dst_len);
  const int32_t first = std::min(dst_len - start, src_len);
  const int32_t drawn = std::min(src_len, dst_len);
  return {start, first, drawn - first};
}

// Rectangles drawn without clipping must lie wholly inside the image.
inline bool clip_rect_inside(int32_t x, int32_t y, int32_t w, int32_t h, int32_t width,
                             int32_t height) {
  return x >= 0 && y >= 0 && x < width && y < height && w >= 1 && h >= 1 &&
         int64_t{x} + w <= width && int64_t{y} + h <= height;
}

// ---- Resampling geometry, shared by the scalers and rotators of both twins.

// Run-length table for lengths a and b: with big = max(|a|, |b|) and
// small = min(|a|, |b|), count k (k < small) is how many of 0 .. big - 1 fall
// on k when big is spread over small; the last count (index small) is 1.
// counts must hold small + 1 zeros. Sizes come from clip_runs_sides.
struct CLIP_RUNS {
  int64_t big, small;
};

inline CLIP_RUNS clip_runs_sides(int32_t a, int32_t b) {
  const int64_t abs_a = a < 0 ? -int64_t{a} : a, abs_b = b < 0 ? -int64_t{b} : b;
  return {std::max(abs_a, abs_b), std::min(abs_a, abs_b)};
}

// A table whose counts all fit 32 bits (a count may reach big + 1).
inline bool clip_runs_fit(CLIP_RUNS sides) { return sides.big < INT32_MAX; }

inline void clip_fill_runs(int32_t* counts, CLIP_RUNS sides) {
  int64_t k = 0, err = sides.big;
  for (int64_t i = 0; i <= sides.big && k <= sides.small; ++i) {
    ++counts[k];
    err -= sides.small;
    if (err <= 0) {
      err += sides.big;
      ++k;
    }
  }
}

// Source index for every destination index along one axis (src_len >= 1,
// dst_len >= 1), counted from the run table of the two lengths, so no division
// is done per pixel. Growing gives floor(n * src_len / dst_len); shrinking keeps
// the last source pixel of each run, or the first when keep_first is set.
// runs holds min(src_len, dst_len) + 1 counts.
inline void clip_axis_map(const int32_t* runs, int32_t src_len, int32_t dst_len, bool keep_first,
                          int32_t* map) {
  if (src_len <= dst_len) {
    int32_t n = 0;
    for (int32_t k = 0; k < src_len; ++k)
      for (int32_t i = 0; i < runs[k] && n < dst_len; ++i) map[n++] = k;
    return;
  }
  int32_t consumed = 0;
  for (int32_t n = 0; n < dst_len; ++n) {
    map[n] = keep_first ? consumed : consumed + runs[n] - 1;
    consumed += runs[n];
  }
}

// Builds the column map (dst_w entries) and then the row map (dst_h entries)
// of a resample from src_w x src_h to dst_w x dst_h, all sides at least 1, in
// one zero-filled heap block (std::free). Null when memory runs out.
// Shrinking keeps the last pixel of each run, except the rows of an image that
// keeps or grows its width while it loses height: those keep the first row.
inline int32_t* clip_scale_maps(int32_t src_w, int32_t src_h, int32_t dst_w, int32_t dst_h) {
  const size_t map_count = static_cast<size_t>(dst_w) + static_cast<size_t>(dst_h);
  const size_t runs_count = static_cast<size_t>(std::max(std::min(src_w, dst_w),
                                                         std::min(src_h, dst_h))) + 1;
  auto* maps = static_cast<int32_t*>(std::calloc(map_count, sizeof(int32_t)));
  auto* runs = static_cast<int32_t*>(std::calloc(runs_count, sizeof(int32_t)));
  if (maps == nullptr || runs == nullptr) {
    std::free(maps);
    std::free(runs);
    return nullptr;
  }
  clip_fill_runs(runs, clip_runs_sides(dst_w, src_w));
  clip_axis_map(runs, src_w, dst_w, false, maps);
  std::fill(runs, runs + runs_count, 0);
  clip_fill_runs(runs, clip_runs_sides(dst_h, src_h));
  clip_axis_map(runs, src_h, dst_h, src_w <= dst_w, maps + dst_w);
  std::free(runs);
  return maps;
}

// Fills every destination pixel from the source through the two maps; a
// destination row that repeats the source row above it is copied whole.
template <typename Pixel>
void clip_gather(const Pixel* src, int32_t src_w, Pixel* dst, int32_t dst_w, int32_t dst_h,
                 const int32_t* columns, const int32_t* rows) {
  const size_t sw = static_cast<size_t>(src_w), dw = static_cast<size_t>(dst_w);
  for (int32_t y = 0; y < dst_h; ++y) {
    Pixel* out = dst + static_cast<size_t>(y) * dw;
    if (y > 0 && rows[y] == rows[y - 1]) {
      std::memcpy(out, out - dw, dw * sizeof(Pixel));
      continue;
    }
    const Pixel* in = src + static_cast<size_t>(rows[y]) * sw;
    for (size_t x = 0; x < dw; ++x) out[x] = in[columns[x]];
  }
}

// Side of the image that holds a turned one: 92667 / 65536, just under the
// square root of 2, so a turned square still fits.
inline int32_t clip_turned_side(int32_t side) {
  return static_cast<int32_t>((int64_t{92667} * side) >> 16);
}

// Fills a turned_w x turned_h result with the src_w x src_h source turned by
// angle (1024 per turn) about both centres; positions that fall outside the
// source give 0. The products are shifted arithmetically, so negative offsets
// round toward minus infinity.
template <typename Pixel>
void clip_turn(const Pixel* src, int32_t src_w, int32_t src_h, Pixel* dst, int32_t turned_w,
               int32_t turned_h, int32_t angle) {
  const int32_t a = angle & sine_mask, b = (a + 256) & sine_mask;
  const int64_t s = sine_table[(sine_length - a) & sine_mask];  // about -32767 sin
  const int64_t c = sine_table[(sine_length - b) & sine_mask];  // about -32767 cos
  const int64_t cx = src_w / 2, cy = src_h / 2;
  for (int32_t y = 0; y < turned_h; ++y) {
    const int64_t v = y - turned_h / 2;
    Pixel* out = dst + static_cast<size_t>(y) * static_cast<size_t>(turned_w);
    for (int32_t x = 0; x < turned_w; ++x) {
      const int64_t u = x - turned_w / 2;
      const int64_t fx = ((u * c) >> 15) - ((v * s) >> 15) + cx;
      const int64_t fy = ((u * s) >> 15) + ((v * c) >> 15) + cy;
      const bool inside = fx >= 0 && fy >= 0 && fx < src_w && fy < src_h;
      out[x] = inside ? src[fy * src_w + fx] : Pixel{0};
    }
  }
}
