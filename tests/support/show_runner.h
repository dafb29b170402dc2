#pragma once

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/pixels.h"

// Runs the whole show on the capture back end in a child process (the show
// ends the process when it quits) and brings back what it presented and
// played. Same script, same result: the run is deterministic.

struct SHOW_EVENT {
  int32_t frame;  // delivered at the first key poll after this frame
  int32_t kind;   // a CAPTURE_EVENT_KIND
  int32_t symbol;
};

struct SHOW_FRAME {
  int32_t number;         // presented frames, counted from 1
  uint32_t milliseconds;  // virtual clock when it was presented
  uint64_t hash;          // of its pixels
  int32_t lit_pixels;     // pixels that are not black
  uint32_t flags;         // the show's flags at the time
  uint8_t display_options;
};

// The pixels of one presented frame, brought back when asked for.
struct SHOW_PICTURE {
  int32_t number;
  int32_t width;
  int32_t height;
  PIXELS pixels;
};

struct SHOW_OPTIONS {
  std::vector<SHOW_EVENT> script;
  int32_t frame_limit = 20000;  // the child stops with a failure beyond this
  bool sound_available = true;
  std::vector<int32_t> pictures;  // numbers of the frames whose pixels come back
};

struct SHOW_RUN {
  bool exited = false;  // ended by itself (not by a signal)
  int exit_status = -1;
  bool frame_limit_hit = false;
  std::vector<SHOW_FRAME> frames;
  int64_t sound_bytes = 0;  // played by the simulated device
  int64_t sound_nonzero_bytes = 0;
  uint64_t sound_hash = 0;
  std::vector<SHOW_PICTURE> pictures;  // those the options asked for
  SHOW_OPTIONS options;                // what it was run with
};

// A key pressed after `frame` and released at the next key poll.
void show_press(SHOW_OPTIONS& options, int32_t frame, int32_t symbol);

SHOW_RUN run_show(const SHOW_OPTIONS& options);

// The run ended by itself with status 0, within its frame limit.
void expect_clean_exit(const SHOW_RUN& run, const char* what = "");

// The hash a run gives a frame with these pixels.
uint64_t frame_hash(const PIXELS& pixels);

// Two runs presented the same frames (as many, each with the same pixels).
// When they differ, both are run again to bring back the first differing
// frame, which is compared as pictures are (EXPECT_FRAME_EQ): the failure
// names the frame and writes both versions and their difference.
::testing::AssertionResult same_frames(const char* actual_expr, const char* expected_expr,
                                       const SHOW_RUN& actual, const SHOW_RUN& expected);
#define EXPECT_SAME_FRAMES(actual, expected) EXPECT_PRED_FORMAT2(same_frames, actual, expected)
#define ASSERT_SAME_FRAMES(actual, expected) ASSERT_PRED_FORMAT2(same_frames, actual, expected)

// The frames at which the show presents without pacing in between, that is
// the first frame of each run of frames presented at one clock value that
// is 32 or more long: the fade-outs.
std::vector<int32_t> fade_starts(const SHOW_RUN& run);
