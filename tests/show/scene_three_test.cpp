// The star scene in this process on the capture back end: what its
// preparation builds, what each frame shows, and what its keys do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "effects/cursor.h"
#include "effects/scroll.h"
#include "effects/stars.h"
#include "imaging/font.h"
#include "imaging/img.h"
#include "platform/capture.h"
#include "show/assets/scroll_text.h"
#include "show/assets/sine_table.h"
#include "show/assets/star_squeeze.h"
#include "show/quombrax.h"
#include "tests/support/frame_compare.h"
#include "tests/support/pixels.h"
#include "tests/support/show_in_process.h"

namespace {

constexpr int32_t cell = 32;  // star sprites, sheet frames and letters
constexpr int32_t sheet_frames = 64;
constexpr int32_t fade_frames = 32;
constexpr int32_t loop_frames_at_most = 1001;
constexpr unsigned seed = 20101022u;

// Per layer, nearest first: the sprite's column on the picture sheet, the
// fade per lost column, the fall per frame and the number of stars.
constexpr int32_t sprite_x[QUOMBRAX_star_layer_count] = {256, 192, 128, 64};
constexpr int32_t layer_dy[QUOMBRAX_star_layer_count] = {0x40000, 0x30000, 0x20000, 0x10000};
constexpr int32_t layer_count[QUOMBRAX_star_layer_count] = {8, 16, 32, 64};

// Scene three's objects built afresh from a known random sequence, the rest
// of the show left as it is.
void prepare_afresh() {
  release_scene_three_whole();
  std::srand(seed);
  QUOMBRAX_prepare_scene_three();
}

// The 32 x 32 block of an image whose top-left pixel is (left, top).
PIXELS block(const IMG* image, int32_t left, int32_t top) {
  PIXELS out;
  for (int32_t y = 0; y < cell; ++y) {
    for (int32_t x = 0; x < cell; ++x) out.push_back(IMG_get_pixel(image, left + x, top + y));
  }
  return out;
}

// A 32 x 32 block as a picture, for EXPECT_FRAME_EQ.
FrameView sprite_frame(const PIXELS& pixels) { return FrameView(pixels, cell); }

PIXELS sheet_frame(int32_t layer, int32_t frame) {
  return block(QUOMBRAX_state.star_sheets[layer]->image, 0, cell * frame);
}

int32_t differing(const PIXELS& a, const PIXELS& b) {
  if (a.size() != b.size()) return -1;
  int32_t count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

int32_t lit(const PIXELS& pixels) {
  int32_t count = 0;
  for (uint32_t p : pixels) count += p != 0;
  return count;
}

uint32_t faded(uint32_t pixel, int32_t amount) {
  uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const int32_t channel = static_cast<int32_t>((pixel >> shift) & 0xFF) - amount;
    out |= static_cast<uint32_t>(channel > 0 ? channel : 0) << shift;
  }
  return out;
}

// A frame of a sheet as the turn makes it: the sprite scaled to w columns,
// darkened by `amount`, centred in an otherwise black cell.
PIXELS expected_turn_frame(int32_t sprite_left, int32_t w, int32_t amount) {
  const IMG* picture = QUOMBRAX_state.large_font->image;
  IMG* sprite = IMG_create();
  IMG_resize(sprite, cell, cell);
  for (int32_t y = 0; y < cell; ++y) {
    for (int32_t x = 0; x < cell; ++x) {
      IMG_put_pixel(sprite, x, y, IMG_get_pixel(picture, sprite_left + x, y));
    }
  }
  IMG* squeezed = IMG_create();
  IMG_resize(squeezed, w, cell);
  IMG_scale(sprite, squeezed);
  PIXELS out(cell * cell, 0);
  const int32_t left = (cell - w) / 2;
  for (int32_t y = 0; y < cell; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      out[y * cell + left + x] = faded(IMG_get_pixel(squeezed, x, y), amount);
    }
  }
  IMG_destroy(&squeezed);
  IMG_destroy(&sprite);
  return out;
}

struct CAPTURED {
  std::vector<PIXELS> screens;
  std::vector<PIXELS> strips;  // the text strip as it was when the frame was shown
};

void keep_frame(void* context, int32_t, const uint32_t* pixels, int32_t width, int32_t height) {
  auto* captured = static_cast<CAPTURED*>(context);
  captured->screens.emplace_back(pixels, pixels + width * height);
  captured->strips.push_back(pixels_of(QUOMBRAX_state.scroll_image));
}

struct PRESS {
  int32_t loop_frame;  // handled at the end of this frame of the scene's loop
  int32_t symbol;
};

// Everything a frame is built from, taken between frames.
struct SNAPSHOT {
  std::vector<int32_t> stars[QUOMBRAX_star_layer_count];
  int32_t scroll_index;
  int32_t scroll_position;
  int32_t scroll_speed;
  int32_t wave_base;
  uint32_t title_phase_x;
  uint32_t title_phase_y;
};

SNAPSHOT snapshot() {
  const QUOMBRAX_STATE& state = QUOMBRAX_state;
  SNAPSHOT s{};
  for (int32_t k = 0; k < QUOMBRAX_star_layer_count; ++k) {
    const STARS* layer = state.star_layers[k];
    s.stars[k].assign(layer->stars, layer->stars + 2 * layer->count);
  }
  s.scroll_index = state.scroll->counter->index;
  s.scroll_position = state.scroll->position;
  s.scroll_speed = state.scroll->speed;
  s.wave_base = state.cursor->phase.base;
  s.title_phase_x = state.title_phase_x;
  s.title_phase_y = state.title_phase_y;
  return s;
}

// The whole show started on a 256 x 256 screen; every test gets scene
// three's objects built afresh.
class SceneThree : public ShowInProcess {
 protected:
  void SetUp() override {
    ShowInProcess::SetUp();
    start(256, 256);
    prepare_afresh();
    QUOMBRAX_state.flags = 0;
    QUOMBRAX_reset_key();
    CAPTURE_on_frame(keep_frame, &captured);
  }

  // Runs the scene, fade included, pressing the keys given and Space after
  // loop frame `loop_frames` (0: no Space, the scene runs out). Keeps the
  // loop's frames only.
  void run_scene(int32_t loop_frames, std::vector<PRESS> presses = {}) {
    const int32_t first = CAPTURE_frames_presented() + fade_frames;
    for (const PRESS& press : presses) {
      ASSERT_EQ(CAPTURE_press(first + press.loop_frame, press.symbol), 1);
    }
    if (loop_frames > 0) {
      ASSERT_EQ(CAPTURE_press(first + loop_frames, ' '), 1);
    }
    captured = CAPTURED{};
    QUOMBRAX_scene_three();
    ASSERT_GE(captured.screens.size(), static_cast<size_t>(fade_frames));
    captured.screens.erase(captured.screens.begin(), captured.screens.begin() + fade_frames);
    captured.strips.erase(captured.strips.begin(), captured.strips.begin() + fade_frames);
  }

  CAPTURED captured;
};

TEST_F(SceneThree, EachStarSheetTurnsItsOwnSpriteAboutItsVerticalAxis) {
  const QUOMBRAX_STATE& state = QUOMBRAX_state;
  for (int32_t k = 0; k < QUOMBRAX_star_layer_count; ++k) {
    const FONT* sheet = state.star_sheets[k];
    ASSERT_NE(sheet, nullptr) << k;
    ASSERT_NE(sheet->image, nullptr) << k;
    EXPECT_EQ(sheet->width, cell);
    EXPECT_EQ(sheet->height, cell);
    EXPECT_EQ(sheet->image->width, cell);
    EXPECT_EQ(sheet->image->height, cell * sheet_frames);
    const PIXELS sprite = block(state.large_font->image, sprite_x[k], 0);
    ASSERT_GT(lit(sprite), 0) << "the picture sheet has a star at x " << sprite_x[k];
    for (int32_t face_on : {14, 15, 16}) {
      EXPECT_FRAME_EQ(sprite_frame(sheet_frame(k, face_on)), sprite_frame(sprite))
          << k << " frame " << face_on;
    }
    for (int32_t edge_on : {31, 63}) {
      EXPECT_EQ(lit(sheet_frame(k, edge_on)), 0) << k << " frame " << edge_on;
    }
    for (int32_t i = 0; i < sheet_frames / 2; ++i) {
      EXPECT_FRAME_EQ(sprite_frame(sheet_frame(k, i)), sprite_frame(sheet_frame(k, i + 32)))
          << k << ": the back half of the turn shows the front half, frame " << i;
    }
    for (int32_t i = 0; i <= 30; ++i) {
      EXPECT_FRAME_EQ(sprite_frame(sheet_frame(k, i)), sprite_frame(sheet_frame(k, 30 - i)))
          << k << ": widening and narrowing match, frame " << i;
    }
  }
  EXPECT_NE(differing(sheet_frame(0, 15), sheet_frame(3, 15)), 0) << "near and far stars differ";
}

TEST_F(SceneThree, NarrowFramesAreSqueezedDarkenedAndCentred) {
  struct CASE {
    int32_t layer;
    int32_t frame;
    int32_t width;
    int32_t fade;
  } cases[] = {
      {0, 0, 3, 116},  {1, 0, 3, 145},  {3, 30, 3, 145}, {0, 6, 20, 48},
      {2, 10, 28, 20}, {1, 40, 25, 35}, {3, 45, 31, 5},  {0, 51, 30, 8},
  };
  int32_t lit_expected = 0;
  for (const CASE& c : cases) {
    EXPECT_EQ(std::abs(star_squeeze[c.frame]), c.width) << c.frame;
    const PIXELS expected = expected_turn_frame(sprite_x[c.layer], c.width, c.fade);
    lit_expected += lit(expected);
    EXPECT_FRAME_EQ(sprite_frame(sheet_frame(c.layer, c.frame)), sprite_frame(expected))
        << "layer " << c.layer << " frame " << c.frame;
  }
  EXPECT_GT(lit_expected, 0) << "the cases must show something";
}

TEST_F(SceneThree, StarLayersScatterFromTheSharedRandomSequence) {
  const QUOMBRAX_STATE& state = QUOMBRAX_state;
  std::srand(seed);
  for (int32_t k = 0; k < QUOMBRAX_star_layer_count; ++k) {
    const STARS* layer = state.star_layers[k];
    ASSERT_NE(layer, nullptr);
    for (int32_t i = 0; i < 32; ++i) std::rand();  // the 16 default stars of a new field
    ASSERT_EQ(layer->count, layer_count[k]);
    for (int32_t i = 0; i < layer->count; ++i) {
      const int32_t x = std::rand() % 256;
      const int32_t y = std::rand() % 256;
      EXPECT_EQ(layer->stars[2 * i], x << 16) << k << " star " << i;
      EXPECT_EQ(layer->stars[2 * i + 1], y << 16) << k << " star " << i;
    }
    EXPECT_EQ(layer->dx, 0);
    EXPECT_EQ(layer->dy, layer_dy[k]);
    EXPECT_EQ(layer->colour, 0xFFFFFFu);
    EXPECT_EQ(layer->font, state.star_sheets[k]);
    EXPECT_EQ(layer->width, 256);
    EXPECT_EQ(layer->height, 256);
  }
  const int next = std::rand();
  prepare_afresh();
  EXPECT_EQ(std::rand(), next) << "preparation draws nothing more";
}

void expect_text_and_wave_for(int32_t width, int32_t height) {
  const QUOMBRAX_STATE& state = QUOMBRAX_state;
  ASSERT_NE(state.scroll_image, nullptr);
  EXPECT_EQ(state.scroll_image->width, width);
  EXPECT_EQ(state.scroll_image->height, cell);
  const SCROLL* scroll = state.scroll;
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->text, scroll_text);
  EXPECT_EQ(scroll->font, state.large_font);
  EXPECT_EQ(scroll->target, state.scroll_image);
  EXPECT_EQ(scroll->width, width);
  EXPECT_EQ(scroll->speed, 6);
  EXPECT_EQ(scroll->position, 0);
  EXPECT_EQ(scroll->counter->index, 0);
  EXPECT_EQ(scroll->counter->size, 1577);
  const CURSOR* cursor = state.cursor;
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->image, state.scroll_image);
  EXPECT_EQ(cursor->x, 0);
  EXPECT_EQ(cursor->y, height / 2);
  EXPECT_EQ(cursor->amplitude, height / 2);
  EXPECT_EQ(cursor->phase.size, 1024);
  EXPECT_EQ(cursor->phase.base_step, -3);
  EXPECT_EQ(cursor->phase.offset_step, 1);
  for (const STARS* layer : state.star_layers) {
    EXPECT_EQ(layer->width, width);
    EXPECT_EQ(layer->height, height);
  }
}

TEST_F(SceneThree, TheTextStripAndTheWaveFollowTheScreenSize) {
  expect_text_and_wave_for(256, 256);
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  const QUOMBRAX_CONFIG kept_config = QUOMBRAX_config;
  IMG* kept_screen = state.screen_image;
  IMG* other_screen = IMG_create();
  IMG_resize(other_screen, 320, 241);
  state.screen_image = other_screen;
  QUOMBRAX_config.screen_width = 320;
  QUOMBRAX_config.screen_height = 241;
  prepare_afresh();
  expect_text_and_wave_for(320, 241);
  state.screen_image = kept_screen;
  QUOMBRAX_config = kept_config;
  IMG_destroy(&other_screen);
  prepare_afresh();
}

TEST_F(SceneThree, ReleaseFreesTheStarLayersAndKeepsTheRest) {
  QUOMBRAX_release_scene_three();
  const QUOMBRAX_STATE& state = QUOMBRAX_state;
  for (const STARS* layer : state.star_layers) EXPECT_EQ(layer, nullptr);
  for (const FONT* sheet : state.star_sheets) EXPECT_NE(sheet, nullptr);
  EXPECT_NE(state.scroll_image, nullptr);
  EXPECT_NE(state.scroll, nullptr);
  EXPECT_NE(state.cursor, nullptr);
  QUOMBRAX_release_scene_three();  // a second release finds nothing to free
  for (const STARS* layer : state.star_layers) EXPECT_EQ(layer, nullptr);
}

TEST_F(SceneThree, TheSpeedKeysStepTheScrollSpeedModuloSixteen) {
  struct CASE {
    int32_t speed;
    int8_t code;
    int32_t after;
  } cases[] = {
      {6, 115, 7}, {6, 97, 5}, {0, 97, 15}, {15, 115, 0}, {20, 115, 5}, {6, 83, 6},
      {6, 65, 6},  {6, 32, 6}, {6, 0, 6},   {6, -97, 6},  {1, 97, 0},
  };
  for (const CASE& c : cases) {
    QUOMBRAX_state.scroll->speed = c.speed;
    QUOMBRAX_step_scroll_speed(c.code);
    EXPECT_EQ(QUOMBRAX_state.scroll->speed, c.after) << c.speed << " " << int(c.code);
  }
}

TEST_F(SceneThree, LeftAloneItShows1001FramesAfterItsFade) {
  run_scene(0);
  EXPECT_EQ(captured.screens.size(), static_cast<size_t>(loop_frames_at_most));
  EXPECT_EQ(QUOMBRAX_state.flags, 0u);
  // 6 pixels a frame for 1001 frames: 6006 pixels, 187 cells and 22 pixels.
  EXPECT_EQ(QUOMBRAX_state.scroll->counter->index, 187);
  EXPECT_EQ(QUOMBRAX_state.scroll->position, 22);
}

TEST_F(SceneThree, TenFasterPressesFromSixWrapToZeroAndOneSlowerGivesFifteen) {
  std::vector<PRESS> presses;
  for (int32_t frame = 1; frame <= 10; ++frame) presses.push_back({frame, 's'});
  presses.push_back({11, 'a'});
  run_scene(12, presses);
  ASSERT_EQ(captured.screens.size(), 12u);
  EXPECT_EQ(QUOMBRAX_state.scroll->speed, 15);
  // Frames 1 to 10 move 6 to 15 pixels, frame 11 stands still, frame 12
  // moves 15: 120 pixels, three cells and 24 pixels.
  EXPECT_EQ(QUOMBRAX_state.scroll->counter->index, 3);
  EXPECT_EQ(QUOMBRAX_state.scroll->position, 24);
  EXPECT_EQ(QUOMBRAX_last_key(), 0);
}

TEST_F(SceneThree, OnePressStepsTheSpeedOnce) {
  run_scene(5, {{1, 's'}});
  EXPECT_EQ(QUOMBRAX_state.scroll->speed, 7);
  // 6, then four frames of 7: 34 pixels.
  EXPECT_EQ(QUOMBRAX_state.scroll->counter->index, 1);
  EXPECT_EQ(QUOMBRAX_state.scroll->position, 2);
}

// Builds the frame that must follow `before` from the algorithm: far stars
// first, then the text strip bent along the wave, then the title.
PIXELS expected_frame(const SNAPSHOT& before) {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  const int32_t width = state.screen_image->width;
  const int32_t height = state.screen_image->height;
  IMG* expected = IMG_create();
  IMG_resize(expected, width, height);
  for (int32_t k = QUOMBRAX_star_layer_count - 1; k >= 0; --k) {
    const STARS* layer = state.star_layers[k];
    for (int32_t i = 0; i < layer->count; ++i) {
      const int32_t x = layer->stars[2 * i];
      const int32_t y = layer->stars[2 * i + 1];
      const int32_t fallen = before.stars[k][2 * i + 1] + layer->dy;
      if ((fallen >> 16) < height) {
        EXPECT_EQ(x, before.stars[k][2 * i]) << k << " star " << i;
        EXPECT_EQ(y, fallen) << k << " star " << i;
      } else {
        EXPECT_EQ(y, 0) << k << " star " << i << " comes back on the top row";
        EXPECT_EQ(x & 0xFFFF, 0);
        EXPECT_LT(x >> 16, width);
      }
      FONT_draw_char(state.star_sheets[k], (y >> 16) % sheet_frames, (x >> 16) - 16, (y >> 16) - 16,
                     expected);
    }
  }
  const SCROLL* scroll = state.scroll;
  const int32_t size = scroll->counter->size;
  const int32_t moved = before.scroll_position + before.scroll_speed;
  EXPECT_EQ(scroll->counter->index, (before.scroll_index + moved / cell) % size);
  EXPECT_EQ(scroll->position, moved % cell);
  IMG* strip = IMG_create();
  IMG_resize(strip, width, cell);
  for (int32_t c = 0; c < width / cell + 2; ++c) {
    const auto code = static_cast<signed char>(scroll_text[(scroll->counter->index + c) % size]);
    FONT_draw_char(state.large_font, code, c * cell - scroll->position, 0, strip);
  }
  EXPECT_GT(lit(pixels_of(strip)), 0) << "the window shows letters";
  for (int32_t column = 0; column < width; ++column) {
    const int32_t phase = (before.wave_base + column + 1) % sine_length;
    const int32_t top = height / 2 + ((height / 2 * sine_table[phase]) >> 16);
    for (int32_t row = 0; row < cell; ++row) {
      const uint32_t p = IMG_get_pixel(strip, column, row);
      if (p != 0) IMG_put_pixel(expected, column, (top + row) % height, p);
    }
  }
  EXPECT_EQ(state.cursor->phase.base, (before.wave_base + sine_length - 3) % sine_length);
  // The title is the fonts' work; drawn from the same phases it must lie on top.
  const uint32_t after_x = state.title_phase_x;
  const uint32_t after_y = state.title_phase_y;
  state.title_phase_x = before.title_phase_x;
  state.title_phase_y = before.title_phase_y;
  IMG* screen = state.screen_image;
  state.screen_image = expected;
  QUOMBRAX_draw_title();
  state.screen_image = screen;
  EXPECT_EQ(state.title_phase_x, after_x);
  EXPECT_EQ(state.title_phase_y, after_y);
  PIXELS out = pixels_of(expected);
  IMG_destroy(&strip);
  IMG_destroy(&expected);
  return out;
}

TEST_F(SceneThree, EachFrameIsStarsThenTheWavyTextThenTheTitle) {
  run_scene(60);  // the opening separator has scrolled by; letters are in view
  for (int32_t round = 0; round < 3; ++round) {
    const SNAPSHOT before = snapshot();
    run_scene(1);
    ASSERT_EQ(captured.screens.size(), 1u);
    const PIXELS expected = expected_frame(before);
    EXPECT_FRAME_EQ(on_screen(captured.screens[0]), on_screen(expected)) << "round " << round;
  }
}

TEST_F(SceneThree, AtSpeedZeroTheTextStandsWhileTheWaveMoves) {
  run_scene(60);
  QUOMBRAX_state.scroll->speed = 0;
  const SNAPSHOT before = snapshot();
  run_scene(3);
  ASSERT_EQ(captured.strips.size(), 3u);
  EXPECT_GT(lit(captured.strips[0]), 0);
  EXPECT_FRAME_EQ(on_screen(captured.strips[0]), on_screen(captured.strips[1]));
  EXPECT_FRAME_EQ(on_screen(captured.strips[1]), on_screen(captured.strips[2]));
  EXPECT_NE(differing(captured.screens[0], captured.screens[1]), 0);
  EXPECT_EQ(QUOMBRAX_state.scroll->counter->index, before.scroll_index);
  EXPECT_EQ(QUOMBRAX_state.scroll->position, before.scroll_position);
  EXPECT_EQ(QUOMBRAX_state.cursor->phase.base, (before.wave_base + 3 * (1024 - 3)) % 1024);
  QUOMBRAX_state.scroll->speed = 6;
  run_scene(2);
  EXPECT_NE(differing(captured.strips[0], captured.strips[1]), 0) << "moving again";
}

TEST_F(SceneThree, ALaterRunCarriesOnWhereTheLastStopped) {
  run_scene(50, {{10, 's'}});
  const SNAPSHOT before = snapshot();
  run_scene(20);
  // 10 frames at 6 and 40 at 7 (340 pixels), then 20 more at 7: 480 pixels.
  EXPECT_EQ(QUOMBRAX_state.scroll->speed, 7);
  EXPECT_EQ(QUOMBRAX_state.scroll->counter->index, 15);
  EXPECT_EQ(QUOMBRAX_state.scroll->position, 0);
  EXPECT_EQ(QUOMBRAX_state.cursor->phase.base, 1024 - 3 * 70);
  const STARS* slowest = QUOMBRAX_state.star_layers[3];
  int32_t carried_on = 0;
  for (int32_t i = 0; i < slowest->count; ++i) {
    carried_on += slowest->stars[2 * i + 1] == before.stars[3][2 * i + 1] + 20 * 0x10000;
  }
  EXPECT_GT(carried_on, 0) << "stars fall on from where they were";
}

TEST_F(SceneThree, TheBentTextStaysBetweenRows64And222) {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  // Without stars and title, every lit pixel is text.
  FONT* kept_small_font = state.small_font;
  state.small_font = nullptr;
  for (STARS* layer : state.star_layers) layer->font = nullptr;
  state.scroll->speed = 15;
  run_scene(342);  // one whole period of the wave
  state.small_font = kept_small_font;
  int32_t top = 256;
  int32_t bottom = -1;
  for (const PIXELS& screen : captured.screens) {
    for (int32_t i = 0; i < 256 * 256; ++i) {
      if (screen[i] == 0) continue;
      top = std::min(top, i / 256);
      bottom = std::max(bottom, i / 256);
    }
  }
  EXPECT_GE(top, 64);
  EXPECT_LE(bottom, 222);
  EXPECT_LT(top, 96) << "the wave reaches up";
  EXPECT_GT(bottom, 190) << "and down";
}

}  // namespace
