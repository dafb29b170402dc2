#pragma once

// Owning handles and small builders for the byte-map, palette and font tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "tests/support/handles.h"
#include "tests/support/output_capture.h"
#include "tests/support/pixels.h"

inline BytemapPtr make_map(int32_t width, int32_t height) {
  BytemapPtr map(BYTEMAP_create());
  EXPECT_NE(map, nullptr);
  BYTEMAP_resize(map.get(), width, height);
  EXPECT_EQ(map->width, width);
  EXPECT_EQ(map->height, height);
  return map;
}

// A map whose byte at (x, y) is value(x, y).
inline BytemapPtr make_map(int32_t width, int32_t height,
                           const std::function<uint8_t(int32_t, int32_t)>& value) {
  BytemapPtr map = make_map(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      map->pixels[y * width + x] = value(x, y);
    }
  }
  return map;
}

inline ImagePtr make_image(int32_t width, int32_t height, uint32_t fill = 0) {
  ImagePtr image(IMG_create());
  EXPECT_NE(image, nullptr);
  IMG_resize(image.get(), width, height);
  EXPECT_EQ(image->width, width);
  for (int32_t i = 0; i < width * height; ++i) {
    image->pixels[i] = fill;
  }
  return image;
}

// Turns the byte map's error line on for one test and off again after it.
class BytemapErrors : public ::testing::Test {
 protected:
  void SetUp() override { BYTEMAP_set_error_report(1); }
  void TearDown() override { BYTEMAP_set_error_report(0); }
};

inline const std::string kBytemapError = "BYTEMAP error\n";
