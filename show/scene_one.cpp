#include "effects/roll.h"
#include "imaging/img.h"
#include "show/assets/sine_table.h"
#include "show/quombrax.h"

// Scene one: the picture wrapped round a turning roll bounces on a black
// screen, under the title, inside four fading corner brackets.

namespace {

constexpr int32_t back_face_shade = 64;  // the far side of the roll is darker
constexpr int32_t texture_turn_per_frame = 3;
constexpr uint32_t corner_colour = 0x4080F0;
constexpr int32_t corner_arm_length = 16;
constexpr uint32_t corner_fade_step = 0x040404;
// Only the first half of the sine table, where it is 0 or above, so the roll
// never sinks below the bottom edge.
constexpr int32_t bounce_mask = sine_mask >> 1;
constexpr int32_t bounce_speed = 8;

// Counts down with the scene's frame loop; the bounce is read from it.
int32_t frame_counter = 0;

bool corners_fit(const IMG* image, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (image == nullptr || image->pixels == nullptr) return false;
  if (w < corner_arm_length || h < corner_arm_length || x < 0 || y < 0) return false;
  return w <= image->width - x && h <= image->height - y;
}

void blit_face(const IMG* face, int32_t top) {
  IMG_blit(face, QUOMBRAX_state.screen_image, 0, 0, 0, top, face->width, face->height);
}

void draw_frame() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  IMG_clear(state.screen_image);
  ROLL* roll = state.roll;
  if (roll != nullptr && state.roll_texture != nullptr) {
    int32_t top = QUOMBRAX_roll_top(frame_counter, QUOMBRAX_config.screen_height, roll->height);
    ROLL_draw(roll, state.roll_texture);
    state.roll_texture->y += texture_turn_per_frame;
    IMG_fade(roll->back, back_face_shade);
    blit_face(roll->back, top);
    blit_face(roll->front, top);
  }
  QUOMBRAX_draw_title();
  QUOMBRAX_draw_corners(state.screen_image, 0, 0, QUOMBRAX_config.screen_width,
                        QUOMBRAX_config.screen_height, corner_colour);
  --frame_counter;
}

}  // namespace

int32_t QUOMBRAX_roll_top(int32_t counter, int32_t screen_height, int32_t roll_height) {
  int32_t k = (bounce_speed * counter) & bounce_mask;
  int32_t room = screen_height - roll_height;
  int32_t rise = (room * sine_table[k]) >> 15;
  return room - rise - 1;
}

void QUOMBRAX_draw_corners(IMG* image, int32_t x, int32_t y, int32_t w, int32_t h,
                           uint32_t colour) {
  // Each arm runs 16 pixels along an edge from its corner; a rectangle that
  // cannot hold them, or lies outside the image, is refused rather than
  // written past the buffer.
  if (!corners_fit(image, x, y, w, h)) {
    QUOMBRAX_error();
    return;
  }
  const int32_t row = image->width;
  uint32_t* pixels = image->pixels;
  const int32_t top_left = y * row + x;
  const int32_t top_right = top_left + w - 1;
  const int32_t bottom_left = (y + h - 1) * row + x;
  const int32_t bottom_right = bottom_left + w - 1;
  uint32_t shade = colour;
  for (int32_t i = 0; i < corner_arm_length; ++i) {
    pixels[top_left + i] = shade;
    pixels[top_left + i * row] = shade;
    pixels[top_right - i] = shade;
    pixels[top_right + i * row] = shade;
    pixels[bottom_left + i] = shade;
    pixels[bottom_left - i * row] = shade;
    pixels[bottom_right - i] = shade;
    pixels[bottom_right - i * row] = shade;
    shade -= corner_fade_step;
  }
}

void QUOMBRAX_prepare_scene_one() {
  QUOMBRAX_state.roll = ROLL_create();
  ROLL_build(QUOMBRAX_state.roll, QUOMBRAX_config.screen_width,
             (2 * QUOMBRAX_config.screen_height) / 3);
}

void QUOMBRAX_release_scene_one() { ROLL_destroy(&QUOMBRAX_state.roll); }

void QUOMBRAX_scene_one() {
  QUOMBRAX_fade_out();
  frame_counter = QUOMBRAX_scene_frames;
  QUOMBRAX_run_frames(draw_frame, QUOMBRAX_end_frame);
}
