#pragma once

// Resampling by whole pixels and turning by an angle, shared by the scalers
// and rotators of the 32-bit image and its 8-bit twin, so both give the same
// sizes and sample positions. Not part of the interface.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "show/assets/sine_table.h"

// Run-length table for lengths a and b: with big = max(|a|, |b|) and
// small = min(|a|, |b|), count k (k < small) is how many of 0 .. big - 1 fall
// on k when big is spread over small; the last count (index small) is 1.
// counts must hold small + 1 zeros. Sizes come from resample_runs_sides.
struct RESAMPLE_RUNS {
  int64_t big, small;
};

inline RESAMPLE_RUNS resample_runs_sides(int32_t a, int32_t b) {
  const int64_t abs_a = a < 0 ? -int64_t{a} : a, abs_b = b < 0 ? -int64_t{b} : b;
  return {std::max(abs_a, abs_b), std::min(abs_a, abs_b)};
}

// A table whose counts all fit 32 bits (a count may reach big + 1).
inline bool resample_runs_fit(RESAMPLE_RUNS sides) { return sides.big < INT32_MAX; }

inline void resample_fill_runs(int32_t* counts, RESAMPLE_RUNS sides) {
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
inline void resample_axis_map(const int32_t* runs, int32_t src_len, int32_t dst_len,
                              bool keep_first, int32_t* map) {
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
inline int32_t* resample_maps(int32_t src_w, int32_t src_h, int32_t dst_w, int32_t dst_h) {
  const size_t map_count = static_cast<size_t>(dst_w) + static_cast<size_t>(dst_h);
  const size_t runs_count =
      static_cast<size_t>(std::max(std::min(src_w, dst_w), std::min(src_h, dst_h))) + 1;
  auto* maps = static_cast<int32_t*>(std::calloc(map_count, sizeof(int32_t)));
  auto* runs = static_cast<int32_t*>(std::calloc(runs_count, sizeof(int32_t)));
  if (maps == nullptr || runs == nullptr) {
    std::free(maps);
    std::free(runs);
    return nullptr;
  }
  resample_fill_runs(runs, resample_runs_sides(dst_w, src_w));
  resample_axis_map(runs, src_w, dst_w, false, maps);
  std::fill(runs, runs + runs_count, 0);
  resample_fill_runs(runs, resample_runs_sides(dst_h, src_h));
  resample_axis_map(runs, src_h, dst_h, src_w <= dst_w, maps + dst_w);
  std::free(runs);
  return maps;
}

// Fills every destination pixel from the source through the two maps; a
// destination row that repeats the source row above it is copied whole.
template <typename Pixel>
void resample_gather(const Pixel* src, int32_t src_w, Pixel* dst, int32_t dst_w, int32_t dst_h,
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
inline int32_t resample_turned_side(int32_t side) {
  return static_cast<int32_t>((int64_t{92667} * side) >> 16);
}

// Fills a turned_w x turned_h result with the src_w x src_h source turned by
// angle (1024 per turn) about both centres; positions that fall outside the
// source give 0. The products are shifted arithmetically, so negative offsets
// round toward minus infinity.
template <typename Pixel>
void resample_turn(const Pixel* src, int32_t src_w, int32_t src_h, Pixel* dst, int32_t turned_w,
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
