#include <cstdlib>

#include "imaging/img.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

// Start-up checks no results: a null handle is kept, and the modules' own
// argument checks make every later operation on it do nothing. The order
// fixes which pseudo-random numbers each user draws.
void QUOMBRAX_start_up() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  QUOMBRAX_CONFIG& config = QUOMBRAX_config;
  std::srand(QUOMBRAX_seed);
  state.display = SDLDPY_create();
  SDLDPY_set_mode(state.display, config.screen_width, config.screen_height);
  if (state.display != nullptr) {
    config.screen_width = state.display->width;
    config.screen_height = state.display->height;
  }
  state.keys = SDLDPY_keys_create();
  state.audio = SDLDPY_audio_open();
  state.screen_image = IMG_create();
  IMG_resize(state.screen_image, config.screen_width, config.screen_height);
  QUOMBRAX_build_screen_map_and_palette();
  QUOMBRAX_set_up_music();
  QUOMBRAX_build_fonts();
  QUOMBRAX_build_pictures();
  QUOMBRAX_prepare_scene_five();
  QUOMBRAX_prepare_scene_one();
  QUOMBRAX_prepare_scene_two();
  QUOMBRAX_prepare_scene_three();
  QUOMBRAX_prepare_scene_four();
  FPS_state.target_rate = QUOMBRAX_target_frame_rate;
}
