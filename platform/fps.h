#pragma once

#include <cstdint>

#include "containers/module_id.h"

// Frame pacing and the frames-per-second count. All arithmetic is in
// microseconds; the clock and the sleep come from the platform back end.
struct FPS {
  int32_t target_rate;   // wanted frames per second; raised to 1 when below
  int32_t frame_time;    // 1000000 / target_rate, recomputed on every tick
  int32_t now;           // clock value of the latest tick
  int32_t previous;      // clock value of the tick before
  int32_t elapsed;       // now - previous: the last frame, sleep included
  int32_t window;        // time summed in the current one-second window
  int32_t counter;       // ticks counted in the current window
  int32_t frame_rate;    // counter of the last completed window
  int32_t delay_budget;  // sleep time carried from frame to frame, >= 0
};

// The timer's state, zero at process start; the show sets `target_rate` and
// reads `frame_rate` directly.
extern FPS FPS_state;

extern const MODULE_ID FPS_id;

// The back end's millisecond clock times 1000, wrapping every 2^32 us.
uint32_t FPS_now();
// Measures the last frame and counts it; returns `frame_rate`.
int32_t FPS_tick();
// Sleeps according to the delay budget; call right after FPS_tick.
void FPS_wait();
