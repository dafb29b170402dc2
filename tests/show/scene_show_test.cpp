// Scenes four and five within the whole show, run in a child process on the
// capture back end: their lengths, their place in the cycle, quitting from
// inside them, and the same show for the same keys.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/show_runner.h"

namespace {

constexpr int32_t fade_frames = 32;
constexpr int32_t loop_frames = 1001;
constexpr int32_t screen_rows = 256;
constexpr int32_t rectangles = 1364;

// Space ends scenes one, two and three at these frames; scene four's fade
// starts on the next.
constexpr int32_t scene_four_fade = 121;
constexpr int32_t curtain_start = scene_four_fade + fade_frames;
constexpr int32_t loop_start = curtain_start + screen_rows;
constexpr int32_t melt_start = loop_start + loop_frames;
constexpr int32_t scene_five_fade = melt_start + screen_rows;
constexpr int32_t subdivision_start = scene_five_fade + fade_frames;
constexpr int32_t cycling_start = subdivision_start + rectangles;
constexpr int32_t scene_one_fade = cycling_start + loop_frames;

SHOW_OPTIONS to_scene_four() {
  SHOW_OPTIONS options;
  for (int32_t frame : {40, 80, scene_four_fade - 1}) show_press(options, frame, ' ');
  return options;
}

TEST(SceneFourFiveInTheShow, LeftAloneTheyRunTheirFullLengthAndSceneOneFollows) {
  SHOW_OPTIONS options = to_scene_four();
  constexpr int32_t quit = scene_one_fade + fade_frames + 3;
  show_press(options, quit, 'q');
  SHOW_RUN run = run_show(options);
  expect_clean_exit(run);
  const std::vector<int32_t> expected = {
      1, 41, 81, scene_four_fade, scene_five_fade, scene_one_fade, quit + 1};
  EXPECT_EQ(fade_starts(run), expected);
  ASSERT_EQ(run.frames.size(), static_cast<size_t>(quit + fade_frames));
  // Every frame of curtain, loop, melt, subdivision and cycling is paced.
  for (int32_t n = curtain_start; n < scene_one_fade; ++n) {
    if (n == scene_five_fade) n = subdivision_start;
    ASSERT_EQ(run.frames[n - 1].milliseconds, run.frames[n - 2].milliseconds + 20) << n;
  }
  // The wheel has no black: the first rectangle, the green beside it and the
  // title cover every pixel.
  EXPECT_EQ(run.frames[subdivision_start - 1].lit_pixels, 256 * 256);
}

TEST(SceneFourFiveInTheShow, QuitFromInsideEveryPartEndsTheShowCleanly) {
  const int32_t quits[] = {curtain_start + 9, loop_start + 20, melt_start + 30,
                           subdivision_start + 700, cycling_start + 5};
  for (int32_t quit : quits) {
    SHOW_OPTIONS options = to_scene_four();
    show_press(options, quit, 'Q');
    SHOW_RUN run = run_show(options);
    expect_clean_exit(run);
    ASSERT_EQ(run.frames.size(), static_cast<size_t>(quit + fade_frames)) << quit;
    EXPECT_EQ(run.frames.back().lit_pixels, 0) << quit;
  }
}

TEST(SceneFourFiveInTheShow, TheSameKeysGiveTheSameScenes) {
  SHOW_OPTIONS options = to_scene_four();
  // Through every part of both scenes, with the frame-rate digits on.
  for (int32_t frame : {curtain_start + 30, curtain_start + 60, curtain_start + 200,
                        curtain_start + 260, curtain_start + 300, curtain_start + 420}) {
    show_press(options, frame, ' ');
  }
  show_press(options, curtain_start + 10, '8');
  show_press(options, curtain_start + 900, 'q');
  SHOW_RUN first = run_show(options);
  SHOW_RUN second = run_show(options);
  expect_clean_exit(first);
  ASSERT_SAME_FRAMES(first, second);
  EXPECT_EQ(first.sound_hash, second.sound_hash);
}

}  // namespace
