// Whole-number enlargement of the picture, apart from any screen.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/enlarge.h"

namespace {

TEST(EnlargeFit, TheLargestWholeFactorThatFits) {
  struct CASE {
    int32_t screen_width, screen_height, width, height, factor;
  } cases[] = {
      {1280, 720, 256, 256, 2},  {1024, 768, 256, 256, 3}, {1920, 1080, 256, 256, 4},
      {3840, 2160, 256, 256, 8}, {256, 256, 256, 256, 1},  {511, 2000, 256, 256, 1},
      {255, 768, 256, 256, 0},   {1024, 255, 256, 256, 0}, {1024, 768, 0, 256, 0},
      {1024, 768, 256, -1, 0},   {1024, 768, 100, 50, 10},
  };
  for (const CASE& c : cases) {
    EXPECT_EQ(ENLARGE_fit(c.screen_width, c.screen_height, c.width, c.height), c.factor)
        << c.screen_width << "x" << c.screen_height << " for " << c.width << "x" << c.height;
  }
}

// Every target pixel is the source pixel it stands for; the bytes beyond
// each enlarged row (the rest of the pitch) and after the last row are left.
TEST(EnlargeCopy, EveryPixelBecomesABlockOfItself) {
  constexpr int32_t stride = 7;  // rows longer than the part enlarged
  constexpr int32_t width = 5;
  constexpr int32_t height = 3;
  constexpr uint32_t untouched = 0xDEADBEEF;
  std::vector<uint32_t> source(stride * height);
  for (size_t i = 0; i < source.size(); ++i) source[i] = 0x00102030u * static_cast<uint32_t>(i + 1);
  for (int32_t factor : {1, 2, 3, 4, 5, 7}) {
    const int32_t row_pixels = width * factor + 3;
    const size_t pitch = static_cast<size_t>(row_pixels) * 4;
    std::vector<uint32_t> target(static_cast<size_t>(row_pixels) * (height * factor + 1),
                                 untouched);
    ENLARGE_copy(source.data(), stride, width, height, factor,
                 reinterpret_cast<uint8_t*>(target.data()), pitch);
    int wrong = 0;
    for (int32_t y = 0; y < height * factor + 1; ++y) {
      for (int32_t x = 0; x < row_pixels; ++x) {
        const bool inside = x < width * factor && y < height * factor;
        const uint32_t expected =
            inside ? source[static_cast<size_t>(y / factor * stride + x / factor)] : untouched;
        wrong += target[static_cast<size_t>(y * row_pixels + x)] != expected;
      }
    }
    EXPECT_EQ(wrong, 0) << "factor " << factor;
  }
}

TEST(EnlargeCopy, AtFactorOneAPackedPictureIsCopiedAsItIs) {
  std::vector<uint32_t> source(16 * 4);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint32_t>(i * 2654435761u);
  std::vector<uint32_t> target(source.size(), 0);
  ENLARGE_copy(source.data(), 16, 16, 4, 1, reinterpret_cast<uint8_t*>(target.data()), 16 * 4);
  EXPECT_EQ(target, source);
}

TEST(EnlargeCopy, NothingIsWrittenForAnEmptyPictureOrNoFactor) {
  const uint32_t source[4] = {1, 2, 3, 4};
  uint32_t target[16];
  std::memset(target, 0xAB, sizeof target);
  auto* bytes = reinterpret_cast<uint8_t*>(target);
  ENLARGE_copy(source, 2, 0, 2, 2, bytes, 16);
  ENLARGE_copy(source, 2, 2, 0, 2, bytes, 16);
  ENLARGE_copy(source, 2, 2, 2, 0, bytes, 16);
  for (uint32_t pixel : target) EXPECT_EQ(pixel, 0xABABABABu);
}

}  // namespace
