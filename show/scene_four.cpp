#include "show/quombrax.h"

// Scene four. Its drawing is not written yet: every frame of its loop
// shows the black screen image.

namespace {

void draw_frame() {}

}  // namespace

void QUOMBRAX_prepare_scene_four() {}

void QUOMBRAX_release_scene_four() {}

void QUOMBRAX_scene_four() {
  QUOMBRAX_fade_out();
  QUOMBRAX_run_frames(draw_frame, QUOMBRAX_end_frame);
}
