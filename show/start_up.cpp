#include <cstdio>
#include <cstdlib>

#include "imaging/img.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

namespace {

// Without a screen, a key state or a screen image the show would run on
// unseen and deaf to every key, a process only a kill could end. It says
// what failed and stops instead; everything else it can do without.
[[noreturn]] void give_up(const char* what) {
  std::fprintf(stderr, "quombrax: %s\n", what);
  QUOMBRAX_release_all();
  std::exit(1);
}

void open_screen() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  QUOMBRAX_CONFIG& config = QUOMBRAX_config;
  state.display = SDLDPY_create();
  if (state.display == nullptr) give_up("cannot open the screen: out of memory");
  SDLDPY_set_mode(state.display, config.screen_width, config.screen_height);
  if (!SDLDPY_screen_is_open(state.display)) {
    give_up("cannot open the screen: no video mode of that size could be had");
  }
  config.screen_width = state.display->width;
  config.screen_height = state.display->height;
}

void make_screen_image() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  const QUOMBRAX_CONFIG& config = QUOMBRAX_config;
  state.screen_image = IMG_create();
  IMG_resize(state.screen_image, config.screen_width, config.screen_height);
  const IMG* image = state.screen_image;
  if (image == nullptr || image->pixels == nullptr || image->width != config.screen_width ||
      image->height != config.screen_height) {
    give_up("cannot make the screen image: out of memory");
  }
}

}  // namespace

// Past the screen, the key state and the screen image, start-up checks no
// results: a null handle is kept, and the modules' own argument checks make
// every later operation on it do nothing. The order fixes which
// pseudo-random numbers each user draws.
void QUOMBRAX_start_up() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  std::srand(QUOMBRAX_seed);
  open_screen();
  state.keys = SDLDPY_keys_create();
  if (state.keys == nullptr) give_up("cannot make the key state: out of memory");
  state.audio = SDLDPY_audio_open();
  make_screen_image();
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
