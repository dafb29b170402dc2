#pragma once

#include <cstdint>

// The timing back end: the show on the real clock with nothing shown,
// nothing played and no sleep, for measuring how long each scene takes to
// draw a frame, the same way the web page measures it (platform/frame_costs.h).
// It walks the show through its scenes by itself: once a scene (or a part of
// one) has drawn `frames_per_scene` measured frames it presses Space, and
// when the scene after the last asked for begins it presses q, which ends
// the process; the costs are then handed to the report hook.
// Link platform_timing instead of platform_sdl to get it.

constexpr int32_t TIMING_max_scenes = 16;

struct TIMING_SCENE {
  int32_t frames;  // measured
  double mean_ms;
  double median_ms;
  double longest_ms;
};

using TIMING_REPORT_HOOK = void (*)(const TIMING_SCENE* scenes, int32_t count);

// Scenes are counted from 1 in the order they run; the hook is called at the
// end of the process with the first `scenes` of them.
void TIMING_plan(int32_t scenes, int32_t frames_per_scene, TIMING_REPORT_HOOK report);
