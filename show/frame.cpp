#include "imaging/img.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

namespace {

uint8_t* key_buffer() {
  SDLDPY_KEYS* keys = QUOMBRAX_state.keys;
  return keys != nullptr ? keys->buffer : nullptr;
}

}  // namespace

int8_t QUOMBRAX_last_key() {
  const uint8_t* buffer = key_buffer();
  return buffer != nullptr ? static_cast<int8_t>(buffer[0]) : 0;
}

void QUOMBRAX_reset_key() {
  uint8_t* buffer = key_buffer();
  if (buffer != nullptr) buffer[0] = 0;
}

void QUOMBRAX_end_frame_keep_key() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  FPS_tick();
  // Key "9" clears the paced bit: frames then follow each other at full speed.
  if ((QUOMBRAX_config.display_options & QUOMBRAX_paced_option) != 0) FPS_wait();
  if ((QUOMBRAX_config.display_options & QUOMBRAX_frame_rate_option) != 0) {
    QUOMBRAX_draw_frame_rate();
  }
  SDLDPY_present(state.display, state.screen_image);
  QUOMBRAX_feed_music();
  SDLDPY_keys_poll(state.keys);
  QUOMBRAX_handle_key(QUOMBRAX_last_key());
}

void QUOMBRAX_end_frame() {
  QUOMBRAX_end_frame_keep_key();
  QUOMBRAX_reset_key();
}

// Unpaced and deaf: no timer, no keys, no music between scenes.
void QUOMBRAX_fade_out() {
  for (int32_t step = 0; step < QUOMBRAX_fade_steps; ++step) {
    IMG_fade(QUOMBRAX_state.screen_image, QUOMBRAX_fade_amount);
    SDLDPY_present(QUOMBRAX_state.display, QUOMBRAX_state.screen_image);
  }
}

int32_t QUOMBRAX_scene_done() {
  uint32_t& flags = QUOMBRAX_state.flags;
  if ((flags & (QUOMBRAX_quit_flag | QUOMBRAX_next_scene_flag)) == 0) return 0;
  flags &= ~QUOMBRAX_next_scene_flag;
  return 1;
}

void QUOMBRAX_run_frames(void (*draw_frame)(), void (*end_frame)()) {
  for (int32_t counter = QUOMBRAX_scene_frames; counter >= 0; --counter) {
    draw_frame();
    end_frame();
    if (QUOMBRAX_scene_done()) return;
  }
}
