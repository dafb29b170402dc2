#include "show/quombrax.h"

// Scene two. Its drawing is not written yet: every frame of its loop
// shows the black screen image.

namespace {

void draw_frame() {}

}  // namespace

void QUOMBRAX_prepare_scene_two() {}

void QUOMBRAX_release_scene_two() {}

void QUOMBRAX_scene_two() {
  QUOMBRAX_fade_out();
  QUOMBRAX_run_frames(draw_frame, QUOMBRAX_end_frame);
}
