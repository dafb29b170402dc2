// The wobbling title and the frame-rate text, drawn into the screen image.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "imaging/font.h"
#include "platform/capture.h"
#include "platform/fps.h"
#include "show/assets/sine_table.h"
#include "tests/show/show_state.h"
#include "tests/support/frame_compare.h"
#include "tests/support/show_runner.h"

namespace {

constexpr uint32_t background = 0x123456;

// What drawing the 16 x 16 cell of `code` at (x, y) must leave: the cell's
// non-black pixels over what was there, clipped to the destination.
void stamp(const IMG* cells, int32_t code, int32_t x, int32_t y, IMG* dst) {
  const int32_t cell_x = (code % 16) * 16, cell_y = (code / 16) * 16;
  for (int32_t j = 0; j < 16; ++j) {
    for (int32_t i = 0; i < 16; ++i) {
      const uint32_t p = pixel_at(cells, cell_x + i, cell_y + j);
      const int32_t tx = x + i, ty = y + j;
      if (p == 0 || tx < 0 || ty < 0 || tx >= dst->width || ty >= dst->height) continue;
      dst->pixels[ty * dst->width + tx] = p;
    }
  }
}

// The wobble of one phase, floor(entry / 8192): -4 to 3 pixels.
int32_t wobble(uint32_t phase) {
  return static_cast<int32_t>(std::floor(sine_table[phase % 1024] / 8192.0));
}

ImagePtr filled_screen(uint32_t colour) {
  ImagePtr image = black_image(QUOMBRAX_config.screen_width, QUOMBRAX_config.screen_height);
  IMG_fill_rect(image.get(), 0, 0, image->width, image->height, colour);
  return image;
}

// The title of the drawing whose first character has phases (x0, y0).
ImagePtr expected_title(uint32_t x0, uint32_t y0, uint32_t colour) {
  const std::string text = "QUOMBRAZ2010";
  ImagePtr expected = filled_screen(colour);
  for (uint32_t k = 0; k < 12; ++k) {
    const int32_t row = static_cast<int32_t>(k / 4), column = static_cast<int32_t>(k % 4);
    const int32_t x = 16 + 16 * column + wobble(x0 + 32 * k);
    const int32_t y = 16 + 16 * row + wobble(y0 + 37 * k);
    stamp(QUOMBRAX_state.small_font->image, text[k], x, y, expected.get());
  }
  return expected;
}

void fill_screen(uint32_t colour) {
  IMG* screen = QUOMBRAX_state.screen_image;
  IMG_fill_rect(screen, 0, 0, screen->width, screen->height, colour);
}

using Title = ShowState;

TEST_F(Title, EachCharacterWobblesOnItsOwnPhase) {
  struct {
    const char* what;
    uint32_t start_x, start_y;  // the phases before the drawings
    int32_t drawings;
  } const cases[] = {
      {"first drawing: phases 16, 19 then 48, 56", 0, 0, 1},
      {"third drawing", 0, 0, 3},
      {"phases wrap round 2^32", 0xFFFFFFF0u, 0xFFFFFFF0u, 1},
      {"deep into the show", 123456789u, 987654321u, 5},
  };
  QUOMBRAX_build_fonts();
  for (const auto& c : cases) {
    QUOMBRAX_state.title_phase_x = c.start_x;
    QUOMBRAX_state.title_phase_y = c.start_y;
    for (int32_t n = 0; n < c.drawings; ++n) {
      fill_screen(background);
      QUOMBRAX_draw_title();
    }
    const uint32_t x0 = c.start_x + 16u * static_cast<uint32_t>(c.drawings);
    const uint32_t y0 = c.start_y + 19u * static_cast<uint32_t>(c.drawings);
    EXPECT_EQ(QUOMBRAX_state.title_phase_x, x0) << c.what;
    EXPECT_EQ(QUOMBRAX_state.title_phase_y, y0) << c.what;
    ImagePtr expected = expected_title(x0, y0, background);
    EXPECT_FRAME_EQ(QUOMBRAX_state.screen_image, expected) << c.what;
  }
}

// Over a full turn of both waves every lit pixel stays inside the block of
// 4 x 3 cells at (16, 16) widened by the wobble, and the block moves.
TEST_F(Title, StaysWithinFourPixelsOfItsCells) {
  QUOMBRAX_build_fonts();
  const IMG* screen = QUOMBRAX_state.screen_image;
  std::set<std::vector<uint32_t>> pictures;
  for (int32_t n = 0; n < 1024; ++n) {
    fill_screen(0);
    QUOMBRAX_draw_title();
    int32_t lit = 0;
    for (int32_t y = 0; y < screen->height; ++y) {
      for (int32_t x = 0; x < screen->width; ++x) {
        if (pixel_at(screen, x, y) == 0) continue;
        ++lit;
        ASSERT_TRUE(x >= 16 - 4 && x < 16 + 64 + 3 && y >= 16 - 4 && y < 16 + 48 + 3)
            << "drawing " << n << " lit (" << x << ", " << y << ")";
      }
    }
    ASSERT_GT(lit, 0) << "drawing " << n;
    if (n < 64) pictures.insert({screen->pixels, screen->pixels + 256 * 256});
  }
  EXPECT_GT(pictures.size(), 32u);
}

TEST_F(Title, WithoutAFontDrawsNothingButKeepsTime) {
  fill_screen(background);
  QUOMBRAX_draw_title();
  ImagePtr expected = filled_screen(background);
  EXPECT_FRAME_EQ(QUOMBRAX_state.screen_image, expected);
  EXPECT_EQ(QUOMBRAX_state.title_phase_x, 16u);
  EXPECT_EQ(QUOMBRAX_state.title_phase_y, 19u);
}

using FrameRateText = ShowState;

TEST_F(FrameRateText, ShowsTheLowByteOfTheRateInTheBottomLeftCorner) {
  struct {
    int32_t rate;
    int32_t width, height;
    const char* digits;
  } const cases[] = {
      {50, 256, 256, "32"},    {0, 256, 256, "00"},  {255, 256, 256, "FF"},
      {0x1AB, 256, 256, "AB"}, {50, 320, 240, "32"}, {-1, 256, 256, "FF"},
  };
  for (const auto& c : cases) {
    build_screen(c.width, c.height);
    QUOMBRAX_build_fonts();
    QUOMBRAX_config.display_options = QUOMBRAX_frame_rate_option;
    FPS_state.frame_rate = c.rate;
    fill_screen(background);
    QUOMBRAX_draw_frame_rate();
    ImagePtr expected = filled_screen(background);
    stamp(QUOMBRAX_state.small_font->image, c.digits[0], 0, c.height - 16, expected.get());
    stamp(QUOMBRAX_state.small_font->image, c.digits[1], 16, c.height - 16, expected.get());
    EXPECT_FRAME_EQ(QUOMBRAX_state.screen_image, expected)
        << c.rate << " on " << c.width << " x " << c.height;
  }
}

TEST_F(FrameRateText, DrawsNothingWhileKeyEightHasItOff) {
  QUOMBRAX_build_fonts();
  FPS_state.frame_rate = 50;
  for (uint8_t options : {0, 2, 0xFE}) {
    QUOMBRAX_config.display_options = options;
    fill_screen(background);
    QUOMBRAX_draw_frame_rate();
    ImagePtr expected = filled_screen(background);
    EXPECT_FRAME_EQ(QUOMBRAX_state.screen_image, expected) << int{options};
  }
}

// The frame timer run at its target for a few seconds of the virtual clock.
TEST_F(FrameRateText, ASteadyFiftyFramesASecondReads32) {
  QUOMBRAX_build_fonts();
  QUOMBRAX_config.display_options = QUOMBRAX_frame_rate_option;
  FPS_state.target_rate = QUOMBRAX_target_frame_rate;
  for (int32_t frame = 0; frame < 150; ++frame) {
    FPS_tick();
    FPS_wait();
  }
  ASSERT_EQ(FPS_state.frame_rate, 50);
  QUOMBRAX_draw_frame_rate();
  ImagePtr expected = black_image(256, 256);
  stamp(QUOMBRAX_state.small_font->image, '3', 0, 240, expected.get());
  stamp(QUOMBRAX_state.small_font->image, '2', 16, 240, expected.get());
  EXPECT_FRAME_EQ(QUOMBRAX_state.screen_image, expected);
}

// In the running show, key 8 puts the text over every frame until pressed
// again, and changes nothing before it is pressed.
TEST(FrameRateTextInTheShow, KeyEightWritesOverTheFramesItIsOnFor) {
  constexpr int32_t on_after = 80, off_after = 140, quit_after = 160;
  SHOW_OPTIONS plain;
  show_press(plain, quit_after, 'q');
  SHOW_OPTIONS eight;
  show_press(eight, on_after, '8');
  show_press(eight, off_after, '8');
  show_press(eight, quit_after, 'q');
  const SHOW_RUN without = run_show(plain);
  const SHOW_RUN with = run_show(eight);
  ASSERT_TRUE(with.exited);
  ASSERT_EQ(with.frames.size(), without.frames.size());
  ASSERT_GT(with.frames.size(), static_cast<size_t>(off_after));
  for (int32_t n = 1; n <= on_after; ++n) {
    EXPECT_EQ(with.frames[n - 1].hash, without.frames[n - 1].hash) << "frame " << n;
  }
  for (int32_t n = on_after + 1; n <= off_after; ++n) {
    EXPECT_NE(with.frames[n - 1].hash, without.frames[n - 1].hash) << "frame " << n;
    EXPECT_GE(with.frames[n - 1].lit_pixels, without.frames[n - 1].lit_pixels) << "frame " << n;
    EXPECT_EQ(with.frames[n - 1].milliseconds, without.frames[n - 1].milliseconds);
  }
}

}  // namespace
