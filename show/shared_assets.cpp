// What several scenes share: the screen-sized byte map with its colour-wheel
// palette, and the pictures scaled once to the screen at start-up.

#include <iterator>

#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "imaging/palette.h"
#include "show/assets/pictures.h"
#include "show/quombrax.h"

namespace {

// Six ramps of 42 steps walk round the hue circle: each adds or removes one
// channel in steps of 6, so neighbouring entries differ only a little and a
// rotating palette cycles smoothly.
constexpr int32_t wheel_ramp_length = 42;

struct WHEEL_RAMP {
  uint32_t start;
  int32_t step;  // per entry, added modulo 2^32 (negative steps remove a channel)
};

constexpr WHEEL_RAMP wheel_ramps[] = {
    {0x00FF00u, 6},          // green, blue rising
    {0x00FFFFu, -0x000600},  // cyan, green falling
    {0x0000FFu, 0x060000},   // blue, red rising
    {0xFF00FFu, -6},         // magenta, blue falling
    {0xFF0000u, 0x000600},   // red, green rising
    {0xFFFF00u, -0x060000},  // yellow, red falling
};

constexpr int32_t wheel_ramp_count = static_cast<int32_t>(std::size(wheel_ramps));
// The entries past the six ramps close the circle on the colour it began with.
constexpr uint32_t wheel_tail_colour = 0x00FF00u;

void write_colour_wheel(SAMPLE* palette) {
  if (palette == nullptr || palette->values == nullptr || palette->length < PALETTE_length) {
    return;  // no palette was had; the byte-map render refuses it later
  }
  int32_t* entries = palette->values;
  for (int32_t i = 0; i < wheel_ramp_length; ++i) {
    for (int32_t ramp = 0; ramp < wheel_ramp_count; ++ramp) {
      const WHEEL_RAMP& r = wheel_ramps[ramp];
      const uint32_t colour = r.start + static_cast<uint32_t>(r.step) * static_cast<uint32_t>(i);
      entries[ramp * wheel_ramp_length + i] = static_cast<int32_t>(colour);
    }
  }
  for (int32_t i = wheel_ramp_count * wheel_ramp_length; i < PALETTE_length; ++i) {
    entries[i] = static_cast<int32_t>(wheel_tail_colour);
  }
}

// A compiled-in picture stretched or shrunk to the screen's size.
IMG* screen_sized_picture(const uint8_t* data, size_t size) {
  IMG* picture = IMG_parse(data, size);
  IMG* scaled = IMG_create();
  IMG_resize(scaled, QUOMBRAX_config.screen_width, QUOMBRAX_config.screen_height);
  IMG_scale(picture, scaled);
  IMG_destroy(&picture);
  return scaled;
}

}  // namespace

void QUOMBRAX_build_screen_map_and_palette() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  state.screen_map = BYTEMAP_create();
  BYTEMAP_resize(state.screen_map, QUOMBRAX_config.screen_width, QUOMBRAX_config.screen_height);
  state.palette = PALETTE_create();
  write_colour_wheel(state.palette);
}

void QUOMBRAX_build_pictures() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  state.logo_image = screen_sized_picture(logo_picture_pnm, logo_picture_pnm_size);
  state.roll_texture = screen_sized_picture(roll_picture_pnm, roll_picture_pnm_size);
}

// The palette stays: the process ends with it.
void QUOMBRAX_destroy_shared_assets() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  BYTEMAP_destroy(&state.screen_map);
  IMG_destroy(&state.logo_image);
  IMG_destroy(&state.roll_texture);
}
