#include <cstdint>
#include <cstdlib>

#include "imaging/bytemap.h"
#include "show/quombrax.h"

// Scene five: the screen is split into ever smaller nested rectangles, one
// rectangle per frame so the viewer watches it happen, then the wheel
// palette's colours flow through the finished pattern. The title stays on
// top throughout.

namespace {

constexpr int32_t smallest_divided_side = 2;  // rectangles this thin are not drawn
// Children step the colour by their place (top left, top right, bottom left,
// bottom right): the four quarters of a parent differ, so neighbours stand apart.
constexpr int32_t quarter_steps[4] = {16, 32, 32, 48};
// The four quadrants of the screen start from the same wheel, further apart.
constexpr int32_t quadrant_step = 32;

uint8_t plus(uint8_t value, int32_t step) { return static_cast<uint8_t>((value + step) & 255); }

// A rectangle whose far edge would pass the largest coordinate cannot be
// split without overflow; none lies on any screen.
bool fits_coordinates(int32_t x, int32_t y, int32_t w, int32_t h) {
  return int64_t{x} + w <= INT32_MAX && int64_t{y} + h <= INT32_MAX;
}

void show_map() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  BYTEMAP_render(state.screen_map, state.screen_image, state.palette);
  QUOMBRAX_draw_title();
}

// The colours move one wheel step forward every frame.
void cycle_frame() {
  BYTEMAP_add(QUOMBRAX_state.screen_map, 1);
  show_map();
}

}  // namespace

void QUOMBRAX_prepare_scene_five() {}

void QUOMBRAX_release_scene_five() {}

void QUOMBRAX_subdivide_framed(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value) {
  if (w <= smallest_divided_side || h <= smallest_divided_side) return;
  if (!fits_coordinates(x, y, w, h)) {
    QUOMBRAX_error();
    return;
  }
  BYTEMAP_fill_rect(QUOMBRAX_state.screen_map, x, y, w, h, value);
  show_map();
  QUOMBRAX_end_frame();
  // The request is left set: every caller up the recursion still shows its
  // remaining siblings once, and the scene's loop clears it.
  if ((QUOMBRAX_state.flags & (QUOMBRAX_quit_flag | QUOMBRAX_next_scene_flag)) != 0) return;
  QUOMBRAX_RECT quarters[4];
  QUOMBRAX_inner_quarters({x, y, w, h}, quarters);
  for (int32_t i = 0; i < 4; ++i) {
    const QUOMBRAX_RECT& q = quarters[i];
    QUOMBRAX_subdivide_framed(q.x, q.y, q.w, q.h, plus(value, quarter_steps[i]));
  }
}

void QUOMBRAX_scene_five() {
  QUOMBRAX_fade_out();
  BYTEMAP_clear(QUOMBRAX_state.screen_map);  // index 0: green until reached
  const int32_t width = QUOMBRAX_config.screen_width;
  const int32_t height = QUOMBRAX_config.screen_height;
  const int32_t half_w = width >> 1;
  const int32_t half_h = height >> 1;
  const auto first = static_cast<uint8_t>(std::rand() & 255);
  // All four quadrants come, whatever is asked between them.
  QUOMBRAX_subdivide_framed(0, 0, half_w, half_h, first);
  QUOMBRAX_subdivide_framed(half_w, 0, width - half_w, half_h, plus(first, quadrant_step));
  QUOMBRAX_subdivide_framed(0, half_h, half_w, height - half_h, plus(first, quadrant_step));
  QUOMBRAX_subdivide_framed(half_w, half_h, width - half_w, height - half_h,
                            plus(first, 2 * quadrant_step));
  QUOMBRAX_run_frames(cycle_frame, QUOMBRAX_end_frame);
}
