// The whole show on the capture back end under a hostile keyboard and window:
// thousands of key events in one frame, and the window closed while the
// show cannot poll (a fade) or deep in scene five's subdivision.
#include <gtest/gtest.h>

#include "platform/capture.h"
#include "tests/support/show_runner.h"

namespace {

constexpr int32_t fade_frames = 32;
// Scene three is showing by then: Space after frames 100 and 200 ends
// scenes one and two.
constexpr int32_t storm_frame = 300;
constexpr int32_t quit_frame = 400;
// The keys that flip options or step the scroll speed, and keys beyond the
// byte range; the quit keys stay out of the storm. Each goes down and up
// 181 or 182 times: were every press handled, "8" (181, odd) would leave the
// frame-rate text on and "a" would move the scroll speed 181 steps (5 of 16).
constexpr int32_t storm_keys[] = {'1', '2', '4', '5', '9', 'x', 283, 305, 312, '8', 'a'};
constexpr int32_t storm_pairs = 1999;

SHOW_OPTIONS into_scene_three() {
  SHOW_OPTIONS options;
  show_press(options, 100, ' ');
  show_press(options, 200, ' ');
  return options;
}

// The same pictures, at the same times, with the same options shown.
void expect_same_show(const SHOW_RUN& a, const SHOW_RUN& b) {
  ASSERT_SAME_FRAMES(a, b);
  for (size_t i = 0; i < a.frames.size(); ++i) {
    ASSERT_EQ(a.frames[i].milliseconds, b.frames[i].milliseconds) << "frame " << i + 1;
    ASSERT_EQ(a.frames[i].display_options, b.frames[i].display_options) << "frame " << i + 1;
  }
}

// Into scene three, then the storm: every storm key down and up, all within
// the poll after `storm_frame`.
SHOW_OPTIONS key_storm() {
  SHOW_OPTIONS storm = into_scene_three();
  for (int32_t i = 0; i < storm_pairs; ++i) {
    const int32_t key = storm_keys[i % (sizeof storm_keys / sizeof storm_keys[0])];
    storm.script.push_back(SHOW_EVENT{storm_frame, CAPTURE_KEY_DOWN, key});
    storm.script.push_back(SHOW_EVENT{storm_frame, CAPTURE_KEY_UP, key});
  }
  return storm;
}

// The storm's run, quit later with q, shows what Space pressed alone shows:
// Space ended scene three on the storm's frame, and nothing else changed (no
// option, no scroll speed, no frame-rate text).
void expect_space_alone(SHOW_OPTIONS storm) {
  show_press(storm, quit_frame, 'q');
  SHOW_OPTIONS space_alone = into_scene_three();
  show_press(space_alone, storm_frame, ' ');
  show_press(space_alone, quit_frame, 'q');
  const SHOW_RUN stormed = run_show(storm);
  const SHOW_RUN plain = run_show(space_alone);
  expect_clean_exit(stormed);
  expect_clean_exit(plain);
  const std::vector<int32_t> fades = fade_starts(stormed);
  ASSERT_GE(fades.size(), 4u);
  EXPECT_EQ(fades[3], storm_frame + 1);
  expect_same_show(stormed, plain);
}

TEST(HostileKeys, AKeyStormInOneFrameActsAsItsLastKeyAlone) {
  SHOW_OPTIONS storm = key_storm();
  show_press(storm, storm_frame, ' ');
  expect_space_alone(storm);
}

TEST(HostileKeys, AStormOfTapsInOneFrameActsAsTheLastKeyTapped) {
  // Space too goes down and up within the one poll, last: the last key
  // pressed in a poll is the one that acts, the releases notwithstanding.
  SHOW_OPTIONS storm = key_storm();
  storm.script.push_back(SHOW_EVENT{storm_frame, CAPTURE_KEY_DOWN, ' '});
  storm.script.push_back(SHOW_EVENT{storm_frame, CAPTURE_KEY_UP, ' '});
  expect_space_alone(storm);
}

TEST(HostileKeys, ClosingTheWindowDuringAFadeEndsTheShowAtTheNextPoll) {
  // Frame 10 is in the opening fade, which polls no keys: the request waits
  // for scene one's first frame.
  SHOW_OPTIONS options;
  options.script.push_back(SHOW_EVENT{10, CAPTURE_QUIT, 0});
  const SHOW_RUN run = run_show(options);
  expect_clean_exit(run);
  ASSERT_EQ(run.frames.size(), static_cast<size_t>(fade_frames + 1 + fade_frames));
  EXPECT_EQ(run.frames.back().lit_pixels, 0) << "faded to black on the way out";
}

TEST(HostileKeys, ClosingTheWindowDuringSceneFivesSubdivisionEndsTheShow) {
  // Six presses of Space lead to scene five (scene four takes three).
  constexpr int32_t presses = 6;
  SHOW_OPTIONS to_scene_five;
  for (int32_t press = 1; press <= presses; ++press) show_press(to_scene_five, press * 100, ' ');
  show_press(to_scene_five, 1500, 'q');
  const SHOW_RUN before = run_show(to_scene_five);
  expect_clean_exit(before);
  const std::vector<int32_t> fades = fade_starts(before);
  ASSERT_EQ(fades.size(), 6u) << "five scenes and the way out";
  // Scene five's fade, then the first frames of its subdivision, each
  // rectangle a frame of its own.
  const int32_t inside = fades[4] + fade_frames + 20;
  ASSERT_LT(inside, 1500);

  SHOW_OPTIONS closed;
  for (int32_t press = 1; press <= presses; ++press) show_press(closed, press * 100, ' ');
  closed.script.push_back(SHOW_EVENT{inside, CAPTURE_QUIT, 0});
  const SHOW_RUN run = run_show(closed);
  expect_clean_exit(run);
  ASSERT_EQ(run.frames.size(), static_cast<size_t>(inside + fade_frames));
  for (int32_t n = 1; n <= inside; ++n) {
    ASSERT_EQ(run.frames[n - 1].hash, before.frames[n - 1].hash) << "frame " << n;
  }
  EXPECT_EQ(run.frames.back().lit_pixels, 0);
}

}  // namespace
