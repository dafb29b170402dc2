#pragma once

#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "imaging/img.h"
#include "show/quombrax.h"

// Owns an image for the length of a test.
struct ImageDeleter {
  void operator()(IMG* image) const { IMG_destroy(&image); }
};
using Image = std::unique_ptr<IMG, ImageDeleter>;

// The show's state and settings as start-up leaves them before the shared
// assets are built: a black screen image of the chosen size and nothing else.
// Everything is freed and put back afterwards, so tests do not see each
// other's assets.
class ShowState : public testing::Test {
 protected:
  void SetUp() override { use_screen(256, 256); }
  void TearDown() override;
  // Starts again from a screen of width x height.
  void use_screen(int32_t width, int32_t height);

 private:
  void release();
  QUOMBRAX_CONFIG saved_config_ = QUOMBRAX_config;
};

// The pixel at (x, y), or 0 outside the image.
uint32_t pixel_at(const IMG* image, int32_t x, int32_t y);

// A black image of width x height.
Image black_image(int32_t width, int32_t height);

// A compiled-in picture decoded; empty (and the test failed) unless it
// decodes to width x height.
Image decoded_picture(const uint8_t* data, size_t size, int32_t width, int32_t height);
