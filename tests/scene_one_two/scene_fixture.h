#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "imaging/img.h"

// The part of the show a scene needs, built by hand so each test knows every
// input: the capture display and keys, a screen image, and no fonts (the
// title then draws nothing and the scene's own picture is all there is).
// Presented frames whose numbers are listed in `kept` are copied out.
class SceneTest : public testing::Test {
 protected:
  static constexpr int32_t side = 256;
  static constexpr int32_t fade_frames = 32;

  void SetUp() override;
  void TearDown() override;

  // Presented frame number of a scene's loop frame (counted from 1).
  static int32_t presented(int32_t loop_frame) { return fade_frames + loop_frame; }
  // Space after this presented frame: the scene leaves after it.
  static void press_space_after(int32_t frame);

  std::set<int32_t> kept;
  std::vector<std::vector<uint32_t>> frames;  // in the order presented
};

// An image of `width` x `height` whose pixels `pixel(x, y)` gives.
template <typename PIXEL>
IMG* make_image(int32_t width, int32_t height, PIXEL pixel) {
  IMG* image = IMG_create();
  IMG_resize(image, width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) image->pixels[y * width + x] = pixel(x, y);
  }
  return image;
}

// Runs `body` with stdout captured and returns what it printed.
template <typename BODY>
std::string printed_by(BODY body) {
  testing::internal::CaptureStdout();
  body();
  return testing::internal::GetCapturedStdout();
}
