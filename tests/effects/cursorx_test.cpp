#include "effects/cursorx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "effects_test_support.h"
#include "imaging/bytemap.h"

namespace {

TEST(CursorxHexText, WritesEightUpperCaseDigitsAndNoTerminator) {
  struct Case {
    uint32_t value;
    std::string digits;
  };
  const std::vector<Case> cases = {
      {0, "00000000"},          {0xDEADBEEF, "DEADBEEF"}, {0x0123ABCF, "0123ABCF"},
      {0xFFFFFFFF, "FFFFFFFF"}, {10, "0000000A"},
  };
  for (const Case& c : cases) {
    char buffer[10] = {'#', '#', '#', '#', '#', '#', '#', '#', '#', '\0'};
    CURSORX_hex_text(c.value, buffer);
    EXPECT_EQ(std::string(buffer, 8), c.digits) << std::hex << c.value;
    EXPECT_EQ(buffer[8], '#') << "nothing is written after the eighth digit";
  }
  CURSORX_hex_text(0x1234, nullptr);  // ignored
}

TEST(CursorxStepColours, EachChannelGrowsByOneAndWrapsAlone) {
  struct Case {
    uint32_t before;
    uint32_t after;
  };
  const std::vector<Case> cases = {
      {0xFFFFFF, 0x000000},  // white
      {0x12FF34, 0x130035},  // red 18, green 255, blue 52
      {0x000000, 0x010101},     {0xFF00FF, 0x000100},
      {0xAB0000FE, 0x000101FF},  // the top byte becomes 0
  };
  const auto count = static_cast<int32_t>(cases.size());
  ImagePtr image = make_image(count, 2, [&](int32_t x, int32_t) { return cases[x].before; });
  CURSORX_step_colours(image.get());
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < count; ++x) {
      EXPECT_EQ(IMG_get_pixel(image.get(), x, y), cases[x].after)
          << std::hex << "from " << cases[x].before << " at row " << y;
    }
  }
}

TEST(CursorxStepColours, ImageWithoutPixelsIsLeftAlone) {
  CURSORX_step_colours(nullptr);
  IMG bare = {0, 4, 4, nullptr};
  CURSORX_step_colours(&bare);
  EXPECT_EQ(bare.pixels, nullptr);
}

TEST(CursorxNoise, OneBandForEveryByteInTheDrawOrder) {
  BytemapPtr map(BYTEMAP_create());
  BYTEMAP_resize(map.get(), 13, 7);
  const size_t count = 13 * 7;
  for (unsigned seed : {1u, 99u, 20101022u}) {
    srandom(seed);
    const long band = random() & 0xE0;
    std::vector<uint8_t> expected(count);
    for (size_t i = count; i-- > 0;) {
      expected[i] = static_cast<uint8_t>(band | (random() & 0x1F));
    }
    const long next = random();

    srandom(seed);
    CURSORX_noise(map.get());
    for (size_t i = 0; i < count; ++i) {
      ASSERT_EQ(map->pixels[i], expected[i]) << "byte " << i << " seed " << seed;
      ASSERT_EQ(map->pixels[i] & 0xE0, band);
    }
    EXPECT_EQ(random(), next) << "one draw for the band and one per byte";
  }
}

TEST(CursorxNoise, MapWithoutPixelsDrawsNothing) {
  CURSORX_noise(nullptr);
  BYTEMAP bare = {3, 3, nullptr};
  srandom(5);
  const long first = random();
  srandom(5);
  CURSORX_noise(&bare);
  EXPECT_EQ(random(), first);
}

}  // namespace
