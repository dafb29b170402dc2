#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

// Clipping and size rules shared by the 32-bit image and its 8-bit twin, and
// the ring position the effects use too. They work on sizes and coordinates,
// so every module uses them. Sums are taken in 64 bits: callers may pass any 32-bit
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
       static_cast<int32_t>(dy), static_cast<int32_t>(w),  static_cast<int32_t>(h)};
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

// A ring position taken into 0 .. length - 1 (length > 0), negative values
// included. It takes 64 bits so that the effects can fold long-running
// counters and offset sums here before they could overflow 32 bits.
inline int32_t clip_wrap(int64_t v, int32_t length) {
  const int64_t o = v % length;
  return static_cast<int32_t>(o < 0 ? o + length : o);
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
