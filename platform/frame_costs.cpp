#include "platform/frame_costs.h"

void FRAME_COSTS_reset(FRAME_COSTS* costs) { *costs = FRAME_COSTS{}; }

void FRAME_COSTS_present(FRAME_COSTS* costs) {
  // Two presents with no tick between them: a fade. Its first present opens
  // the next scene run.
  const bool fading = !costs->ticked;
  if (fading && !costs->fading) costs->scene_runs += 1;
  costs->fading = fading;
  costs->ticked = false;
  costs->presented = true;
}

void FRAME_COSTS_poll_done(FRAME_COSTS* costs, double now) {
  costs->polled = true;
  costs->presented = false;
  costs->poll_end = now;
}

int32_t FRAME_COSTS_tick(FRAME_COSTS* costs, double now, FRAME_COST* cost) {
  const bool clean = costs->polled && !costs->presented && costs->scene_runs > 0;
  costs->ticked = true;
  costs->polled = false;
  if (!clean) return 0;
  cost->scene_run = costs->scene_runs;
  cost->milliseconds = now - costs->poll_end;
  return 1;
}
