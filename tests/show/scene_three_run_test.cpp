// The star scene inside whole runs of the show (each in a child process on
// the capture back end): where it stands in the sequence, how long it runs,
// and that its keys act in it alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "platform/capture.h"
#include "platform/fps.h"
#include "show/quombrax.h"
#include "tests/support/show_runner.h"

namespace {

const QUOMBRAX_CONFIG initial_config = QUOMBRAX_config;

constexpr int32_t fade_frames = 32;
constexpr int32_t scene_frames = 1001;
// Space ends scene one after frame 40 and scene two after frame 75, so the
// star scene fades from frame 76 and its loop starts at frame 108.
constexpr int32_t scene_one_space = 40;
constexpr int32_t scene_two_space = 75;
constexpr int32_t scene_three_fade = scene_two_space + 1;
constexpr int32_t scene_three_first = scene_three_fade + fade_frames;

// The child inherits this process; a show started here by other tests must
// not leak into it, so the child starts from the state of a new process.
SHOW_RUN run_from_scratch(const SHOW_OPTIONS& options) {
  const QUOMBRAX_STATE kept_state = QUOMBRAX_state;
  const QUOMBRAX_CONFIG kept_config = QUOMBRAX_config;
  const FPS kept_timer = FPS_state;
  QUOMBRAX_state = QUOMBRAX_STATE{};
  QUOMBRAX_config = initial_config;
  FPS_state = FPS{};
  SHOW_RUN run = run_show(options);
  QUOMBRAX_state = kept_state;
  QUOMBRAX_config = kept_config;
  FPS_state = kept_timer;
  return run;
}

// Skips to the star scene with Space, presses the `extra` keys and quits;
// the script is kept in frame order, as the capture back end reads it.
SHOW_OPTIONS to_scene_three(std::initializer_list<SHOW_EVENT> extra, int32_t quit_after) {
  std::vector<SHOW_EVENT> events(extra);
  events.push_back({scene_one_space, CAPTURE_KEY_PRESS, ' '});
  events.push_back({scene_two_space, CAPTURE_KEY_PRESS, ' '});
  events.push_back({quit_after, CAPTURE_KEY_PRESS, 'q'});
  std::stable_sort(events.begin(), events.end(),
                   [](const SHOW_EVENT& a, const SHOW_EVENT& b) { return a.frame < b.frame; });
  SHOW_OPTIONS options;
  for (const SHOW_EVENT& event : events) show_press(options, event.frame, event.symbol);
  return options;
}

int32_t first_difference(const SHOW_RUN& a, const SHOW_RUN& b) {
  const size_t n = std::min(a.frames.size(), b.frames.size());
  for (size_t i = 0; i < n; ++i) {
    if (a.frames[i].hash != b.frames[i].hash) return static_cast<int32_t>(i) + 1;
  }
  return a.frames.size() == b.frames.size() ? 0 : static_cast<int32_t>(n) + 1;
}

TEST(SceneThreeRun, ComesThirdAndShows1001PacedFramesOfStars) {
  const int32_t scene_four_fade = scene_three_first + scene_frames;
  const SHOW_RUN run = run_from_scratch(to_scene_three({}, scene_four_fade + fade_frames + 4));
  expect_clean_exit(run);
  const std::vector<int32_t> fades = fade_starts(run);
  ASSERT_GE(fades.size(), 4u);
  EXPECT_EQ(fades[2], scene_three_fade);
  EXPECT_EQ(fades[3], scene_four_fade);
  ASSERT_GE(run.frames.size(), static_cast<size_t>(scene_four_fade));
  const uint32_t start = run.frames[scene_three_first - 2].milliseconds;
  for (int32_t n = scene_three_first; n < scene_four_fade; ++n) {
    const SHOW_FRAME& frame = run.frames[n - 1];
    ASSERT_GT(frame.lit_pixels, 0) << "frame " << n;
    ASSERT_EQ(frame.milliseconds, start + 20u * static_cast<uint32_t>(n - scene_three_first + 1))
        << "frame " << n;
  }
}

TEST(SceneThreeRun, TheSpeedKeysActInTheStarSceneOnlyAndTheShowStaysDeterministic) {
  const int32_t press = scene_three_first + 59;  // after loop frame 60: letters in view
  const int32_t quit = scene_three_first + 120;
  const SHOW_RUN plain = run_from_scratch(to_scene_three({}, quit));
  const SHOW_RUN faster = run_from_scratch(to_scene_three({{press, CAPTURE_KEY_PRESS, 's'}}, quit));
  const SHOW_RUN faster_again =
      run_from_scratch(to_scene_three({{press, CAPTURE_KEY_PRESS, 's'}}, quit));
  const SHOW_RUN early = run_from_scratch(
      to_scene_three({{10, CAPTURE_KEY_PRESS, 's'}, {50, CAPTURE_KEY_PRESS, 'a'}}, quit));
  for (const SHOW_RUN* run : {&plain, &faster, &faster_again, &early}) expect_clean_exit(*run);
  ASSERT_GT(plain.frames.size(), static_cast<size_t>(quit));
  EXPECT_SAME_FRAMES(faster, faster_again) << "same keys, same show";
  EXPECT_SAME_FRAMES(plain, early) << "A and S before the star scene change nothing";
  EXPECT_EQ(first_difference(plain, faster), press + 1)
      << "the text moves one pixel further from the frame after the press";
}

}  // namespace
