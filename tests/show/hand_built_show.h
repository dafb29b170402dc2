#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "imaging/img.h"
#include "tests/support/output_capture.h"
#include "tests/support/show_in_process.h"

// The part of the show a scene needs, built by hand so each test knows every
// input: the capture display and keys, a screen image, and no fonts (the
// title then draws nothing and the scene's own picture is all there is).
// Presented frames whose numbers are listed in `wanted` are kept.
class HandBuiltScene : public ShowInProcess {
 protected:
  static constexpr int32_t side = 256;
  static constexpr int32_t fade_frames = 32;

  void SetUp() override;

  // Presented frame number of a scene's loop frame (counted from 1).
  static int32_t presented_at(int32_t loop_frame) { return fade_frames + loop_frame; }
  // Space after this presented frame: the scene leaves after it.
  static void press_space_after(int32_t frame);

  std::set<int32_t> wanted;
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
