// Byte-map resampling and rotation, giving the same sizes and sample
// positions as the image versions.

#include <cstdlib>
#include <cstring>

#include "imaging/bytemap.h"
#include "imaging/bytemap_internal.h"
#include "imaging/img.h"
#include "show/assets/sine_table.h"

namespace {

// Which source pixel of a shrunk run a destination pixel keeps.
enum class RunPick { first, last };

// Source index for every destination index along one axis, built from the
// run table by counting, so no division is done per pixel. Growing takes
// floor(n x s / d); shrinking takes the first or the last pixel of each run.
// Null when memory runs out.
int32_t* axis_map(int32_t src_len, int32_t dst_len, RunPick pick) {
  int32_t* runs = IMG_scale_runs(dst_len, src_len);
  auto* map = static_cast<int32_t*>(
      std::calloc(static_cast<size_t>(dst_len) + 1, sizeof(int32_t)));
  if (runs == nullptr || map == nullptr) {
    std::free(runs);
    std::free(map);
    return nullptr;
  }
  if (src_len <= dst_len) {
    int32_t n = 0;
    for (int32_t k = 0; k < src_len; ++k) {
      for (int32_t i = 0; i < runs[k]; ++i) map[n++] = k;
    }
  } else {
    int32_t consumed = 0;
    for (int32_t n = 0; n < dst_len; ++n) {
      map[n] = pick == RunPick::first ? consumed : consumed + runs[n] - 1;
      consumed += runs[n];
    }
  }
  std::free(runs);
  return map;
}

void gather_rows(const BYTEMAP* src, BYTEMAP* dst, const int32_t* columns,
                 const int32_t* rows) {
  const size_t dst_width = static_cast<size_t>(dst->width);
  const size_t src_width = static_cast<size_t>(src->width);
  for (int32_t y = 0; y < dst->height; ++y) {
    uint8_t* out = dst->pixels + static_cast<size_t>(y) * dst_width;
    if (y > 0 && rows[y] == rows[y - 1]) {
      std::memcpy(out, out - dst_width, dst_width);  // a repeated source row
      continue;
    }
    const uint8_t* in = src->pixels + static_cast<size_t>(rows[y]) * src_width;
    for (size_t x = 0; x < dst_width; ++x) {
      out[x] = in[columns[x]];
    }
  }
}

int32_t enlarged(int32_t side) {
  return static_cast<int32_t>((int64_t{92667} * side) >> 16);
}

int32_t sine_at(int32_t angle) { return sine_table[angle & sine_mask]; }

}  // namespace

int32_t* BYTEMAP_scale_runs(int32_t a, int32_t b) {
  int32_t* runs = IMG_scale_runs(a, b);
  if (runs == nullptr) {
    BYTEMAP_error();
  }
  return runs;
}

void BYTEMAP_scale(const BYTEMAP* src, BYTEMAP* dst) {
  if (src == nullptr || dst == nullptr || dst->width < 0 || dst->height < 0) {
    BYTEMAP_error();
    return;
  }
  if (dst->width == 0 || dst->height == 0) {
    return;  // nothing to fill
  }
  // An empty or bufferless source has nothing to sample from.
  if (!bytemap_has_pixels(src) || !bytemap_has_pixels(dst) ||
      src->width <= 0 || src->height <= 0) {
    BYTEMAP_error();
    return;
  }
  // Shrinking keeps the last pixel of each run, except the rows of a map
  // that grows (or keeps) its width while it loses height: those keep the
  // first row of each run.
  const RunPick row_pick =
      src->width <= dst->width ? RunPick::first : RunPick::last;
  int32_t* columns = axis_map(src->width, dst->width, RunPick::last);
  int32_t* rows = axis_map(src->height, dst->height, row_pick);
  if (columns == nullptr || rows == nullptr) {
    BYTEMAP_error();
  } else {
    gather_rows(src, dst, columns, rows);
  }
  std::free(columns);
  std::free(rows);
}

BYTEMAP* BYTEMAP_rotate(const BYTEMAP* src, int32_t angle) {
  if (!bytemap_has_pixels(src)) {
    BYTEMAP_error();
    return nullptr;
  }
  BYTEMAP* out = BYTEMAP_create();
  if (out == nullptr) {
    return nullptr;
  }
  const int32_t width = enlarged(src->width);
  const int32_t height = enlarged(src->height);
  BYTEMAP_resize(out, width, height);
  if (out->pixels == nullptr || out->width != width ||
      out->height != height) {
    BYTEMAP_destroy(&out);  // refused or failed resize: no partial result
    return nullptr;
  }
  // About -32767 x sin and -32767 x cos of the angle.
  const int64_t s = sine_at(sine_length - (angle & sine_mask));
  const int64_t c =
      sine_at(sine_length - (((angle & sine_mask) + 256) & sine_mask));
  const int64_t cx = src->width / 2;
  const int64_t cy = src->height / 2;
  const int32_t half_w = out->width / 2;
  const int32_t half_h = out->height / 2;
  for (int32_t y = 0; y < out->height; ++y) {
    const int64_t v = y - half_h;
    uint8_t* row = out->pixels + static_cast<size_t>(y) * out->width;
    for (int32_t x = 0; x < out->width; ++x) {
      const int64_t u = x - half_w;
      const int64_t fx = ((u * c) >> 15) - ((v * s) >> 15) + cx;
      const int64_t fy = ((u * s) >> 15) + ((v * c) >> 15) + cy;
      const bool inside =
          fx >= 0 && fy >= 0 && fx < src->width && fy < src->height;
      row[x] = inside ? src->pixels[fy * src->width + fx] : 0;
    }
  }
  return out;
}
