// Scene one: the bounce, the roll's faces composed over black, the corner
// brackets, and the frame loop.
#include <string>
#include <vector>

#include "effects/roll.h"
#include "imaging/img.h"
#include "platform/capture.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"
#include "tests/show/hand_built_show.h"
#include "tests/support/frame_compare.h"

namespace {

constexpr uint32_t bracket_colour = 0x4080F0;

// Red 0x80 survives the back face's darkening; a diagonal stripe of black
// lets the back face show through the front one.
uint32_t texture_pixel(int32_t x, int32_t y) {
  if ((x + 3 * y) % 7 == 0) return 0;
  return 0x800000u | static_cast<uint32_t>(y & 255) << 8 | static_cast<uint32_t>(x & 255);
}

uint32_t darker(uint32_t pixel, uint32_t amount) {
  uint32_t result = 0;
  for (int shift : {16, 8, 0}) {
    uint32_t channel = pixel >> shift & 255;
    result |= (channel > amount ? channel - amount : 0) << shift;
  }
  return result;
}

// The four brackets of a side x side screen, by their definition.
void put_brackets(std::vector<uint32_t>& pixels, int32_t side) {
  for (int32_t i = 0; i < 16; ++i) {
    uint32_t shade = bracket_colour - static_cast<uint32_t>(i) * 0x040404u;
    const int32_t far = side - 1;
    for (auto [x, y] : {std::pair{i, 0},
                        {0, i},
                        {far - i, 0},
                        {far, i},
                        {i, far},
                        {0, far - i},
                        {far - i, far},
                        {far, far - i}}) {
      pixels[y * side + x] = shade;
    }
  }
}

class SceneOneTest : public HandBuiltScene {
 protected:
  void SetUp() override {
    HandBuiltScene::SetUp();
    QUOMBRAX_state.roll_texture = make_image(side, side, texture_pixel);
    QUOMBRAX_prepare_scene_one();
  }

  // The frame the scene must show with the roll's top at `top` and the
  // texture turned to `offset`: black, the darkened back face, the front
  // face where it is not black, the brackets.
  std::vector<uint32_t> expected_frame(int32_t top, int32_t offset) const {
    ROLL* roll = ROLL_create();
    ROLL_build(roll, side, side * 2 / 3);
    IMG* texture = IMG_clone(QUOMBRAX_state.roll_texture);
    texture->y = offset;
    ROLL_draw(roll, texture);
    std::vector<uint32_t> pixels(side * side, 0);
    for (int32_t d = 0; d < roll->height; ++d) {
      if (top + d < 0 || top + d >= side) continue;
      for (int32_t x = 0; x < side; ++x) {
        uint32_t front = roll->front->pixels[d * side + x];
        uint32_t back = darker(roll->back->pixels[d * side + x], 64);
        pixels[(top + d) * side + x] = front != 0 ? front : back;
      }
    }
    put_brackets(pixels, side);
    IMG_destroy(&texture);
    ROLL_destroy(&roll);
    return pixels;
  }
};

TEST(SceneOneBounce, TheRollsTopFollowsTheFirstHalfOfTheSine) {
  struct CASE {
    int32_t counter, screen_height, roll_height, top;
  };
  const CASE cases[] = {
      {1000, 256, 170, 6},                        // the first frame: k = 320
      {992, 256, 170, 0},                         // k = 256: the top edge
      {960, 256, 170, 85},                        // k = 0: resting on the bottom edge
      {1024, 256, 170, 85}, {976, 256, 170, 25},  // k = 128: 86 - 60 - 1
      {944, 256, 170, 25},                        // k = 384, the same height on the way down
      {959, 256, 170, 82},   // k = 504 mirrors entry 7, 1407: 86 * 1407 >> 15 is 3
      {1000, 170, 170, -1},  // no room to bounce in
      {3, 170, 170, -1},
  };
  for (const CASE& c : cases) {
    EXPECT_EQ(QUOMBRAX_roll_top(c.counter, c.screen_height, c.roll_height), c.top)
        << "counter " << c.counter << ", screen " << c.screen_height;
  }
  for (int32_t counter = 0; counter <= 1000; ++counter) {
    int32_t top = QUOMBRAX_roll_top(counter, 256, 170);
    ASSERT_GE(top, 0) << counter;
    ASSERT_LE(top, 85) << counter;
    ASSERT_EQ(top, QUOMBRAX_roll_top(counter + 64, 256, 170)) << "one bounce is 64 frames";
  }
}

TEST(SceneOneCorners, EachCornerGetsAnLOfTwoFadingArms) {
  struct CASE {
    int32_t width, x, y, w, h;
  };
  const CASE cases[] = {{256, 0, 0, 256, 256}, {64, 10, 20, 40, 30}, {40, 3, 4, 16, 16}};
  for (const CASE& c : cases) {
    IMG* image = make_image(c.width, c.width, [](int32_t, int32_t) { return 0u; });
    QUOMBRAX_draw_corners(image, c.x, c.y, c.w, c.h, bracket_colour);
    std::vector<uint32_t> want(static_cast<size_t>(c.width * c.width), 0);
    const int32_t right = c.x + c.w - 1;
    const int32_t bottom = c.y + c.h - 1;
    for (int32_t i = 0; i < 16; ++i) {
      uint32_t shade = bracket_colour - static_cast<uint32_t>(i) * 0x040404u;
      for (auto [x, y] : {std::pair{c.x + i, c.y},
                          {c.x, c.y + i},
                          {right - i, c.y},
                          {right, c.y + i},
                          {c.x + i, bottom},
                          {c.x, bottom - i},
                          {right - i, bottom},
                          {right, bottom - i}}) {
        want[static_cast<size_t>(y * c.width + x)] = shade;
      }
    }
    EXPECT_EQ(std::vector<uint32_t>(image->pixels, image->pixels + c.width * c.width), want)
        << c.w << " x " << c.h << " at " << c.x << ", " << c.y;
    if (c.w >= 32 && c.h >= 32) {  // narrower, the arms of two corners overlap
      EXPECT_EQ(IMG_get_pixel(image, c.x, c.y), 0x4080F0u);
      EXPECT_EQ(IMG_get_pixel(image, c.x + 15, c.y), 0x0444B4u);
      EXPECT_EQ(IMG_get_pixel(image, right, bottom - 15), 0x0444B4u);
    }
    IMG_destroy(&image);
  }
}

TEST(SceneOneCorners, RectanglesThatCannotHoldTheArmsAreRefusedAndReported) {
  struct CASE {
    int32_t x, y, w, h;
  };
  const CASE refused[] = {{0, 0, 15, 64},  {0, 0, 64, 15},  {-1, 0, 32, 32}, {0, -1, 32, 32},
                          {33, 0, 32, 32}, {0, 33, 32, 32}, {0, 0, 65, 64}};
  IMG* image = make_image(64, 64, [](int32_t x, int32_t y) { return uint32_t(x * 64 + y + 1); });
  IMG* before = IMG_clone(image);
  QUOMBRAX_set_error_report(1);
  for (const CASE& c : refused) {
    std::string said = printed_by([&] { QUOMBRAX_draw_corners(image, c.x, c.y, c.w, c.h, 1); });
    EXPECT_EQ(said, "QUOMBRAX Error.\n") << c.x << ", " << c.y << ", " << c.w << " x " << c.h;
    EXPECT_FRAME_EQ(image, before);
  }
  EXPECT_EQ(printed_by([] { QUOMBRAX_draw_corners(nullptr, 0, 0, 16, 16, 1); }),
            "QUOMBRAX Error.\n");
  EXPECT_EQ(printed_by([&] { QUOMBRAX_draw_corners(image, 32, 32, 32, 32, 1); }), "")
      << "the rectangle touching the image's far corner fits";
  QUOMBRAX_set_error_report(0);
  EXPECT_EQ(printed_by([&] { QUOMBRAX_draw_corners(image, 0, 0, 8, 8, 1); }), "");
  IMG_destroy(&before);
  IMG_destroy(&image);
}

TEST_F(SceneOneTest, PreparationBuildsTheRollTwoThirdsOfTheScreenHigh) {
  ASSERT_NE(QUOMBRAX_state.roll, nullptr);
  EXPECT_EQ(QUOMBRAX_state.roll->width, 256);
  EXPECT_EQ(QUOMBRAX_state.roll->height, 170);
  QUOMBRAX_release_scene_one();
  EXPECT_EQ(QUOMBRAX_state.roll, nullptr);
  QUOMBRAX_config.screen_width = 320;
  QUOMBRAX_config.screen_height = 200;
  QUOMBRAX_prepare_scene_one();
  ASSERT_NE(QUOMBRAX_state.roll, nullptr);
  EXPECT_EQ(QUOMBRAX_state.roll->width, 320);
  EXPECT_EQ(QUOMBRAX_state.roll->height, 133);
}

TEST_F(SceneOneTest, EachFrameIsTheTurningRollAtItsBounceHeightInsideTheBrackets) {
  struct CASE {
    int32_t loop_frame, top;
  };
  const CASE cases[] = {{1, 6}, {9, 0}, {41, 85}, {42, 82}, {57, 25}};
  for (const CASE& c : cases) wanted.insert(presented_at(c.loop_frame));
  press_space_after(presented_at(57));
  QUOMBRAX_state.roll_texture->y = -5;  // any start: the texture wraps
  QUOMBRAX_scene_one();
  EXPECT_EQ(CAPTURE_frames_presented(), presented_at(57));
  EXPECT_EQ(QUOMBRAX_state.roll_texture->y, -5 + 3 * 57);
  ASSERT_EQ(kept.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const CASE& c = cases[i];
    int32_t offset = -5 + 3 * (c.loop_frame - 1);
    EXPECT_FRAME_EQ(on_screen(kept[i]), on_screen(expected_frame(c.top, offset)))
        << "loop frame " << c.loop_frame;
  }
}

TEST_F(SceneOneTest, ARollAsHighAsTheScreenLosesItsFirstRowAboveTheTop) {
  // The roll stays as prepared for the 256-row screen: 170 rows, no room left.
  QUOMBRAX_config.screen_height = 170;
  SDLDPY_set_mode(QUOMBRAX_state.display, side, 170);
  IMG_resize(QUOMBRAX_state.screen_image, side, 170);
  wanted.insert(presented_at(1));
  press_space_after(presented_at(1));
  QUOMBRAX_scene_one();
  ASSERT_EQ(kept.size(), 1u);
  // Top -1: face row d lands on screen row d - 1, the last screen row stays black.
  ROLL* roll = QUOMBRAX_state.roll;
  ASSERT_EQ(roll->height, 170);
  const std::vector<uint32_t>& frame = kept[0];
  for (int32_t x = 16; x < side - 16; ++x) {
    for (int32_t d = 1; d < 170; ++d) {
      uint32_t front = roll->front->pixels[d * side + x];
      if (front == 0) continue;
      ASSERT_EQ(frame[(d - 1) * side + x], front) << x << ", " << d;
    }
    EXPECT_EQ(frame[169 * side + x], 0u) << x;
  }
}

TEST_F(SceneOneTest, LeftAloneTheSceneShows1001FramesAndTheRollTurnsOnAcrossRuns) {
  wanted.insert(presented_at(1));
  QUOMBRAX_scene_one();
  EXPECT_EQ(CAPTURE_frames_presented(), fade_frames + 1001);
  EXPECT_EQ(QUOMBRAX_state.roll_texture->y, 3003);
  EXPECT_EQ(QUOMBRAX_state.flags, 0u);
  const int32_t second_run_start = CAPTURE_frames_presented();
  wanted.insert(second_run_start + presented_at(1));
  press_space_after(second_run_start + presented_at(1));
  QUOMBRAX_scene_one();
  EXPECT_EQ(QUOMBRAX_state.roll_texture->y, 3006);
  EXPECT_EQ(QUOMBRAX_state.flags, 0u) << "the next-scene request is cleared on leaving";
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_FRAME_EQ(on_screen(kept[0]), on_screen(expected_frame(6, 0)));
  EXPECT_FRAME_EQ(on_screen(kept[1]), on_screen(expected_frame(6, 3003)))
      << "the bounce starts again, the turn does not";
}

TEST_F(SceneOneTest, TheFadeBeforeTheLoopDarkensTheLastPictureToBlack) {
  std::fill_n(QUOMBRAX_state.screen_image->pixels, side * side, 0xFFFFFFu);
  wanted.insert(1);
  wanted.insert(fade_frames);
  press_space_after(presented_at(1));
  QUOMBRAX_scene_one();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0][0], 0xF7F7F7u);
  EXPECT_FRAME_EQ(on_screen(kept[1]), on_screen(PIXELS(side * side, 0u)));
}

}  // namespace
