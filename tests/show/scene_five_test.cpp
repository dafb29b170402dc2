// Scene five in this process on the capture back end: the rectangles shown
// one per frame, the colour cycling, and Space in the middle of it all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "platform/capture.h"
#include "show/quombrax.h"
#include "tests/support/frame_compare.h"
#include "tests/support/output_capture.h"
#include "tests/support/show_in_process.h"

namespace {

constexpr int32_t fade_frames = 32;
constexpr int32_t loop_frames = 1001;
constexpr int32_t default_rectangles = 1364;
constexpr unsigned draw_seed = 4242;

// The screen map as the test expects it, shown through the show's palette.
struct MAP_MODEL {
  int32_t width;
  int32_t height;
  std::vector<uint8_t> values;

  MAP_MODEL(int32_t w, int32_t h) : width(w), height(h), values(static_cast<size_t>(w * h), 0) {}
  void fill(int32_t x, int32_t y, int32_t w, int32_t h, int32_t value) {
    for (int32_t row = y; row < y + h; ++row) {
      for (int32_t column = x; column < x + w; ++column) {
        values[static_cast<size_t>(row * width + column)] = static_cast<uint8_t>(value & 255);
      }
    }
  }
  PIXELS shown(int32_t add) const {
    const SAMPLE* palette = QUOMBRAX_state.palette;
    PIXELS pixels;
    for (uint8_t v : values) {
      pixels.push_back(static_cast<uint32_t>(palette->values[(v + add) & 255]));
    }
    return pixels;
  }
};

uint32_t wheel(int32_t index) {
  return static_cast<uint32_t>(QUOMBRAX_state.palette->values[index & 255]);
}

class SceneFiveTest : public ShowInProcess {
 protected:
  // The scene's one draw, c, as the scene will get it.
  int32_t start_scene(int32_t width, int32_t height, bool with_title = false) {
    start(width, height);
    if (!with_title) drop_small_font();
    std::srand(draw_seed);
    const int32_t c = std::rand() & 255;
    std::srand(draw_seed);
    return c;
  }
};

TEST_F(SceneFiveTest, TheFirstFramesShowTheTopLeftQuadrantThenItsFirstChild) {
  const int32_t c = start_scene(256, 256);
  keep = [](int32_t n) { return n == fade_frames + 1 || n == fade_frames + 2; };
  CAPTURE_press(fade_frames + 2, ' ');
  QUOMBRAX_scene_five();
  MAP_MODEL map(256, 256);
  map.fill(0, 0, 128, 128, c);
  EXPECT_FRAME_EQ(on_screen(frame(fade_frames + 1)), on_screen(map.shown(0)))
      << "one quadrant, green elsewhere";
  map.fill(1, 1, 62, 62, c + 16);
  EXPECT_FRAME_EQ(on_screen(frame(fade_frames + 2)), on_screen(map.shown(0)));
  EXPECT_EQ(wheel(0), 0x00FF00u) << "index 0, where nothing is drawn yet, is green";
}

TEST_F(SceneFiveTest, OneFramePerRectangleWideAndTallEnough) {
  struct CASE {
    int32_t width, height, rectangles;
  } cases[] = {{256, 256, default_rectangles},
               {256, 40, 20},
               {24, 24, 20},
               {16, 16, 4},
               {7, 7, 4},
               {5, 5, 1},
               {4, 4, 0}};
  for (const CASE& c : cases) {
    start_scene(c.width, c.height);
    keep = [](int32_t) { return false; };
    QUOMBRAX_scene_five();
    EXPECT_EQ(presented, fade_frames + c.rectangles + loop_frames) << c.width << " x " << c.height;
    TearDown();
    SetUp();
  }
}

TEST_F(SceneFiveTest, TheFinishedPatternNestsEachLevelAtItsStepAndThenCycles) {
  const int32_t c = start_scene(256, 256);
  const int32_t finished = fade_frames + default_rectangles;
  keep = [&](int32_t n) {
    return n == finished || n == finished + 1 || n == finished + 256 || n == finished + 257;
  };
  QUOMBRAX_scene_five();
  // Down the top-left corner one level at a time, the lines left between
  // children, the three other quadrants, down the bottom-right corner, and
  // the top-right and bottom-left children of two quadrants.
  struct SPOT {
    int32_t x, y, above_c;
  } spots[] = {{0, 0, 0},      {1, 1, 16},      {2, 2, 32},      {3, 3, 48},      {4, 4, 64},
               {7, 7, 64},     {8, 8, 48},      {200, 0, 32},    {0, 200, 32},    {128, 128, 64},
               {129, 129, 80}, {193, 193, 112}, {254, 254, 112}, {253, 253, 160}, {255, 255, 64},
               {65, 1, 32},    {66, 2, 48},     {1, 65, 32},     {193, 129, 96},  {129, 193, 96}};
  for (int32_t t : {0, 1, 256, 257}) {
    const PIXELS& shown = frame(finished + t);
    for (const SPOT& s : spots) {
      EXPECT_EQ(shown[static_cast<size_t>(s.y * 256 + s.x)], wheel(c + s.above_c + t))
          << "loop frame " << t << " at " << s.x << ", " << s.y;
    }
  }
  EXPECT_FRAME_EQ(on_screen(frame(finished + 257)), on_screen(frame(finished + 1)))
      << "the wheel comes round in 256 frames";
  EXPECT_NE(frame(finished + 256), frame(finished + 1));
}

TEST_F(SceneFiveTest, SpaceStopsTheDescentButEveryCallerShowsItsOtherChildrenOnce) {
  // Space after the k-th rectangle (the first one at depth k) costs three
  // more frames on each level from k up to the quadrants.
  struct CASE {
    int32_t space_after, rectangles;
  } cases[] = {{1, 4}, {2, 8}, {3, 12}, {5, 20}, {default_rectangles, default_rectangles}};
  for (const CASE& k : cases) {
    start_scene(256, 256);
    keep = [](int32_t) { return false; };
    CAPTURE_press(fade_frames + k.space_after, ' ');
    QUOMBRAX_scene_five();
    EXPECT_EQ(presented, fade_frames + k.rectangles + 1)
        << "one loop frame after, Space at " << k.space_after;
    EXPECT_EQ(QUOMBRAX_state.flags, 0u) << k.space_after;
    TearDown();
    SetUp();
  }
}

TEST_F(SceneFiveTest, SpaceInTheFirstFrameStillShowsTheOtherQuadrantsOneByOne) {
  const int32_t c = start_scene(256, 256);
  CAPTURE_press(fade_frames + 1, ' ');
  keep = [](int32_t n) { return n > fade_frames; };
  QUOMBRAX_scene_five();
  ASSERT_EQ(kept.size(), 5u);
  MAP_MODEL map(256, 256);
  const struct {
    int32_t x, y, value;
  } quadrants[] = {{0, 0, c}, {128, 0, c + 32}, {0, 128, c + 32}, {128, 128, c + 64}};
  for (size_t i = 0; i < 4; ++i) {
    map.fill(quadrants[i].x, quadrants[i].y, 128, 128, quadrants[i].value);
    EXPECT_FRAME_EQ(on_screen(kept[i]), on_screen(map.shown(0))) << "quadrant " << i;
  }
  EXPECT_FRAME_EQ(on_screen(kept[4]), on_screen(map.shown(1))) << "one cycling frame";
}

TEST_F(SceneFiveTest, TheTitleStandsOnTopAndCoversNothingElse) {
  const int32_t c = start_scene(256, 256, true);
  keep = [](int32_t n) { return n == fade_frames + 1; };
  CAPTURE_press(fade_frames + 1, ' ');
  QUOMBRAX_scene_five();
  MAP_MODEL map(256, 256);
  map.fill(0, 0, 128, 128, c);
  const PIXELS expected = map.shown(0);
  const PIXELS& shown = frame(fade_frames + 1);
  // Three rows of four 16-pixel characters from (16, 16), each within -4 to
  // +3 pixels of its place.
  int32_t title_pixels = 0;
  for (int32_t y = 0; y < 256; ++y) {
    for (int32_t x = 0; x < 256; ++x) {
      const size_t i = static_cast<size_t>(y * 256 + x);
      const bool in_title = x >= 12 && x < 16 + 64 + 3 && y >= 12 && y < 16 + 48 + 3;
      if (!in_title) {
        ASSERT_EQ(shown[i], expected[i]) << x << ", " << y;
      } else {
        title_pixels += shown[i] != expected[i];
      }
    }
  }
  EXPECT_GT(title_pixels, 100);
}

TEST_F(SceneFiveTest, ThinOrUnsplittableRectanglesShowNoFrame) {
  start_scene(64, 64);
  const BYTEMAP* map = QUOMBRAX_state.screen_map;
  const std::vector<uint8_t> before(map->pixels, map->pixels + 64 * 64);
  struct CASE {
    int32_t x, y, w, h;
    const char* printed;
  } cases[] = {{0, 0, 2, 40, ""},
               {0, 0, 40, 2, ""},
               {0, 0, -5, 40, ""},
               {INT32_MAX - 10, 0, 40, 40, "QUOMBRAX Error.\n"},
               {0, INT32_MAX - 3, 40, 40, "QUOMBRAX Error.\n"}};
  QUOMBRAX_set_error_report(1);
  for (const CASE& c : cases) {
    EXPECT_EQ(printed_by([&] { QUOMBRAX_subdivide_framed(c.x, c.y, c.w, c.h, 9); }), c.printed)
        << c.x << " " << c.w;
  }
  QUOMBRAX_set_error_report(0);
  EXPECT_EQ(presented, 0);
  EXPECT_EQ(std::vector<uint8_t>(map->pixels, map->pixels + 64 * 64), before);
}

}  // namespace
