#pragma once

#include <cstdint>

#include "containers/module_id.h"

struct BYTEMAP;
struct CURSOR;
struct FONT;
struct IMG;
struct MUSIC;
struct ROLL;
struct SAMPLE;
struct SCROLL;
struct SDLDPY;
struct SDLDPY_AUDIO;
struct SDLDPY_KEYS;
struct STARS;

// The show: start-up, the five scenes in their endless order, the shared end
// of every frame, the fade between scenes, the keys and shutdown. All of its
// state is module-level, one instance for the process, on the main thread.

// Compiled-in settings, changed at run time only as noted.
struct QUOMBRAX_CONFIG {
  int32_t screen_width;     // 256; start-up replaces it with what the display got
  int32_t screen_height;    // 256; likewise
  uint8_t option_1;         // bit 0 flipped by key "1"
  uint8_t option_2;         // bit 0 flipped by key "2"
  uint8_t options_4_5;      // bit 0 flipped by key "4", bit 1 by key "5"
  uint8_t display_options;  // bit 0: frame-rate text (key "8"); bit 1: paced (key "9")
};

constexpr int32_t QUOMBRAX_star_layer_count = 4;

// Everything the show builds, zero or null at process start.
struct QUOMBRAX_STATE {
  uint32_t flags;  // QUOMBRAX_quit_flag, QUOMBRAX_next_scene_flag
  IMG* screen_image;
  SDLDPY* display;
  SDLDPY_KEYS* keys;
  // Shared assets.
  BYTEMAP* screen_map;
  SAMPLE* palette;
  IMG* logo_image;
  IMG* roll_texture;
  // Fonts and the title.
  FONT* small_font;
  FONT* large_font;
  uint32_t title_phase_x;  // wrap modulo 2^32; read through the sine mask only
  uint32_t title_phase_y;
  // Sound.
  SDLDPY_AUDIO* audio;  // null when no sound device could be opened
  MUSIC* music;
  // Scene one.
  ROLL* roll;
  // Scene two.
  IMG* corner_image;
  // Scene three.
  FONT* star_sheets[QUOMBRAX_star_layer_count];
  STARS* star_layers[QUOMBRAX_star_layer_count];
  IMG* scroll_image;
  SCROLL* scroll;
  CURSOR* cursor;
};

constexpr uint32_t QUOMBRAX_quit_flag = 1;
constexpr uint32_t QUOMBRAX_next_scene_flag = 2;
constexpr uint8_t QUOMBRAX_frame_rate_option = 1;
constexpr uint8_t QUOMBRAX_paced_option = 2;
constexpr int32_t QUOMBRAX_target_frame_rate = 50;
constexpr uint32_t QUOMBRAX_seed = 0xFACE5718u;
// A scene's frame loop counts down from here to 0: 1001 frames at most.
constexpr int32_t QUOMBRAX_scene_frames = 1000;
constexpr int32_t QUOMBRAX_fade_steps = 32;
constexpr uint8_t QUOMBRAX_fade_amount = 8;

extern QUOMBRAX_CONFIG QUOMBRAX_config;
extern QUOMBRAX_STATE QUOMBRAX_state;

extern const MODULE_ID QUOMBRAX_id;

// Prints "QUOMBRAX Error.\n" while the report switch is on (it starts off).
void QUOMBRAX_error();
void QUOMBRAX_set_error_report(int32_t on);

// The entry point's work: start-up, then the scenes for ever. Never returns;
// the process ends in QUOMBRAX_shut_down.
[[noreturn]] void QUOMBRAX_run();
void QUOMBRAX_start_up();
[[noreturn]] void QUOMBRAX_shut_down();
// Shutdown's releases in their order, without the fade and the exit.
void QUOMBRAX_release_all();

// The end of every frame: pace, frame-rate text, present, music, keys, key
// handling, key reset. Scene three does the first seven steps, reads the key
// for its own, then resets it, so the steps are also offered in two halves.
void QUOMBRAX_end_frame();
void QUOMBRAX_end_frame_keep_key();
void QUOMBRAX_reset_key();
// The key code of this frame, as the key handler sees it.
int8_t QUOMBRAX_last_key();

void QUOMBRAX_fade_out();
void QUOMBRAX_handle_key(int8_t code);

// After a frame: 1 when the scene must end (quit or next scene asked for),
// and then the next-scene request is cleared for the scene that follows.
int32_t QUOMBRAX_scene_done();
// The frame loop every scene shares: draws and ends up to 1001 frames,
// leaving early as QUOMBRAX_scene_done says. `end_frame` is
// QUOMBRAX_end_frame unless the scene needs its own.
void QUOMBRAX_run_frames(void (*draw_frame)(), void (*end_frame)());

// The five scenes, and their preparation (start-up) and release (shutdown).
void QUOMBRAX_scene_one();
void QUOMBRAX_scene_two();
void QUOMBRAX_scene_three();
void QUOMBRAX_scene_four();
void QUOMBRAX_scene_five();
void QUOMBRAX_prepare_scene_one();
void QUOMBRAX_prepare_scene_two();
void QUOMBRAX_prepare_scene_three();
void QUOMBRAX_prepare_scene_four();
void QUOMBRAX_prepare_scene_five();
void QUOMBRAX_release_scene_one();
void QUOMBRAX_release_scene_two();
void QUOMBRAX_release_scene_three();
void QUOMBRAX_release_scene_four();
void QUOMBRAX_release_scene_five();

// Scene three's own key step, between the key handler and the key reset:
// "a" lowers the scroll speed and "s" raises it, both modulo 16.
void QUOMBRAX_step_scroll_speed(int8_t code);

// Scene one's pieces. The row where the bouncing roll's top stands for a
// frame counter. Corner brackets: an L of two 16-pixel arms at each corner of
// the rectangle, `colour` at the corner and 4 darker per channel per pixel
// outward; a rectangle under 16 x 16 or outside the image is refused.
int32_t QUOMBRAX_roll_top(int32_t counter, int32_t screen_height, int32_t roll_height);
void QUOMBRAX_draw_corners(IMG* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
// Scene two's pattern. Nested rectangles into the screen map, each level 16
// above its parent; then rings of radius 0 to `largest_radius`, valued by radius.
void QUOMBRAX_subdivide(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value);
// A rectangle of the screen map.
struct QUOMBRAX_RECT {
  int32_t x, y, w, h;
};
// The four quarters of a rectangle (top left, top right, bottom left, bottom
// right), each shrunk by a pixel on every side, so a line of the parent's
// value stays round its edge and as a cross between them. Scenes two and
// five nest their rectangles this way.
void QUOMBRAX_inner_quarters(QUOMBRAX_RECT parent, QUOMBRAX_RECT quarters[4]);
void QUOMBRAX_draw_rings(BYTEMAP* map, int32_t cx, int32_t cy, int32_t largest_radius);

// Shared assets: the screen map and palette (start-up), the screen-sized
// pictures (later in start-up), and their release at shutdown.
void QUOMBRAX_build_screen_map_and_palette();
void QUOMBRAX_build_pictures();
void QUOMBRAX_destroy_shared_assets();

// Fonts, title and the frame-rate text.
void QUOMBRAX_build_fonts();
void QUOMBRAX_destroy_fonts();
void QUOMBRAX_draw_title();
void QUOMBRAX_draw_frame_rate();

// Sound: the generator set up at start-up and fed once per frame.
void QUOMBRAX_set_up_music();
void QUOMBRAX_feed_music();

// Scene four: the logo opened by a curtain, held over a standing colour
// pattern under 32 orbiting symbols, then melted away.
// The symbols' path. Its phases are sine-table indexes that run on from one
// run of the scene to the next; nothing resets them.
struct QUOMBRAX_ORBIT {
  int32_t count;                                  // symbols drawn per frame
  int32_t phase_x1, frame_step_x1, item_step_x1;  // large horizontal swing
  int32_t phase_y1, frame_step_y1, item_step_y1;  // large vertical swing
  int32_t phase_x2, frame_step_x2, item_step_x2;  // small horizontal swing
  int32_t phase_y2, frame_step_y2, item_step_y2;  // small vertical swing
};
extern QUOMBRAX_ORBIT QUOMBRAX_orbit;
// The large-font cell every orbiting symbol shows, and its side.
constexpr int32_t QUOMBRAX_orbit_symbol = 23;
constexpr int32_t QUOMBRAX_orbit_symbol_side = 32;
// Where the scene's pattern starts counting; any fixed value would do.
constexpr uint32_t QUOMBRAX_pattern_start = 0x00203040u;
// One frame per row of `picture`, bottom up: each row fills the screen from
// the top down to itself. Space (or quit) ends it early.
void QUOMBRAX_curtain(const IMG* picture);
// The standing pattern over the whole screen image, counted from `start`.
void QUOMBRAX_fill_pattern(uint32_t start);
// Moves the orbit on by one frame and draws its symbols.
void QUOMBRAX_draw_orbit();
// One frame per row of `image`, bottom up: each row is smeared over every
// row below it. Space (or quit) ends it early.
void QUOMBRAX_melt(IMG* image);

// Scene five: fills the rectangle into the screen map and shows it as a
// frame of its own, then, unless the scene is asked to end, does the same
// for its four shrunken quarters, depth first.
void QUOMBRAX_subdivide_framed(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value);
