#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "show/quombrax.h"
#include "tests/support/frame_compare.h"
#include "tests/support/pixels.h"

struct IMG;

// Frees everything the show has built in this process and clears its state:
// shutdown's own releases, then what shutdown leaves to the end of the
// process (the palette, the music generator, scene three's sheets, text
// strip, scroll and wave). The one way a test gives back the show's state;
// ShowInProcess calls it after every test, and a test that starts afresh in
// the middle calls it too.
void release_show();
// Scene three's own release and what shutdown leaves of it: part of
// release_show(), and what a test calls to prepare the scene afresh while
// the rest of the show stays.
void release_scene_three_whole();

// The show in this process on the capture back end, with every presented
// frame counted and the wanted ones kept. A test builds as much of the show
// as it needs (the whole start-up, or a screen by hand); everything is freed
// with release_show() and the settings put back afterwards.
class ShowInProcess : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The whole start-up on a screen of width x height.
  void start(int32_t width, int32_t height);
  // Only a black screen image of width x height, after freeing what was
  // built and starting the capture back end afresh.
  void build_screen(int32_t width, int32_t height);
  // The capture display and keys and a screen image, and nothing else (no
  // fonts, so the title draws nothing): a scene's own picture is all there is.
  void build_display(int32_t width, int32_t height);
  // No title or frame-rate digits: frames then show the scene's own drawing.
  void drop_small_font();
  // Replaces the logo or the large font with one the test made.
  void use_logo(IMG* logo);
  void use_large_font_image(IMG* sheet);

  // Which presented frames (counted from 1) to keep; all when not set.
  std::function<bool(int32_t)> keep;
  // Keeps exactly the frames numbered in `numbers`.
  void keep_only(std::vector<int32_t> numbers);
  int32_t presented = 0;
  std::vector<int32_t> kept_numbers;
  std::vector<PIXELS> kept;
  // The kept frame of this number; fails the test when it was not kept.
  const PIXELS& frame(int32_t number) const;
  // A kept frame, or pixels made to match one, as a picture as wide as the
  // screen, for EXPECT_FRAME_EQ.
  static FrameView on_screen(const PIXELS& pixels);

 private:
  // The capture back end, the frame timer, the show's state and the kept
  // frames as a new process has them.
  void begin_afresh();
  static void remember(void* context, int32_t number, const uint32_t* pixels, int32_t width,
                       int32_t height);
  QUOMBRAX_CONFIG saved_config_{};
  QUOMBRAX_ORBIT saved_orbit_{};
};

// Row y of a frame `width` pixels wide.
PIXELS row_of(const PIXELS& frame, int32_t width, int32_t y);
// Every pixel a distinct non-zero value.
IMG* numbered_image(int32_t width, int32_t height);
