#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/img.h"

// Owns an image for the length of a test.
struct ImageDeleter {
  void operator()(IMG* image) const { IMG_destroy(&image); }
};
using Image = std::unique_ptr<IMG, ImageDeleter>;

// A width x height image whose pixel (x, y) is value(x, y).
template <typename Value>
Image make_image(int32_t width, int32_t height, Value value) {
  Image image(IMG_create());
  IMG_resize(image.get(), width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) image->pixels[y * width + x] = value(x, y);
  return image;
}

// Every pixel distinct and non-zero, so a misplaced copy shows.
inline Image numbered_image(int32_t width, int32_t height, uint32_t base = 0x010000) {
  return make_image(width, height, [=](int32_t x, int32_t y) {
    return base + static_cast<uint32_t>(y * width + x) + 1;
  });
}

inline std::vector<uint32_t> pixels_of(const IMG* image) {
  return {image->pixels, image->pixels + image->width * image->height};
}

// What the error hook printed while f ran with the report switch on.
template <typename Action>
std::string printed_by(Action&& f) {
  IMG_set_error_report(1);
  testing::internal::CaptureStdout();
  std::forward<Action>(f)();
  std::string out = testing::internal::GetCapturedStdout();
  IMG_set_error_report(0);
  return out;
}

inline const char* const img_error_line = "IMG error\n";

// Makes the n-th zero-filled allocation from now (counting from 1) fail, for
// as long as the object lives; counts the allocations made meanwhile.
class FailingAllocation {
 public:
  explicit FailingAllocation(int64_t nth);
  ~FailingAllocation();
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;
  int64_t calls() const;
};
