// Scene two: the nested rectangles, the rings, and the colours flowing
// through them frame by frame under the corner picture.
#include <cstdlib>
#include <string>
#include <vector>

#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "imaging/palette.h"
#include "platform/capture.h"
#include "show/quombrax.h"
#include "tests/show/hand_built_show.h"
#include "tests/support/frame_compare.h"

namespace {

// Every index gets its own colour, so a frame can be read back as indexes.
uint32_t colour_of(uint8_t index) { return 0x00A000u | index; }

BYTEMAP* filled_map(int32_t width, int32_t height, uint8_t value) {
  BYTEMAP* map = BYTEMAP_create();
  BYTEMAP_resize(map, width, height);
  for (int32_t i = 0; i < width * height; ++i) map->pixels[i] = value;
  return map;
}

class SceneTwoTest : public HandBuiltScene {
 protected:
  void SetUp() override {
    HandBuiltScene::SetUp();
    QUOMBRAX_STATE& state = QUOMBRAX_state;
    state.screen_map = filled_map(side, side, 0x77);
    state.palette = PALETTE_create();
    for (int32_t i = 0; i < 256; ++i) {
      state.palette->values[i] = static_cast<int32_t>(colour_of(static_cast<uint8_t>(i)));
    }
    QUOMBRAX_prepare_scene_two();
  }

  // The map the scene starts from when its one draw from `rand` gives `start`.
  static std::vector<uint8_t> pattern(uint8_t start) {
    BYTEMAP* saved = QUOMBRAX_state.screen_map;
    BYTEMAP* map = filled_map(side, side, 0);
    QUOMBRAX_state.screen_map = map;
    QUOMBRAX_subdivide(0, 0, side, side, start);
    QUOMBRAX_draw_rings(map, side / 2, side / 2, side);
    std::vector<uint8_t> bytes = bytes_of(map);
    QUOMBRAX_state.screen_map = saved;
    BYTEMAP_destroy(&map);
    return bytes;
  }

  // The screen at a loop frame: map indexes through the palette, then the
  // corner picture's non-black pixels in the bottom-left corner.
  static std::vector<uint32_t> expected_frame(const std::vector<uint8_t>& map) {
    std::vector<uint32_t> pixels(map.size());
    for (size_t i = 0; i < map.size(); ++i) pixels[i] = colour_of(map[i]);
    const IMG* corner = QUOMBRAX_state.corner_image;
    const int32_t corner_top = side - corner->height;
    for (int32_t y = 0; y < corner->height; ++y) {
      for (int32_t x = 0; x < corner->width; ++x) {
        uint32_t pixel = corner->pixels[y * corner->width + x];
        if (pixel != 0) pixels[(corner_top + y) * side + x] = pixel;
      }
    }
    return pixels;
  }

  static std::vector<uint8_t> fallen(std::vector<uint8_t> map, int32_t frames) {
    for (uint8_t& v : map) v = static_cast<uint8_t>(v - frames);
    return map;
  }
};

TEST_F(SceneTwoTest, SubdivisionNestsRectanglesEachLevelSixteenAbove) {
  const uint8_t c = 0x10;
  QUOMBRAX_subdivide(0, 0, side, side, c);
  const BYTEMAP* map = QUOMBRAX_state.screen_map;
  struct CASE {
    int32_t x, y, depth;
  };
  // Down the top-left quarters (sides 256, 126, 61, 28, 12, 4) and the
  // bottom-right ones (126, 61, 29, 13, 5), and the borders and crosses.
  const CASE cases[] = {
      {0, 0, 0},     {1, 1, 1},     {2, 2, 2},     {3, 3, 3},     {4, 4, 4},     {5, 5, 5},
      {6, 6, 5},     {8, 8, 5},     {9, 9, 4},     {255, 255, 0}, {254, 254, 1}, {253, 253, 2},
      {252, 252, 3}, {251, 251, 4}, {250, 250, 5}, {246, 246, 5}, {127, 60, 0},  {128, 200, 0},
      {60, 127, 0},  {200, 128, 0}, {0, 100, 0},   {255, 9, 0},   {126, 126, 1}, {129, 129, 1},
      {63, 30, 1},   {64, 30, 1},   {65, 30, 2},   {62, 30, 2},
  };
  for (const CASE& k : cases) {
    EXPECT_EQ(BYTEMAP_get_pixel(map, k.x, k.y), uint8_t(c + 16 * k.depth)) << k.x << ", " << k.y;
  }
  int32_t untouched = 0;
  for (uint8_t v : bytes_of(map)) untouched += v == 0x77;
  EXPECT_EQ(untouched, 0) << "the top rectangle covers the whole map";
}

TEST_F(SceneTwoTest, RectanglesTooThinToHoldABorderAreNotFilled) {
  struct CASE {
    int32_t w, h, filled;
  };
  const CASE cases[] = {{2, 100, 0}, {100, 2, 0}, {0, 0, 0}, {-5, 10, 0}, {3, 3, 9}, {3, 4, 12}};
  for (const CASE& c : cases) {
    BYTEMAP_destroy(&QUOMBRAX_state.screen_map);
    QUOMBRAX_state.screen_map = filled_map(16, 16, 0x77);
    QUOMBRAX_subdivide(2, 3, c.w, c.h, 9);
    int32_t filled = 0;
    for (uint8_t v : bytes_of(QUOMBRAX_state.screen_map)) filled += v == 9;
    EXPECT_EQ(filled, c.filled) << c.w << " x " << c.h;
  }
}

TEST(SceneTwoRings, RingsGrowOutwardFromRadiusOneEachValuedByItsRadius) {
  BYTEMAP* rings = filled_map(64, 48, 0x77);
  QUOMBRAX_draw_rings(rings, 30, 20, 40);
  BYTEMAP* circles = filled_map(64, 48, 0x77);
  for (int32_t r = 1; r <= 40; ++r) BYTEMAP_draw_circle(circles, 30, 20, r, uint8_t(r));
  EXPECT_TRUE(BYTEMAP_equal(rings, circles)) << "later rings over earlier ones, 1 to 40";
  BYTEMAP* short_of_one = filled_map(64, 48, 0x77);
  for (int32_t r = 1; r <= 39; ++r) BYTEMAP_draw_circle(short_of_one, 30, 20, r, uint8_t(r));
  EXPECT_FALSE(BYTEMAP_equal(rings, short_of_one)) << "the largest radius is drawn too";
  BYTEMAP_destroy(&short_of_one);
  BYTEMAP_destroy(&circles);
  BYTEMAP_destroy(&rings);
}

TEST(SceneTwoRings, OnlyTheRadiusZeroCallIsRefusedAndNothingIsDrawnWithoutRoom) {
  BYTEMAP* map = filled_map(32, 32, 0x77);
  BYTEMAP* before = BYTEMAP_clone(map);
  BYTEMAP_set_error_report(1);
  EXPECT_EQ(printed_by([&] { QUOMBRAX_draw_rings(map, 16, 16, 5); }), "BYTEMAP error\n");
  EXPECT_FALSE(BYTEMAP_equal(map, before));
  BYTEMAP_copy(before, map);
  for (int32_t radius : {0, -3}) {
    EXPECT_EQ(printed_by([&] { QUOMBRAX_draw_rings(map, 16, 16, radius); }), "") << radius;
    EXPECT_TRUE(BYTEMAP_equal(map, before)) << radius;
  }
  EXPECT_EQ(printed_by([] { QUOMBRAX_draw_rings(nullptr, 16, 16, 5); }), "");
  BYTEMAP_set_error_report(0);
  BYTEMAP_destroy(&before);
  BYTEMAP_destroy(&map);
}

TEST_F(SceneTwoTest, PreparationDecodesTheCornerPictureAtItsOwnSize) {
  ASSERT_NE(QUOMBRAX_state.corner_image, nullptr);
  EXPECT_EQ(QUOMBRAX_state.corner_image->width, 64);
  EXPECT_EQ(QUOMBRAX_state.corner_image->height, 64);
  int32_t black = 0;
  for (int32_t i = 0; i < 64 * 64; ++i) black += QUOMBRAX_state.corner_image->pixels[i] == 0;
  EXPECT_GT(black, 0) << "the picture has see-through pixels for the tests below";
  EXPECT_LT(black, 64 * 64);
  QUOMBRAX_release_scene_two();
  EXPECT_EQ(QUOMBRAX_state.corner_image, nullptr);
}

TEST_F(SceneTwoTest, EachFrameShowsThePatternOneIndexLowerUnderTheCornerPicture) {
  const unsigned seed = 1234;
  std::srand(seed);
  const auto start = static_cast<uint8_t>(std::rand() & 255);
  const std::vector<uint8_t> first = pattern(start);
  const int32_t loop_frames[] = {1, 2, 17, 257};
  for (int32_t f : loop_frames) wanted.insert(presented_at(f));
  press_space_after(presented_at(257));
  std::srand(seed);
  QUOMBRAX_scene_two();
  EXPECT_EQ(CAPTURE_frames_presented(), presented_at(257));
  ASSERT_EQ(kept.size(), std::size(loop_frames));
  for (size_t i = 0; i < std::size(loop_frames); ++i) {
    EXPECT_FRAME_EQ(on_screen(kept[i]), on_screen(expected_frame(fallen(first, loop_frames[i]))))
        << "loop frame " << loop_frames[i];
  }
  EXPECT_FRAME_EQ(on_screen(kept[3]), on_screen(kept[0])) << "the whole wheel passes in 256 frames";
  EXPECT_TRUE(bytes_of(QUOMBRAX_state.screen_map) == fallen(first, 257));
  EXPECT_EQ(QUOMBRAX_state.flags, 0u);
}

TEST_F(SceneTwoTest, EveryRunRebuildsThePatternFromOneNewDraw) {
  std::srand(99);
  const auto first_start = static_cast<uint8_t>(std::rand() & 255);
  const auto second_start = static_cast<uint8_t>(std::rand() & 255);
  ASSERT_NE(first_start, second_start);
  std::srand(99);
  QUOMBRAX_scene_two();
  EXPECT_EQ(CAPTURE_frames_presented(), fade_frames + 1001) << "left alone: 1001 loop frames";
  EXPECT_TRUE(bytes_of(QUOMBRAX_state.screen_map) == fallen(pattern(first_start), 1001));
  const int32_t second_run_start = CAPTURE_frames_presented();
  press_space_after(second_run_start + presented_at(3));
  QUOMBRAX_scene_two();
  EXPECT_TRUE(bytes_of(QUOMBRAX_state.screen_map) == fallen(pattern(second_start), 3))
      << "the map is rebuilt, with the next number";
}

}  // namespace
