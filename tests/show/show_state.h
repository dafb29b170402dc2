#pragma once

#include <cstdint>

#include <gtest/gtest.h>

#include "imaging/img.h"
#include "show/quombrax.h"
#include "tests/support/handles.h"
#include "tests/support/show_in_process.h"

// The show's state and settings as start-up leaves them before the shared
// assets are built: a black screen image of the chosen size and nothing else.
class ShowState : public ShowInProcess {
 protected:
  void SetUp() override {
    ShowInProcess::SetUp();
    build_screen(256, 256);
  }
};

// The pixel at (x, y), or 0 outside the image.
uint32_t pixel_at(const IMG* image, int32_t x, int32_t y);

// A black image of width x height.
ImagePtr black_image(int32_t width, int32_t height);

// A compiled-in picture decoded; empty (and the test failed) unless it
// decodes to width x height.
ImagePtr decoded_picture(const uint8_t* data, size_t size, int32_t width, int32_t height);
