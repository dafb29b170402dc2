// The fullscreen present's enlarging of the 256 x 256 picture into a screen
// at the desktop's size, against a memcpy of the bytes it writes: 1 MB a
// frame at x2 (1280 x 720), 2.25 MB at x3 (1024 x 768), 4 MB at x4
// (1920 x 1080).

#include <cstdint>
#include <vector>

#include "bench/yardstick.h"
#include "platform/enlarge.h"

namespace {

constexpr int32_t side = 256;

void BM_enlarge_to_desktop(benchmark::State& state) {
  const auto factor = static_cast<int32_t>(state.range(0));
  const auto desktop_width = static_cast<int32_t>(state.range(1));
  const auto desktop_height = static_cast<int32_t>(state.range(2));
  std::vector<uint32_t> picture(size_t{side} * side);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint32_t>(i * 40503u);
  std::vector<uint32_t> screen(static_cast<size_t>(desktop_width) * desktop_height);
  const size_t pitch = static_cast<size_t>(desktop_width) * 4;
  const int32_t left = (desktop_width - side * factor) / 2;
  const int32_t top = (desktop_height - side * factor) / 2;
  auto* origin = reinterpret_cast<uint8_t*>(screen.data() + top * desktop_width + left);
  const size_t written = size_t{side} * side * 4 * static_cast<size_t>(factor * factor);
  measure_against_memcpy(state, written, [&] {
    ENLARGE_copy(picture.data(), side, side, side, factor, origin, pitch);
  });
}

}  // namespace

BENCHMARK(BM_enlarge_to_desktop)
    ->Args({2, 1280, 720})
    ->Args({3, 1024, 768})
    ->Args({4, 1920, 1080})
    ->UseManualTime();
