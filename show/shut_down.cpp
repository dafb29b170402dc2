#include <cstdlib>

#include "imaging/img.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

// What is not freed here (the palette, the music generator, the
// instruments, most of scene three) ends with the process.
void QUOMBRAX_release_all() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  QUOMBRAX_destroy_fonts();
  IMG_destroy(&state.screen_image);
  QUOMBRAX_destroy_shared_assets();
  QUOMBRAX_release_scene_five();
  QUOMBRAX_release_scene_one();
  QUOMBRAX_release_scene_two();
  QUOMBRAX_release_scene_three();
  QUOMBRAX_release_scene_four();
  SDLDPY_keys_destroy(&state.keys);
  SDLDPY_destroy(&state.display);
  SDLDPY_audio_close(&state.audio);
}

// Runs from inside the key handler, in the middle of a frame: nothing
// returns to the scene.
void QUOMBRAX_shut_down() {
  QUOMBRAX_fade_out();
  QUOMBRAX_release_all();
  std::exit(0);
}
