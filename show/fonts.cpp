// The show's two fonts, the wobbling title and the frame-rate counter.

#include "imaging/font.h"
#include "imaging/img.h"
#include "platform/fps.h"
#include "show/assets/pictures.h"
#include "show/assets/sine_table.h"
#include "show/quombrax.h"

namespace {

constexpr int32_t small_cell_side = 16;  // the 8 x 8 bitmap cells, doubled
constexpr int32_t large_cell_side = 32;

// Three rows of four characters; each character follows its own point of
// two sine waves, so the block ripples instead of sliding as one piece.
struct TITLE {
  const char* text;
  int32_t x_step_per_frame;
  int32_t x_step_per_character;
  int32_t y_step_per_frame;
  int32_t y_step_per_character;
};

constexpr TITLE title = {"QUOMBRAZ2010", 16, 32, 19, 37};
constexpr int32_t title_rows = 3;
constexpr int32_t title_columns = 4;
// The block's top-left cell sits one cell in from the screen's corner.
constexpr int32_t title_margin = 16;
// Sine entries shifted down by 13 give offsets of -4 to 3 pixels.
constexpr int32_t title_wobble_shift = 13;

// A gradient that repeats in every 16 x 16 cell: red grows to the right,
// green downward, blue shrinks downward. On a cell's top row the blue term
// is 0x100 and spills into green, as it always has.
uint32_t cell_tint(int32_t x, int32_t y) {
  const uint32_t cx = static_cast<uint32_t>(x % small_cell_side);
  const uint32_t cy = static_cast<uint32_t>(y % small_cell_side);
  return (cx << 20) | (cy << 12) | ((small_cell_side - cy) << 4);
}

IMG* tint_image(int32_t width, int32_t height) {
  IMG* tint = IMG_create();
  IMG_resize(tint, width, height);
  if (tint == nullptr || tint->pixels == nullptr) return tint;
  for (int32_t y = 0; y < tint->height; ++y) {
    uint32_t* row = tint->pixels + static_cast<size_t>(y) * static_cast<size_t>(tint->width);
    for (int32_t x = 0; x < tint->width; ++x) row[x] = cell_tint(x, y);
  }
  return tint;
}

// Doubling the white-on-black bitmap and masking it with the gradient gives
// every glyph the same colours at the same places of its cell.
IMG* tinted_double_of_bitmap() {
  IMG* bitmap = IMG_parse(font_bitmap_pnm, font_bitmap_pnm_size);
  IMG* image = IMG_create();
  if (bitmap != nullptr) IMG_resize(image, 2 * bitmap->width, 2 * bitmap->height);
  IMG_scale(bitmap, image);
  IMG_destroy(&bitmap);
  if (image == nullptr) return nullptr;
  IMG* tint = tint_image(image->width, image->height);
  IMG_mask(tint, image);
  IMG_destroy(&tint);
  return image;
}

FONT* build_small_font() {
  FONT* font = FONT_create();
  if (font == nullptr) return nullptr;
  font->image = tinted_double_of_bitmap();
  font->width = small_cell_side;
  font->height = small_cell_side;
  return font;
}

FONT* build_large_font() {
  FONT* font = FONT_create();
  if (font == nullptr) return nullptr;
  font->image = IMG_parse(picture_sheet_pnm, picture_sheet_pnm_size);
  font->width = large_cell_side;
  font->height = large_cell_side;
  return font;
}

int32_t title_wobble(uint32_t phase) {
  return sine_table[phase & static_cast<uint32_t>(sine_mask)] >> title_wobble_shift;
}

}  // namespace

void QUOMBRAX_build_fonts() {
  QUOMBRAX_state.small_font = build_small_font();
  QUOMBRAX_state.large_font = build_large_font();
}

void QUOMBRAX_destroy_fonts() {
  FONT_destroy(&QUOMBRAX_state.small_font);
  FONT_destroy(&QUOMBRAX_state.large_font);
}

// The phases are never reset: the title keeps its wobble from scene to scene.
void QUOMBRAX_draw_title() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  state.title_phase_x += static_cast<uint32_t>(title.x_step_per_frame);
  state.title_phase_y += static_cast<uint32_t>(title.y_step_per_frame);
  uint32_t px = state.title_phase_x;
  uint32_t py = state.title_phase_y;
  for (int32_t row = 0; row < title_rows; ++row) {
    for (int32_t column = 0; column < title_columns; ++column) {
      const signed char code = title.text[row * title_columns + column];
      const int32_t x = small_cell_side * column + title_wobble(px) + title_margin;
      const int32_t y = small_cell_side * row + title_wobble(py) + title_margin;
      FONT_draw_char(state.small_font, code, x, y, state.screen_image);
      px += static_cast<uint32_t>(title.x_step_per_character);
      py += static_cast<uint32_t>(title.y_step_per_character);
    }
  }
}

// Two hexadecimal digits in the bottom-left corner, over the finished
// picture, while key 8 has them on: a steady 50 reads "32".
void QUOMBRAX_draw_frame_rate() {
  if ((QUOMBRAX_config.display_options & QUOMBRAX_frame_rate_option) == 0) return;
  const uint8_t rate = static_cast<uint8_t>(FPS_state.frame_rate & 0xFF);
  FONT_draw_hex8(QUOMBRAX_state.small_font, rate, 0,
                 QUOMBRAX_config.screen_height - small_cell_side, QUOMBRAX_state.screen_image);
}
