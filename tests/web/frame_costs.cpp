// How long each scene takes to draw a frame natively, measured as the web
// page measures it, to print beside the page's figures.
//   frame_costs [FRAMES_PER_SCENE]   (default 250)
#include <cstdio>
#include <cstdlib>

#include "platform/timing.h"
#include "show/quombrax.h"

namespace {

void print(const TIMING_SCENE* scenes, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const TIMING_SCENE& scene = scenes[i];
    if (scene.frames == 0) continue;
    std::printf(
        "drawing (native): scene %d: %d frames, mean %.3f ms, median %.3f ms, longest %.3f ms\n",
        i + 1, scene.frames, scene.mean_ms, scene.median_ms, scene.longest_ms);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t frames = argc > 1 ? std::atoi(argv[1]) : 250;
  TIMING_plan(5, frames > 0 ? frames : 250, print);
  QUOMBRAX_run();
}
