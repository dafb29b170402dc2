// The whole show on the capture back end, run in a child process, driven by
// scripted keys. These tests hold whatever the scenes draw.
#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/capture.h"
#include "tests/support/show_runner.h"

namespace {

constexpr int32_t fade_frames = 32;
constexpr int32_t scene_frames = 1001;
constexpr uint32_t frame_milliseconds = 20;

// Frames of scene one: its fade, then its loop.
constexpr int32_t first_loop_frame = fade_frames + 1;
constexpr int32_t last_loop_frame = fade_frames + scene_frames;

struct PRESS {
  int32_t frame;
  int32_t symbol;
};

SHOW_OPTIONS pressing(std::initializer_list<PRESS> presses) {
  SHOW_OPTIONS options;
  for (const PRESS& press : presses) show_press(options, press.frame, press.symbol);
  return options;
}

SHOW_OPTIONS quit_at(int32_t frame) { return pressing({{frame, 'q'}}); }

// Frame by frame the same pictures at the same times.
void expect_same_show(const SHOW_RUN& a, const SHOW_RUN& b) {
  EXPECT_SAME_FRAMES(a, b);
  ASSERT_EQ(a.frames.size(), b.frames.size());
  for (size_t i = 0; i < a.frames.size(); ++i) {
    EXPECT_EQ(a.frames[i].milliseconds, b.frames[i].milliseconds) << "frame " << i + 1;
  }
}

TEST(ShowRun, SceneOneLeftAloneShows1001FramesTwentyMillisecondsApart) {
  SHOW_RUN run = run_show(quit_at(last_loop_frame + fade_frames + 5));
  expect_clean_exit(run);
  ASSERT_GE(run.frames.size(), static_cast<size_t>(last_loop_frame + fade_frames));
  for (int32_t n = 1; n <= fade_frames; ++n) {
    EXPECT_EQ(run.frames[n - 1].milliseconds, 0u) << "start-up fade, frame " << n;
  }
  for (int32_t n = first_loop_frame; n <= last_loop_frame; ++n) {
    ASSERT_EQ(run.frames[n - 1].milliseconds, (n - fade_frames) * frame_milliseconds)
        << "frame " << n;
  }
  std::vector<int32_t> fades = fade_starts(run);
  ASSERT_GE(fades.size(), 2u);
  EXPECT_EQ(fades[0], 1);
  EXPECT_EQ(fades[1], last_loop_frame + 1) << "scene two opens with its fade";
  EXPECT_EQ(run.frames[last_loop_frame].milliseconds, run.frames[last_loop_frame - 1].milliseconds)
      << "the fade is not paced";
}

TEST(ShowRun, SpaceEndsTheSceneAfterItsFrameAndTheNextOpensWithAFade) {
  constexpr int32_t space_frame = 100;
  SHOW_RUN run =
      run_show(pressing({{space_frame, ' '}, {space_frame + 2 * fade_frames + 20, 'q'}}));
  expect_clean_exit(run);
  std::vector<int32_t> fades = fade_starts(run);
  ASSERT_GE(fades.size(), 2u);
  EXPECT_EQ(fades[1], space_frame + 1);
  const SHOW_FRAME& handled = run.frames[space_frame - 1];
  for (int32_t n = space_frame + 1; n <= space_frame + fade_frames; ++n) {
    EXPECT_EQ(run.frames[n - 1].milliseconds, handled.milliseconds) << n;
    EXPECT_EQ(run.frames[n - 1].flags, 0u) << "the next-scene request was cleared, frame " << n;
  }
  EXPECT_EQ(run.frames[space_frame + fade_frames].milliseconds,
            handled.milliseconds + frame_milliseconds)
      << "the next scene's first paced frame";
}

TEST(ShowRun, EveryQuitKeyEndsTheShowWithAFadeAndStatusZero) {
  struct CASE {
    const char* what;
    int32_t kind;
    int32_t symbol;
  } cases[] = {{"q", CAPTURE_KEY_DOWN, 'q'},
               {"Q", CAPTURE_KEY_DOWN, 'Q'},
               {"Escape", CAPTURE_KEY_DOWN, 27},
               {"window closed", CAPTURE_QUIT, 0}};
  constexpr int32_t quit_frame = 60;
  for (const CASE& c : cases) {
    SHOW_OPTIONS options;
    options.script.push_back(SHOW_EVENT{quit_frame, c.kind, c.symbol});
    SHOW_RUN run = run_show(options);
    expect_clean_exit(run);
    ASSERT_EQ(run.frames.size(), static_cast<size_t>(quit_frame + fade_frames)) << c.what;
    for (int32_t n = quit_frame + 1; n <= quit_frame + fade_frames; ++n) {
      EXPECT_EQ(run.frames[n - 1].flags & 1u, 1u) << c.what << " frame " << n;
      EXPECT_EQ(run.frames[n - 1].milliseconds, run.frames[quit_frame - 1].milliseconds);
    }
    EXPECT_EQ(run.frames.back().lit_pixels, 0) << c.what << ": faded to black";
  }
}

TEST(ShowRun, KeysBeyondTheByteRangeDoNotQuit) {
  // F2 (283), cut to a byte, would read as Escape.
  SHOW_RUN run = run_show(pressing({{50, 283}, {90, 'q'}}));
  expect_clean_exit(run);
  EXPECT_EQ(run.frames.size(), static_cast<size_t>(90 + fade_frames));
}

TEST(ShowRun, TheCycleGoesOnAfterTheFifthScene) {
  SHOW_OPTIONS options;
  // Twenty presses of Space end more than five scenes, whatever parts (a
  // curtain, a melt) a scene has that Space ends one by one.
  for (int32_t frame = 40; frame <= 800; frame += 40) show_press(options, frame, ' ');
  show_press(options, 840, 'q');
  SHOW_RUN run = run_show(options);
  expect_clean_exit(run);
  // One fade per scene started, and one at shutdown.
  EXPECT_GT(fade_starts(run).size(), 5u + 1u);
}

TEST(ShowRun, TheSameScriptGivesTheSameShow) {
  SHOW_OPTIONS options = pressing({{70, ' '}, {200, '8'}, {400, 'q'}});
  SHOW_RUN first = run_show(options);
  SHOW_RUN second = run_show(options);
  expect_clean_exit(first);
  expect_same_show(first, second);
  EXPECT_EQ(first.sound_hash, second.sound_hash);
  EXPECT_EQ(first.sound_bytes, second.sound_bytes);
}

TEST(ShowRun, TheSoundDeviceFollowsTheVirtualClock) {
  SHOW_RUN run = run_show(quit_at(300));
  expect_clean_exit(run);
  // 882 samples of two bytes for every 20 ms the show ran.
  int64_t steps = run.frames.back().milliseconds / frame_milliseconds;
  EXPECT_EQ(run.sound_bytes, steps * 882 * 2);
}

TEST(ShowRun, WithoutASoundDeviceThePicturesAndTimingAreTheSame) {
  SHOW_OPTIONS options = quit_at(250);
  show_press(options, 120, ' ');
  SHOW_RUN with_sound = run_show(options);
  options.sound_available = false;
  SHOW_RUN silent = run_show(options);
  expect_clean_exit(silent);
  EXPECT_EQ(silent.sound_bytes, 0);
  expect_same_show(with_sound, silent);
}

TEST(ShowRun, OptionKeysChangeNoPictureAndNoTiming) {
  SHOW_RUN plain = run_show(quit_at(300));
  SHOW_OPTIONS options = quit_at(300);
  int32_t frame = 50;
  for (int32_t key : {'1', '2', '4', '5', '1', '4'}) show_press(options, frame += 10, key);
  SHOW_RUN flipped = run_show(options);
  expect_clean_exit(flipped);
  expect_same_show(plain, flipped);
}

TEST(ShowRun, NineRunsTheFramesUnpacedUntilPressedAgain) {
  SHOW_RUN run = run_show(pressing({{60, '9'}, {90, '9'}, {120, 'q'}}));
  expect_clean_exit(run);
  uint32_t stalled = run.frames[60].milliseconds;
  for (int32_t n = 62; n <= 90; ++n) {
    EXPECT_EQ(run.frames[n - 1].milliseconds, stalled) << "no sleep at full speed, frame " << n;
    EXPECT_EQ(run.frames[n - 1].display_options & 2, 0);
  }
  for (int32_t n = 92; n <= 120; ++n) {
    EXPECT_GT(run.frames[n - 1].milliseconds, run.frames[n - 2].milliseconds)
        << "paced again, frame " << n;
  }
}

TEST(ShowRun, EightSwitchesTheFrameRateTextOption) {
  SHOW_RUN run = run_show(pressing({{40, '8'}, {50, '8'}, {60, 'q'}}));
  expect_clean_exit(run);
  EXPECT_EQ(run.frames[39].display_options, 2);
  EXPECT_EQ(run.frames[40].display_options, 3);
  EXPECT_EQ(run.frames[50].display_options, 2);
}

}  // namespace
