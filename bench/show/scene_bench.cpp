// One frame of each scene (average and worst over the whole scene), and
// start-up to the first frame, each against a memcpy of one frame of the
// same size, at 256 x 256 and larger screens.
#include <cstdint>

#include "bench/show/show_timing.h"
#include "bench/yardstick.h"

namespace {

double frame_memcpy_seconds(int32_t side) {
  return memcpy_seconds(static_cast<size_t>(side) * static_cast<size_t>(side) * 4);
}

void BM_scene_frame(benchmark::State& state) {
  const auto scene = static_cast<int32_t>(state.range(0));
  const auto side = static_cast<int32_t>(state.range(1));
  const SHOW_TIMING& timing = show_timing(side);
  const SCENE_TIMING& s = timing.scenes[scene - 1];
  if (!timing.measured || s.frames == 0) {
    state.SkipWithError("the show did not run its cycle");
    return;
  }
  const double average = s.total_seconds / static_cast<double>(s.frames);
  const double copy = frame_memcpy_seconds(side);
  for (auto _ : state) state.SetIterationTime(average);
  state.counters["frames"] = static_cast<double>(s.frames);
  state.counters["avg_us"] = average * 1e6;
  state.counters["worst_us"] = s.worst_seconds * 1e6;
  state.counters["worst_frame"] = s.worst_frame;
  state.counters["memcpy_us"] = copy * 1e6;
  state.counters["avg_ratio"] = average / copy;
  state.counters["worst_ratio"] = s.worst_seconds / copy;
  state.counters["worst_budget_pct"] = s.worst_seconds / 0.020 * 100;
}

void BM_start_up_to_first_frame(benchmark::State& state) {
  const auto side = static_cast<int32_t>(state.range(0));
  const SHOW_TIMING& timing = show_timing(side);
  if (!timing.measured) {
    state.SkipWithError("the show did not run its cycle");
    return;
  }
  const double copy = frame_memcpy_seconds(side);
  for (auto _ : state) state.SetIterationTime(timing.start_up_seconds);
  state.counters["start_up_us"] = timing.start_up_seconds * 1e6;
  state.counters["memcpy_us"] = copy * 1e6;
  state.counters["ratio"] = timing.start_up_seconds / copy;
}

void scene_arguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"scene", "side"});
  for (int64_t side : {256, 512, 1024}) {
    for (int64_t scene = 1; scene <= 5; ++scene) b->Args({scene, side});
  }
}

}  // namespace

BENCHMARK(BM_scene_frame)->Apply(scene_arguments)->Iterations(1)->UseManualTime();
BENCHMARK(BM_start_up_to_first_frame)
    ->ArgName("side")
    ->Arg(256)
    ->Arg(512)
    ->Arg(1024)
    ->Iterations(1)
    ->UseManualTime();
