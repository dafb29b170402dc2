// Quick taps on the capture back end: a key pressed and released before the
// key poll that meets both (as a fast tap on a real keyboard arrives) acts
// exactly once, as a key held over one frame does.
#include <gtest/gtest.h>

#include <vector>

#include "platform/capture.h"
#include "tests/support/show_runner.h"

namespace {

constexpr int32_t fade_frames = 32;
constexpr uint8_t frame_rate_option = 1;
constexpr uint8_t paced_option = 2;

// Space after frame 40 ends scene one; its fade takes frames 41 to 72, so
// Space after frame 100 ends scene two and scene three, the star scene, runs
// from frame 133 on.
constexpr int32_t star_scene_from = 140;

enum class HOW { tap, held_one_frame, held_long, none };

// The key's press and release as the show meets them, after `frame`.
void put_key(SHOW_OPTIONS& options, HOW how, int32_t frame, int32_t symbol) {
  switch (how) {
    case HOW::tap:
      options.script.push_back(SHOW_EVENT{frame, CAPTURE_KEY_DOWN, symbol});
      options.script.push_back(SHOW_EVENT{frame, CAPTURE_KEY_UP, symbol});
      break;
    case HOW::held_one_frame:
      show_press(options, frame, symbol);
      break;
    case HOW::held_long:
      options.script.push_back(SHOW_EVENT{frame, CAPTURE_KEY_DOWN, symbol});
      options.script.push_back(SHOW_EVENT{frame + 60, CAPTURE_KEY_UP, symbol});
      break;
    case HOW::none:
      break;
  }
}

struct KEY_CASE {
  const char* what;
  int32_t symbol;
  int32_t frame;       // the key comes after this frame
  bool in_star_scene;  // Space twice first, so the key meets scene three
};

const KEY_CASE key_cases[] = {
    {"q", 'q', 60, false},
    {"Space", ' ', 60, false},
    {"8", '8', 60, false},
    {"a in the star scene", 'a', star_scene_from, true},
    {"s in the star scene", 's', star_scene_from, true},
};

constexpr int32_t quit_frame = 260;

SHOW_RUN run_key(const KEY_CASE& key, HOW how) {
  SHOW_OPTIONS options;
  if (key.in_star_scene) {
    show_press(options, 40, ' ');
    show_press(options, 100, ' ');
  }
  put_key(options, how, key.frame, key.symbol);
  show_press(options, quit_frame, 'q');
  return run_show(options);
}

bool same_pictures(const SHOW_RUN& a, const SHOW_RUN& b) {
  if (a.frames.size() != b.frames.size()) return false;
  for (size_t i = 0; i < a.frames.size(); ++i) {
    if (a.frames[i].hash != b.frames[i].hash) return false;
    if (a.frames[i].milliseconds != b.frames[i].milliseconds) return false;
  }
  return true;
}

// Every way of pressing a key once gives the same show, frame for frame, and
// a show other than with no key at all.
TEST(KeyTaps, ATapActsAsAKeyHeldForAFrame) {
  for (const KEY_CASE& key : key_cases) {
    SHOW_RUN tapped = run_key(key, HOW::tap);
    SHOW_RUN held = run_key(key, HOW::held_one_frame);
    SHOW_RUN held_long = run_key(key, HOW::held_long);
    SHOW_RUN untouched = run_key(key, HOW::none);
    expect_clean_exit(tapped, key.what);
    EXPECT_TRUE(same_pictures(tapped, held)) << key.what << ": tapped and held for a frame";
    EXPECT_TRUE(same_pictures(tapped, held_long)) << key.what << ": tapped and held long";
    EXPECT_FALSE(same_pictures(tapped, untouched)) << key.what << ": the tap was seen";
  }
}

TEST(KeyTaps, TappingQEndsTheShowAfterItsFade) {
  SHOW_RUN run = run_key(key_cases[0], HOW::tap);
  expect_clean_exit(run, "q");
  ASSERT_EQ(run.frames.size(), static_cast<size_t>(60 + fade_frames));
  EXPECT_EQ(run.frames.back().lit_pixels, 0) << "faded to black";
  EXPECT_EQ(run.frames.back().flags & 1u, 1u) << "the quit flag";
}

// One scene change: the fade after the tap, then none until the quit.
TEST(KeyTaps, TappingOrHoldingSpaceChangesTheSceneOnce) {
  for (HOW how : {HOW::tap, HOW::held_long}) {
    SHOW_RUN run = run_key(key_cases[1], how);
    expect_clean_exit(run, "Space");
    EXPECT_EQ(fade_starts(run), (std::vector<int32_t>{1, 60 + 1, quit_frame + 1}));
  }
}

TEST(KeyTaps, TappingOrHoldingEightFlipsTheFrameRateOptionOnce) {
  for (HOW how : {HOW::tap, HOW::held_long}) {
    SHOW_RUN run = run_key(key_cases[2], how);
    expect_clean_exit(run, "8");
    ASSERT_GT(run.frames.size(), static_cast<size_t>(quit_frame));
    EXPECT_EQ(run.frames[60 - 1].display_options, paced_option) << "before";
    for (int32_t n = 61; n <= quit_frame; ++n) {
      ASSERT_EQ(run.frames[n - 1].display_options, paced_option | frame_rate_option)
          << "frame " << n;
    }
  }
}

// A speed step moves the scroll text: one step is the picture of one held
// press, two steps another.
TEST(KeyTaps, ATapStepsTheScrollSpeedOnce) {
  for (const KEY_CASE& key : {key_cases[3], key_cases[4]}) {
    SHOW_RUN tapped = run_key(key, HOW::tap);
    SHOW_OPTIONS twice;
    show_press(twice, 40, ' ');
    show_press(twice, 100, ' ');
    show_press(twice, key.frame, key.symbol);
    show_press(twice, key.frame + 1, key.symbol);
    show_press(twice, quit_frame, 'q');
    SHOW_RUN stepped_twice = run_show(twice);
    expect_clean_exit(stepped_twice, key.what);
    EXPECT_FALSE(same_pictures(tapped, stepped_twice)) << key.what;
  }
}

// Two taps met by one poll: the later key is the one seen. Tapping 8 then 9
// stops the pacing and leaves the frame rate text off.
TEST(KeyTaps, OfTwoTapsInOnePollTheLaterWins) {
  SHOW_OPTIONS options;
  for (int32_t symbol : {'8', '9'}) {
    options.script.push_back(SHOW_EVENT{60, CAPTURE_KEY_DOWN, symbol});
    options.script.push_back(SHOW_EVENT{60, CAPTURE_KEY_UP, symbol});
  }
  show_press(options, 120, 'q');
  SHOW_RUN run = run_show(options);
  expect_clean_exit(run, "8 then 9");
  ASSERT_GT(run.frames.size(), 61u);
  EXPECT_EQ(run.frames[60 - 1].display_options, paced_option);
  EXPECT_EQ(run.frames[61 - 1].display_options, 0) << "9 seen, 8 not";
}

}  // namespace
