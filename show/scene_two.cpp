#include <cstdlib>

#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "show/assets/pictures.h"
#include "show/quombrax.h"

// Scene two: nested rectangles and concentric rings drawn as palette indexes
// into the screen map, whose colours then flow as every index falls by one a
// frame. The corner picture sits bottom left, the title on top.

namespace {

// Smaller rectangles have no room for a border inside them.
constexpr int32_t smallest_divided_side = 2;
constexpr int32_t level_colour_step = 16;
constexpr uint8_t one_index_down = 255;  // adding 255 is subtracting 1, modulo 256

void draw_frame() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  BYTEMAP_add(state.screen_map, one_index_down);
  BYTEMAP_render(state.screen_map, state.screen_image, state.palette);
  const IMG* corner = state.corner_image;
  IMG* screen = state.screen_image;
  if (corner != nullptr && screen != nullptr) {
    IMG_blit(corner, screen, 0, 0, 0, screen->height - corner->height, corner->width,
             corner->height);
  }
  QUOMBRAX_draw_title();
}

void draw_pattern() {
  const int32_t width = QUOMBRAX_config.screen_width;
  const int32_t height = QUOMBRAX_config.screen_height;
  // The top rectangle covers the whole map, so it needs no clearing first.
  QUOMBRAX_subdivide(0, 0, width, height, static_cast<uint8_t>(std::rand() & 255));
  QUOMBRAX_draw_rings(QUOMBRAX_state.screen_map, width / 2, height / 2, width);
}

}  // namespace

void QUOMBRAX_subdivide(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value) {
  if (w <= smallest_divided_side || h <= smallest_divided_side) return;
  BYTEMAP_fill_rect(QUOMBRAX_state.screen_map, x, y, w, h, value);
  const auto inner = static_cast<uint8_t>((value + level_colour_step) & 255);
  QUOMBRAX_RECT quarters[4];
  QUOMBRAX_inner_quarters({x, y, w, h}, quarters);
  for (const QUOMBRAX_RECT& q : quarters) QUOMBRAX_subdivide(q.x, q.y, q.w, q.h, inner);
}

void QUOMBRAX_inner_quarters(QUOMBRAX_RECT parent, QUOMBRAX_RECT quarters[4]) {
  const auto [x, y, w, h] = parent;
  const int32_t half_w = w >> 1;
  const int32_t half_h = h >> 1;
  quarters[0] = {x + 1, y + 1, half_w - 2, half_h - 2};
  quarters[1] = {x + half_w + 1, y + 1, w - half_w - 2, half_h - 2};
  quarters[2] = {x + 1, y + half_h + 1, half_w - 2, h - half_h - 2};
  quarters[3] = {x + half_w + 1, y + half_h + 1, w - half_w - 2, h - half_h - 2};
}

void QUOMBRAX_draw_rings(BYTEMAP* map, int32_t cx, int32_t cy, int32_t largest_radius) {
  if (map == nullptr || largest_radius < 1) return;
  // Radius 0 is refused by the circle itself, so the rings begin at 1.
  for (int32_t radius = 0; radius <= largest_radius; ++radius) {
    BYTEMAP_draw_circle(map, cx, cy, radius, static_cast<uint8_t>(radius & 255));
  }
}

void QUOMBRAX_prepare_scene_two() {
  QUOMBRAX_state.corner_image = IMG_parse(corner_picture_pnm, corner_picture_pnm_size);
}

void QUOMBRAX_release_scene_two() { IMG_destroy(&QUOMBRAX_state.corner_image); }

void QUOMBRAX_scene_two() {
  QUOMBRAX_fade_out();
  draw_pattern();
  QUOMBRAX_run_frames(draw_frame, QUOMBRAX_end_frame);
}
