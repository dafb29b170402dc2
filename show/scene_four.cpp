#include "imaging/font.h"
#include "imaging/img.h"
#include "show/assets/sine_table.h"
#include "show/quombrax.h"

// Scene four: the logo. A curtain uncovers it from the bottom up; then it
// stands over a colour pattern that shows through its black areas while 32
// symbols swing over it; a melt smears the last picture downward. The only
// scene without the title.

QUOMBRAX_ORBIT QUOMBRAX_orbit = {
    32,  0,  23, 53,  // phase_x1
    111, 21, 51,      // phase_y1
    222, 17, 33,      // phase_x2
    333, 15, 31,      // phase_y2
};

namespace {

// The pattern counts through every (x, k) of a row, k = 3 down to 0, and
// writes column x * k: later writes win, so each column keeps the value of
// its largest usable k.
constexpr int32_t pattern_multiples = 4;
constexpr uint32_t pattern_column_step = 0x10000;
constexpr uint32_t pattern_x_step = 0x100;
constexpr uint32_t pattern_row_step = 1;
constexpr uint32_t pattern_step_per_x = pattern_multiples * pattern_column_step + pattern_x_step;

bool has_pixels(const IMG* image) { return image != nullptr && image->pixels != nullptr; }

// How far the counter has run, relative to the start of the bottom row, when
// the last write to column c is made: (x, k) with x * k = c for the largest k
// that divides c (k = 1 at worst); column 0 is last written by x = 0, k = 0.
uint32_t pattern_column_offset(int32_t c, int32_t width) {
  int32_t x = 0;
  int32_t k = 0;
  if (c != 0) {
    k = c % 3 == 0 ? 3 : (c % 2 == 0 ? 2 : 1);
    x = c / k;
  }
  return static_cast<uint32_t>(width - 1 - x) * pattern_step_per_x +
         static_cast<uint32_t>(pattern_multiples - 1 - k) * pattern_column_step;
}

// Rows are counted bottom up, each a whole row's worth further on than the
// row below it.
void fill_pattern_rows(IMG* image, uint32_t start) {
  const int32_t width = image->width;
  const int32_t height = image->height;
  uint32_t* bottom = image->pixels + static_cast<size_t>(height - 1) * static_cast<size_t>(width);
  for (int32_t c = 0; c < width; ++c) bottom[c] = start + pattern_column_offset(c, width);
  const uint32_t row_step = static_cast<uint32_t>(width) * pattern_step_per_x + pattern_row_step;
  for (int32_t y = height - 2; y >= 0; --y) {
    const uint32_t* below = image->pixels + static_cast<size_t>(y + 1) * static_cast<size_t>(width);
    uint32_t* row = image->pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int32_t c = 0; c < width; ++c) row[c] = below[c] + row_step;
  }
}

void advance(int32_t& phase, int32_t step) { phase = (phase + step) & sine_mask; }

// A large swing round the centre plus a small one of half the reach.
int32_t swing(int32_t large_phase, int32_t small_phase, int32_t centre) {
  return ((sine_table[large_phase] * centre) >> 16) + centre +
         ((sine_table[small_phase] * (centre >> 1)) >> 16);
}

void draw_frame() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  IMG* screen = state.screen_image;
  QUOMBRAX_fill_pattern(QUOMBRAX_pattern_start);
  if (has_pixels(screen)) {
    IMG_blit(state.logo_image, screen, 0, 0, 0, 0, screen->width, screen->height);
  }
  QUOMBRAX_draw_orbit();
}

}  // namespace

void QUOMBRAX_prepare_scene_four() {}

void QUOMBRAX_release_scene_four() {}

void QUOMBRAX_curtain(const IMG* picture) {
  if (picture == nullptr) {
    QUOMBRAX_error();
    return;
  }
  IMG* screen = QUOMBRAX_state.screen_image;
  const int32_t screen_rows = has_pixels(screen) ? screen->height : 0;
  for (int32_t r = picture->height - 1; r >= 0; --r) {
    const int32_t last_row = r < screen_rows ? r : screen_rows - 1;
    for (int32_t row = 0; row <= last_row; ++row) IMG_copy_row(picture, screen, r, row);
    QUOMBRAX_end_frame();
    if (QUOMBRAX_scene_done()) return;  // Space ends only this part
  }
}

void QUOMBRAX_fill_pattern(uint32_t start) {
  IMG* screen = QUOMBRAX_state.screen_image;
  if (!has_pixels(screen)) {
    QUOMBRAX_error();
    return;
  }
  if (screen->width <= 0 || screen->height <= 0) return;
  fill_pattern_rows(screen, start);
}

void QUOMBRAX_draw_orbit() {
  QUOMBRAX_ORBIT& orbit = QUOMBRAX_orbit;
  advance(orbit.phase_x1, orbit.frame_step_x1);
  advance(orbit.phase_y1, orbit.frame_step_y1);
  advance(orbit.phase_x2, orbit.frame_step_x2);
  advance(orbit.phase_y2, orbit.frame_step_y2);
  IMG* screen = QUOMBRAX_state.screen_image;
  if (!has_pixels(screen)) {
    QUOMBRAX_error();
    return;
  }
  const int32_t cx = (screen->width - QUOMBRAX_orbit_symbol_side) >> 1;
  const int32_t cy = (screen->height - QUOMBRAX_orbit_symbol_side) >> 1;
  int32_t a = orbit.phase_x1;
  int32_t b = orbit.phase_y1;
  int32_t c = orbit.phase_x2;
  int32_t d = orbit.phase_y2;
  for (int32_t i = 0; i < orbit.count; ++i) {
    FONT_draw_char(QUOMBRAX_state.large_font, QUOMBRAX_orbit_symbol, swing(a, c, cx),
                   swing(b, d, cy), screen);
    advance(a, orbit.item_step_x1);
    advance(b, orbit.item_step_y1);
    advance(c, orbit.item_step_x2);
    advance(d, orbit.item_step_y2);
  }
}

void QUOMBRAX_melt(IMG* image) {
  if (image == nullptr) {
    QUOMBRAX_error();
    return;
  }
  for (int32_t r = image->height - 1; r >= 0; --r) {
    for (int32_t row = image->height - 1; row > r; --row) IMG_copy_row(image, image, r, row);
    QUOMBRAX_end_frame();
    if (QUOMBRAX_scene_done()) return;  // Space ends only this part
  }
}

void QUOMBRAX_scene_four() {
  QUOMBRAX_fade_out();
  QUOMBRAX_curtain(QUOMBRAX_state.logo_image);
  QUOMBRAX_run_frames(draw_frame, QUOMBRAX_end_frame);
  QUOMBRAX_melt(QUOMBRAX_state.screen_image);
}
