// Scene four in this process on the capture back end: the curtain, the
// pattern, the orbit, the melt, and the scene with its three parts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "imaging/font.h"
#include "imaging/img.h"
#include "platform/capture.h"
#include "show/assets/sine_table.h"
#include "show/quombrax.h"
#include "tests/support/frame_compare.h"
#include "tests/support/output_capture.h"
#include "tests/support/show_in_process.h"

namespace {

constexpr int32_t fade_frames = 32;
constexpr int32_t loop_frames = 1001;
constexpr uint32_t top_left_mark = 0xFF0000;
constexpr uint32_t bottom_right_mark = 0x00FF00;
constexpr uint32_t other_cells = 0x0000FF;

// The pattern as it is defined: every write made one pixel at a time, in
// order, the later ones winning.
void counted_pattern(IMG* image, uint32_t v) {
  for (int32_t y = image->height - 1; y >= 0; --y) {
    for (int32_t x = image->width - 1; x >= 0; --x) {
      for (int32_t k = 3; k >= 0; --k) {
        IMG_put_pixel(image, x * k, y, v);
        v += 0x10000;
      }
      v += 0x100;
    }
    v += 1;
  }
}

IMG* image_of(int32_t width, int32_t height, uint32_t colour) {
  IMG* image = IMG_create();
  IMG_resize(image, width, height);
  IMG_fill_rect(image, 0, 0, width, height, colour);
  return image;
}

// A 512 x 256 sheet of 32 x 32 cells: the symbol's cell is black but for a
// mark in its top-left and bottom-right corners; every other cell is blue.
IMG* marked_symbol_sheet() {
  IMG* sheet = image_of(512, 256, other_cells);
  const int32_t x = (QUOMBRAX_orbit_symbol % 16) * 32;
  const int32_t y = (QUOMBRAX_orbit_symbol / 16) * 32;
  IMG_fill_rect(sheet, x, y, 32, 32, 0);
  IMG_put_pixel(sheet, x, y, top_left_mark);
  IMG_put_pixel(sheet, x + 31, y + 31, bottom_right_mark);
  return sheet;
}

struct SPOT {
  int32_t x;
  int32_t y;
};

// The symbols' corners in the given frame of the orbit (frames counted from
// 1 after the initial phases).
std::vector<SPOT> orbit_spots(int32_t frame, int32_t width, int32_t height) {
  const int32_t cx = (width - 32) >> 1;
  const int32_t cy = (height - 32) >> 1;
  int32_t a = (0 + 23 * frame) & 1023;
  int32_t b = (111 + 21 * frame) & 1023;
  int32_t c = (222 + 17 * frame) & 1023;
  int32_t d = (333 + 15 * frame) & 1023;
  std::vector<SPOT> spots;
  for (int32_t i = 0; i < 32; ++i) {
    spots.push_back({((sine_table[a] * cx) >> 16) + cx + ((sine_table[c] * (cx >> 1)) >> 16),
                     ((sine_table[b] * cy) >> 16) + cy + ((sine_table[d] * (cy >> 1)) >> 16)});
    a = (a + 53) & 1023;
    b = (b + 51) & 1023;
    c = (c + 33) & 1023;
    d = (d + 31) & 1023;
  }
  return spots;
}

bool has_spot(const std::vector<SPOT>& spots, int32_t x, int32_t y) {
  return std::any_of(spots.begin(), spots.end(),
                     [&](const SPOT& s) { return s.x == x && s.y == y; });
}

class SceneFourTest : public ShowInProcess {
 protected:
  // A small screen keeps every frame cheap to keep; no title font, and the
  // picture's rows told apart.
  void start_small() {
    start(width, height);
    drop_small_font();
    use_logo(numbered_image(width, height));
  }
  const int32_t width = 64;
  const int32_t height = 48;
};

TEST_F(SceneFourTest, CurtainRepeatsItsEdgeRowAboveAndLeavesTheRowsBelow) {
  // Pictures as tall as the screen, shorter and taller.
  for (int32_t picture_height : {48, 20, 60}) {
    start_small();
    IMG* picture = numbered_image(width, picture_height);
    const PIXELS source = pixels_of(picture);
    QUOMBRAX_curtain(picture);
    ASSERT_EQ(static_cast<int32_t>(kept.size()), picture_height) << picture_height;
    for (int32_t n = 1; n <= picture_height; ++n) {
      const int32_t edge = picture_height - n;
      for (int32_t y = 0; y < height; ++y) {
        const int32_t shown = std::max(y, edge);
        const PIXELS expected =
            shown < picture_height ? row_of(source, width, shown) : PIXELS(width, 0);
        ASSERT_EQ(row_of(kept[n - 1], width, y), expected)
            << "picture " << picture_height << " frame " << n << " row " << y;
      }
    }
    IMG_destroy(&picture);
    TearDown();
    SetUp();
  }
}

TEST_F(SceneFourTest, SpaceEndsTheCurtainAndUsesTheRequestUp) {
  start_small();
  CAPTURE_press(5, ' ');
  QUOMBRAX_curtain(QUOMBRAX_state.logo_image);
  EXPECT_EQ(presented, 5);
  EXPECT_EQ(QUOMBRAX_state.flags, 0u);
  EXPECT_EQ(row_of(kept.back(), width, 0), row_of(pixels_of(QUOMBRAX_state.logo_image), width, 43))
      << "the fifth frame's edge is row 43";
}

TEST_F(SceneFourTest, MeltSmearsEachRowOverEveryRowBelowIt) {
  start_small();
  IMG* screen = QUOMBRAX_state.screen_image;
  IMG_copy(QUOMBRAX_state.logo_image, screen);
  const PIXELS before = pixels_of(screen);
  QUOMBRAX_melt(screen);
  ASSERT_EQ(static_cast<int32_t>(kept.size()), height);
  for (int32_t n = 1; n <= height; ++n) {
    const int32_t edge = height - n;
    for (int32_t y = 0; y < height; ++y) {
      ASSERT_EQ(row_of(kept[n - 1], width, y), row_of(before, width, std::min(y, edge)))
          << "frame " << n << " row " << y;
    }
  }
  for (int32_t y = 0; y < height; ++y) {
    EXPECT_EQ(row_of(kept.back(), width, y), row_of(before, width, 0)) << "all row 0 at the end";
  }
}

TEST_F(SceneFourTest, SpaceEndsTheMelt) {
  start_small();
  CAPTURE_press(7, ' ');
  QUOMBRAX_melt(QUOMBRAX_state.screen_image);
  EXPECT_EQ(presented, 7);
  EXPECT_EQ(QUOMBRAX_state.flags, 0u);
}

TEST_F(SceneFourTest, AMissingPictureOrScreenIsReportedAndShowsNoFrame) {
  start_small();
  IMG* screen = QUOMBRAX_state.screen_image;
  QUOMBRAX_state.screen_image = nullptr;
  struct CASE {
    const char* what;
    void (*call)();
  } cases[] = {
      {"curtain", [] { QUOMBRAX_curtain(nullptr); }},
      {"melt", [] { QUOMBRAX_melt(nullptr); }},
      {"pattern", [] { QUOMBRAX_fill_pattern(0); }},
      {"orbit", [] { QUOMBRAX_draw_orbit(); }},
  };
  for (const CASE& c : cases) {
    EXPECT_EQ(printed_by(c.call), "") << c.what << ": the report switch starts off";
    QUOMBRAX_set_error_report(1);
    EXPECT_EQ(printed_by(c.call), "QUOMBRAX Error.\n") << c.what;
    QUOMBRAX_set_error_report(0);
  }
  EXPECT_EQ(presented, 0);
  QUOMBRAX_state.screen_image = screen;
}

TEST_F(SceneFourTest, PatternIsEveryWriteInOrderWithTheLaterOnesWinning) {
  struct CASE {
    int32_t width, height;
    uint32_t start;
  } cases[] = {{256, 256, QUOMBRAX_pattern_start},
               {320, 240, 0},
               {7, 5, 0xFFFFFF00u},
               {1, 1, 0x12345678u},
               {2, 3, 0xFFFFFFFFu},
               {3, 1, 0}};
  for (const CASE& c : cases) {
    IMG* counted = image_of(c.width, c.height, 0);
    counted_pattern(counted, c.start);
    // Whatever the screen held before is covered.
    QUOMBRAX_state.screen_image = image_of(c.width, c.height, 0xDEADBEEF);
    QUOMBRAX_fill_pattern(c.start);
    EXPECT_FRAME_EQ(QUOMBRAX_state.screen_image, counted)
        << c.width << " x " << c.height << " from " << c.start;
    IMG_destroy(&counted);
    IMG_destroy(&QUOMBRAX_state.screen_image);
  }
}

TEST_F(SceneFourTest, PatternValuesCountedByHand) {
  // 4 x 2 from 0. Bottom row: column 0 from x = 0, k = 0 (the 16th write,
  // after three whole x steps); column 1 from x = 1, k = 1; column 2 from
  // x = 1, k = 2; column 3 from x = 1, k = 3. The row above is one row's
  // count (4 x 0x40100 + 1) further on; the carries run into the next byte.
  QUOMBRAX_state.screen_image = image_of(4, 2, 0);
  QUOMBRAX_fill_pattern(0);
  const PIXELS expected = {0x1F0701, 0x1A0601, 0x190601, 0x180601,
                           0x0F0300, 0x0A0200, 0x090200, 0x080200};
  EXPECT_FRAME_EQ(QUOMBRAX_state.screen_image,
                  FrameView(expected, QUOMBRAX_state.screen_image->width));
  QUOMBRAX_fill_pattern(0xFFFFFFFFu);
  EXPECT_EQ(IMG_get_pixel(QUOMBRAX_state.screen_image, 0, 1), 0x0F02FFu) << "wraps past 2^32";
  IMG_destroy(&QUOMBRAX_state.screen_image);
}

TEST_F(SceneFourTest, OrbitDrawsThirtyTwoWholeSymbolsOnTheirPathEveryFrame) {
  start(256, 256);
  use_large_font_image(marked_symbol_sheet());
  IMG* screen = QUOMBRAX_state.screen_image;
  // The path repeats after 1024 frames: every place it takes is checked.
  for (int32_t f = 1; f <= 1024; ++f) {
    IMG_clear(screen);
    QUOMBRAX_draw_orbit();
    const std::vector<SPOT> spots = orbit_spots(f, 256, 256);
    int32_t corners = 0;
    for (int32_t y = 0; y < 256; ++y) {
      for (int32_t x = 0; x < 256; ++x) {
        const uint32_t p = screen->pixels[y * 256 + x];
        if (p == 0) continue;
        ++corners;
        ASSERT_NE(p, other_cells) << "only the symbol's cell, frame " << f;
        // A later symbol's mark may cover an earlier one's, never a gap.
        ASSERT_TRUE(has_spot(spots, x, y) || has_spot(spots, x - 31, y - 31))
            << "frame " << f << " at " << x << ", " << y;
      }
    }
    for (const SPOT& s : spots) {
      ASSERT_TRUE(s.x >= 28 && s.x <= 194 && s.y >= 28 && s.y <= 194) << "frame " << f;
      EXPECT_NE(screen->pixels[s.y * 256 + s.x], 0u) << "frame " << f;
      EXPECT_NE(screen->pixels[(s.y + 31) * 256 + s.x + 31], 0u) << "frame " << f;
    }
    ASSERT_GT(corners, 32) << "frame " << f;
  }
  const QUOMBRAX_ORBIT& orbit = QUOMBRAX_orbit;
  EXPECT_EQ(orbit.phase_x1, 0) << "1024 frame steps make whole turns";
  EXPECT_EQ(orbit.phase_y1, 111);
  EXPECT_EQ(orbit.phase_x2, 222);
  EXPECT_EQ(orbit.phase_y2, 333);
}

TEST_F(SceneFourTest, OrbitPhasesStepOncePerFrameAndWrap) {
  start(256, 256);
  QUOMBRAX_orbit.phase_x1 = 1020;
  QUOMBRAX_draw_orbit();
  EXPECT_EQ(QUOMBRAX_orbit.phase_x1, (1020 + 23) - 1024);
  EXPECT_EQ(QUOMBRAX_orbit.phase_y1, 111 + 21);
  EXPECT_EQ(QUOMBRAX_orbit.phase_x2, 222 + 17);
  EXPECT_EQ(QUOMBRAX_orbit.phase_y2, 333 + 15);
  EXPECT_EQ(QUOMBRAX_orbit.count, 32);
}

// The symbols' cell is empty here, so the loop shows the pattern through the
// picture's black hole and the picture everywhere else.
TEST_F(SceneFourTest, LeftAloneTheSceneShowsCurtainLoopAndMelt) {
  start_small();
  IMG* logo = image_of(width, height, 0x00AA00);
  IMG_fill_rect(logo, 10, 5, 20, 10, 0);
  use_logo(logo);
  use_large_font_image(image_of(512, 256, 0));
  QUOMBRAX_scene_four();
  const int32_t curtain_end = fade_frames + height;
  const int32_t loop_end = curtain_end + loop_frames;
  ASSERT_EQ(presented, loop_end + height);
  EXPECT_FRAME_EQ(on_screen(frame(curtain_end)), logo) << "the curtain leaves the whole picture";
  IMG* expected = image_of(width, height, 0);
  counted_pattern(expected, QUOMBRAX_pattern_start);
  IMG_blit(logo, expected, 0, 0, 0, 0, width, height);
  EXPECT_FRAME_EQ(on_screen(frame(curtain_end + 1)), expected);
  EXPECT_FRAME_EQ(on_screen(frame(loop_end)), expected) << "the pattern stands still";
  const PIXELS& last = frame(loop_end + height);
  for (int32_t y = 0; y < height; ++y) {
    EXPECT_EQ(row_of(last, width, y), row_of(pixels_of(expected), width, 0)) << "melted, row " << y;
  }
  IMG_destroy(&expected);
}

TEST_F(SceneFourTest, SpaceEndsOnePartAtATime) {
  struct CASE {
    const char* part;
    int32_t press_after;
    int32_t frames;
  } cases[] = {
      {"curtain", fade_frames + 10, fade_frames + 10 + loop_frames + 48},
      {"loop", fade_frames + 48 + 5, fade_frames + 48 + 5 + 48},
      {"melt", fade_frames + 48 + loop_frames + 7, fade_frames + 48 + loop_frames + 7},
  };
  for (const CASE& c : cases) {
    start_small();
    keep = [](int32_t) { return false; };
    CAPTURE_press(c.press_after, ' ');
    QUOMBRAX_scene_four();
    EXPECT_EQ(presented, c.frames) << c.part;
    EXPECT_EQ(QUOMBRAX_state.flags, 0u) << c.part;
    TearDown();
    SetUp();
  }
}

TEST_F(SceneFourTest, SpaceInTheCurtainShowsTheWholePictureOnTheNextFrame) {
  start_small();
  use_large_font_image(image_of(512, 256, 0));
  CAPTURE_press(fade_frames + 3, ' ');
  keep = [](int32_t n) { return n == fade_frames + 4; };
  QUOMBRAX_scene_four();
  const PIXELS& first_loop = frame(fade_frames + 4);
  EXPECT_EQ(first_loop, pixels_of(QUOMBRAX_state.logo_image)) << "no pixel of it is black";
}

TEST_F(SceneFourTest, TheOrbitRunsOnFromOneRunOfTheSceneToTheNext) {
  start_small();
  keep = [](int32_t) { return false; };
  // Three loop frames in the first run, five in the second.
  CAPTURE_press(fade_frames + 1, ' ');
  CAPTURE_press(fade_frames + 1 + 3, ' ');
  CAPTURE_press(fade_frames + 1 + 3 + 1, ' ');
  QUOMBRAX_scene_four();
  const int32_t second = presented;
  CAPTURE_press(second + fade_frames + 1, ' ');
  CAPTURE_press(second + fade_frames + 1 + 5, ' ');
  CAPTURE_press(second + fade_frames + 1 + 5 + 1, ' ');
  QUOMBRAX_scene_four();
  EXPECT_EQ(presented - second, fade_frames + 1 + 5 + 1);
  EXPECT_EQ(QUOMBRAX_orbit.phase_x1, (23 * 8) & 1023);
  EXPECT_EQ(QUOMBRAX_orbit.phase_y1, (111 + 21 * 8) & 1023);
  EXPECT_EQ(QUOMBRAX_orbit.phase_x2, (222 + 17 * 8) & 1023);
  EXPECT_EQ(QUOMBRAX_orbit.phase_y2, (333 + 15 * 8) & 1023);
}

}  // namespace
