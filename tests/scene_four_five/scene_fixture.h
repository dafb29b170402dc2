#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "show/quombrax.h"

struct IMG;

using PIXELS = std::vector<uint32_t>;

// The show started in this process on the capture back end, with every
// presented frame counted and the wanted ones kept. Everything is freed and
// the settings put back afterwards.
class SceneTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Start-up on a screen of width x height.
  void start(int32_t width, int32_t height);
  // No title or frame-rate digits: frames then show the scene's own drawing.
  void drop_small_font();
  // Replaces the logo or the large font with one the test made.
  void use_logo(IMG* logo);
  void use_large_font_image(IMG* sheet);

  // Which presented frames (counted from 1) to keep; all when not set.
  std::function<bool(int32_t)> keep;
  int32_t presented = 0;
  std::vector<int32_t> kept_numbers;
  std::vector<PIXELS> kept;
  // The kept frame of this number; fails the test when it was not kept.
  const PIXELS& frame(int32_t number) const;

 private:
  static void remember(void* context, int32_t number, const uint32_t* pixels, int32_t width,
                       int32_t height);
  QUOMBRAX_CONFIG saved_config_{};
  QUOMBRAX_ORBIT saved_orbit_{};
};

// The pixels of an image, row-major.
PIXELS pixels_of(const IMG* image);
// Row y of a frame `width` pixels wide.
PIXELS row_of(const PIXELS& frame, int32_t width, int32_t y);
// Every pixel a distinct non-zero value.
IMG* numbered_image(int32_t width, int32_t height);
