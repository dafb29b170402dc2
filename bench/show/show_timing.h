#pragma once

#include <cstdint>

// The cost of every frame of one whole cycle of the show, left alone on the
// capture back end at a given screen size, measured in a child process (the
// show's state is one per process). A frame's cost is the main thread's CPU
// time from one present to the next: drawing, pacing, present, music, keys.
// The fades' unpaced steps are not frames of a scene and are left out.

constexpr int32_t SHOW_TIMING_scenes = 5;

struct SCENE_TIMING {
  int64_t frames;
  double total_seconds;
  double worst_seconds;
  int32_t worst_frame;  // its number among all presented frames, from 1
};

struct SHOW_TIMING {
  bool measured;
  double start_up_seconds;  // from the start of start-up to the first present
  SCENE_TIMING scenes[SHOW_TIMING_scenes];
};

// Measured once per side and kept.
const SHOW_TIMING& show_timing(int32_t side);
