#pragma once

#include <cstdint>

// Tells, from what a back end sees at the platform seam, how long the show
// spent drawing each frame and which run of a scene it belongs to.
//
// A frame ends with the timer's tick, the present and the key poll, in that
// order; the drawing of the next frame lies between that poll and the next
// tick. Between scenes the show fades the last picture out with presents that
// no tick separates; each such fade opens a new scene run. A frame whose
// drawing time includes a fade (the first of a scene run) also includes the
// scene's own preparation, so it is not counted.

struct FRAME_COSTS {
  int32_t scene_runs;  // fades seen so far: the show's first scene is run 1
  bool ticked;         // a tick came since the last present
  bool fading;         // the last present was one of a fade
  bool polled;         // a poll ended since the last tick
  bool presented;      // a present came since that poll
  double poll_end;     // clock at the end of that poll, in milliseconds
};

struct FRAME_COST {
  int32_t scene_run;
  double milliseconds;
};

void FRAME_COSTS_reset(FRAME_COSTS* costs);
void FRAME_COSTS_present(FRAME_COSTS* costs);
void FRAME_COSTS_poll_done(FRAME_COSTS* costs, double now);
// 1 and the drawing time of the frame this tick ends, when it was measured
// cleanly; 0 otherwise.
int32_t FRAME_COSTS_tick(FRAME_COSTS* costs, double now, FRAME_COST* cost);
