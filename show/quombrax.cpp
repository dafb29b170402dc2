#include "show/quombrax.h"

#include <cstdio>

QUOMBRAX_CONFIG QUOMBRAX_config = {256, 256, 1, 1, 3, 2};
QUOMBRAX_STATE QUOMBRAX_state = {};

const MODULE_ID QUOMBRAX_id = {"QUOMBRAX", "20101021", "Kadwelon", "C       ", "PROGRAM "};

namespace {

bool error_report = false;

constexpr int8_t key_quit_lower = 113;  // "q"
constexpr int8_t key_quit_upper = 81;   // "Q"
constexpr int8_t key_escape = 27;
constexpr int8_t key_space = 32;
constexpr int8_t key_option_1 = 49;
constexpr int8_t key_option_2 = 50;
constexpr int8_t key_option_4 = 52;
constexpr int8_t key_option_5 = 53;
constexpr int8_t key_frame_rate = 56;
constexpr int8_t key_full_speed = 57;

}  // namespace

void QUOMBRAX_error() {
  if (error_report) std::fputs("QUOMBRAX Error.\n", stdout);
}

void QUOMBRAX_set_error_report(int32_t on) { error_report = on != 0; }

void QUOMBRAX_handle_key(int8_t code) {
  QUOMBRAX_CONFIG& config = QUOMBRAX_config;
  switch (code) {
    case key_quit_lower:
    case key_quit_upper:
    case key_escape:
      QUOMBRAX_state.flags |= QUOMBRAX_quit_flag;
      QUOMBRAX_shut_down();
    case key_space:
      QUOMBRAX_state.flags |= QUOMBRAX_next_scene_flag;
      break;
    case key_option_1:
      config.option_1 ^= 1;
      break;
    case key_option_2:
      config.option_2 ^= 1;
      break;
    case key_option_4:
      config.options_4_5 ^= 1;
      break;
    case key_option_5:
      config.options_4_5 ^= 2;
      break;
    case key_frame_rate:
      config.display_options ^= QUOMBRAX_frame_rate_option;
      break;
    case key_full_speed:
      config.display_options ^= QUOMBRAX_paced_option;
      break;
    default:
      break;
  }
}

void QUOMBRAX_run() {
  QUOMBRAX_start_up();
  for (;;) {
    QUOMBRAX_scene_one();
    QUOMBRAX_scene_two();
    QUOMBRAX_scene_three();
    QUOMBRAX_scene_four();
    QUOMBRAX_scene_five();
  }
}
