#include "platform/enlarge.h"

#include <algorithm>
#include <cstring>

namespace {

// The common factors get a loop the compiler can unroll; the rest share one.
template <int32_t factor>
void widen_row(const uint32_t* from, int32_t width, uint32_t* to) {
  for (int32_t x = 0; x < width; ++x) {
    for (int32_t i = 0; i < factor; ++i) to[i] = from[x];
    to += factor;
  }
}

void widen_row_by(const uint32_t* from, int32_t width, int32_t factor, uint32_t* to) {
  switch (factor) {
    case 2:
      widen_row<2>(from, width, to);
      return;
    case 3:
      widen_row<3>(from, width, to);
      return;
    case 4:
      widen_row<4>(from, width, to);
      return;
    default:
      for (int32_t x = 0; x < width; ++x) to = std::fill_n(to, factor, from[x]);
  }
}

}  // namespace

int32_t ENLARGE_fit(int32_t screen_width, int32_t screen_height, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || screen_width < width || screen_height < height) return 0;
  return std::min(screen_width / width, screen_height / height);
}

void ENLARGE_copy(const uint32_t* source, int32_t stride, int32_t width, int32_t height,
                  int32_t factor, uint8_t* target, size_t target_pitch) {
  if (width <= 0 || height <= 0 || factor <= 0) return;
  const size_t row_bytes = static_cast<size_t>(width) * static_cast<size_t>(factor) * 4;
  if (factor == 1 && stride == width && target_pitch == row_bytes) {
    std::memcpy(target, source, row_bytes * static_cast<size_t>(height));
    return;
  }
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* from = source + static_cast<size_t>(y) * static_cast<size_t>(stride);
    uint8_t* first = target;
    if (factor == 1) {
      std::memcpy(first, from, row_bytes);
    } else {
      widen_row_by(from, width, factor, reinterpret_cast<uint32_t*>(first));
    }
    target += target_pitch;
    for (int32_t repeat = 1; repeat < factor; ++repeat) {
      std::memcpy(target, first, row_bytes);
      target += target_pitch;
    }
  }
}
