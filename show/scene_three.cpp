// Scene three: four layers of turning stars fall behind the scroll text,
// which runs along a travelling sine wave; keys A and S set the scroll speed.
// Everything it moves lives in the objects built at start-up, so a later run
// of the scene carries on where the last one stopped.

#include "effects/cursor.h"
#include "effects/scroll.h"
#include "effects/stars.h"
#include "imaging/font.h"
#include "imaging/img.h"
#include "show/assets/scroll_text.h"
#include "show/assets/star_squeeze.h"
#include "show/quombrax.h"

namespace {

// A star sprite is one 32 x 32 cell of the picture sheet; its sheet holds 64
// frames of it, one per cell row, as it turns about its vertical axis.
constexpr int32_t star_side = 32;
constexpr int32_t star_frames = star_squeeze_length;

// Nearest layer first: the biggest sprite, fastest, fewest, and its narrow
// frames darkened a little less than the far layers'.
struct STAR_LAYER_PLAN {
  int32_t sprite_x;     // left edge of the sprite's cell on the sheet's top row
  int32_t fade_factor;  // darkening per column the frame has lost
  int32_t dy;           // 16.16 pixels per frame, downward
  int32_t count;
};

constexpr STAR_LAYER_PLAN star_layer_plans[QUOMBRAX_star_layer_count] = {
    {256, 4, 0x40000, 8},
    {192, 5, 0x30000, 16},
    {128, 5, 0x20000, 32},
    {64, 5, 0x10000, 64},
};

constexpr int32_t strip_height = 32;
constexpr int32_t start_scroll_speed = 6;
constexpr int32_t scroll_speed_mask = 15;  // speeds run 0 ... 15 and wrap
constexpr int32_t wave_base_step = -3;     // the wave travels to the left
constexpr int32_t wave_offset_step = 1;    // a quarter period across 256 columns

constexpr int8_t key_slower = 97;   // "a"
constexpr int8_t key_faster = 115;  // "s"

IMG* cut_sprite(const FONT* sheet_font, int32_t sprite_x) {
  IMG* sprite = IMG_create();
  IMG_resize(sprite, star_side, star_side);
  IMG_blit(sheet_font != nullptr ? sheet_font->image : nullptr, sprite, sprite_x, 0, 0, 0,
           star_side, star_side);
  return sprite;
}

// The sprite squeezed to its frame's width, darker the narrower it is, and
// centred in its cell. An edge-on frame has no columns and stays empty.
void draw_turn_frame(const IMG* sprite, IMG* sheet_image, int32_t frame, int32_t fade_factor) {
  const int32_t w = star_squeeze[frame] < 0 ? -star_squeeze[frame] : star_squeeze[frame];
  if (w == 0) return;
  IMG* squeezed = IMG_create();
  IMG_resize(squeezed, w, star_side);
  IMG_scale(sprite, squeezed);
  IMG_fade(squeezed, static_cast<uint8_t>((star_side - w) * fade_factor));
  IMG_blit(squeezed, sheet_image, 0, 0, (star_side - w) / 2, star_side * frame, star_side,
           star_side);
  IMG_destroy(&squeezed);
}

FONT* build_star_sheet(const STAR_LAYER_PLAN& plan) {
  IMG* sprite = cut_sprite(QUOMBRAX_state.large_font, plan.sprite_x);
  FONT* sheet = FONT_create();
  if (sheet != nullptr) {
    sheet->image = IMG_create();
    sheet->width = star_side;
    sheet->height = star_side;
    IMG_resize(sheet->image, star_side, star_side * star_frames);
    for (int32_t frame = 0; frame < star_frames; ++frame) {
      draw_turn_frame(sprite, sheet->image, frame, plan.fade_factor);
    }
  }
  // Nothing keeps the sprite once its frames are on the sheet.
  IMG_destroy(&sprite);
  return sheet;
}

// Creating a field scatters its 16 default stars and the new count scatters
// again: both draws of rand belong to the show's sequence.
STARS* build_star_layer(const STAR_LAYER_PLAN& plan, FONT* sheet) {
  STARS* layer = STARS_create();
  if (layer == nullptr) return nullptr;
  layer->width = QUOMBRAX_config.screen_width;
  layer->height = QUOMBRAX_config.screen_height;
  layer->dy = plan.dy;
  STARS_set_count(layer, plan.count);
  layer->font = sheet;
  return layer;
}

int32_t screen_image_width() {
  const IMG* screen = QUOMBRAX_state.screen_image;
  return screen != nullptr ? screen->width : 0;
}

int32_t screen_image_height() {
  const IMG* screen = QUOMBRAX_state.screen_image;
  return screen != nullptr ? screen->height : 0;
}

SCROLL* build_scroll(IMG* strip) {
  SCROLL* scroll = SCROLL_create();
  SCROLL_set_text(scroll, scroll_text, QUOMBRAX_state.large_font, strip);
  if (scroll != nullptr) scroll->speed = start_scroll_speed;
  return scroll;
}

CURSOR* build_wave(IMG* strip) {
  CURSOR* cursor = CURSOR_create();
  if (cursor == nullptr) return nullptr;
  const int32_t half_height = screen_image_height() / 2;
  cursor->image = strip;
  cursor->amplitude = half_height;
  cursor->phase.base_step = wave_base_step;
  cursor->phase.offset_step = wave_offset_step;
  cursor->x = 0;
  cursor->y = half_height;
  return cursor;
}

// Far layers first, so the big near stars cover the small ones.
void draw_stars() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  for (int32_t k = QUOMBRAX_star_layer_count - 1; k >= 0; --k) {
    STARS_move(state.star_layers[k]);
    STARS_draw(state.star_layers[k], state.screen_image);
  }
}

void draw_wavy_text() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  IMG_clear(state.scroll_image);
  SCROLL_move(state.scroll);
  SCROLL_draw(state.scroll);
  // The strip's black is transparent: stars show between the letters.
  CURSOR_draw(state.cursor, state.screen_image);
  CURSOR_move(state.cursor);
}

void draw_frame() {
  IMG_clear(QUOMBRAX_state.screen_image);
  draw_stars();
  draw_wavy_text();
  QUOMBRAX_draw_title();
}

// The key is read after the show's own handler and before it is cleared, so
// each press steps the speed once.
void end_frame() {
  QUOMBRAX_end_frame_keep_key();
  QUOMBRAX_step_scroll_speed(QUOMBRAX_last_key());
  QUOMBRAX_reset_key();
}

}  // namespace

void QUOMBRAX_step_scroll_speed(int8_t code) {
  SCROLL* scroll = QUOMBRAX_state.scroll;
  if (scroll == nullptr) return;
  if (code == key_slower) {
    scroll->speed = (scroll->speed - 1) & scroll_speed_mask;
  } else if (code == key_faster) {
    scroll->speed = (scroll->speed + 1) & scroll_speed_mask;
  }
}

void QUOMBRAX_prepare_scene_three() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  for (int32_t k = 0; k < QUOMBRAX_star_layer_count; ++k) {
    state.star_sheets[k] = build_star_sheet(star_layer_plans[k]);
  }
  for (int32_t k = 0; k < QUOMBRAX_star_layer_count; ++k) {
    state.star_layers[k] = build_star_layer(star_layer_plans[k], state.star_sheets[k]);
  }
  state.scroll_image = IMG_create();
  IMG_resize(state.scroll_image, screen_image_width(), strip_height);
  state.scroll = build_scroll(state.scroll_image);
  state.cursor = build_wave(state.scroll_image);
}

// Only the star layers go; the sheets, the strip, the scroller and the wave
// last until the process ends.
void QUOMBRAX_release_scene_three() {
  for (STARS*& layer : QUOMBRAX_state.star_layers) {
    if (layer != nullptr) STARS_destroy(&layer);
  }
}

void QUOMBRAX_scene_three() {
  QUOMBRAX_fade_out();
  QUOMBRAX_run_frames(draw_frame, end_frame);
}
