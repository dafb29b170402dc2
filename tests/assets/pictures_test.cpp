// The compiled-in pictures decode to the sizes and layouts the show relies on.
#include "show/assets/pictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "imaging/img.h"
#include "tests/support/compiled_pictures.h"

namespace {

using Picture = CompiledPicture;
const auto& pictures = compiled_pictures;

// Owns one decoded picture for the length of a test.
struct Decoded {
  IMG* image;
  explicit Decoded(const Picture& p) : image(IMG_parse(p.data, p.size)) {}
  ~Decoded() { IMG_destroy(&image); }
  Decoded(const Decoded&) = delete;
  Decoded& operator=(const Decoded&) = delete;
  uint32_t at(int32_t x, int32_t y) const { return image->pixels[y * image->width + x]; }
};

// Number of non-zero pixels in a rectangle.
int32_t lit_pixels(const Decoded& d, int32_t x0, int32_t y0, int32_t w, int32_t h) {
  int32_t count = 0;
  for (int32_t y = y0; y < y0 + h; ++y) {
    for (int32_t x = x0; x < x0 + w; ++x) count += d.at(x, y) != 0;
  }
  return count;
}

std::vector<uint32_t> cell_pixels(const Decoded& d, int32_t code, int32_t cell) {
  std::vector<uint32_t> pixels;
  int32_t x0 = (code % 16) * cell, y0 = (code / 16) * cell;
  for (int32_t y = y0; y < y0 + cell; ++y) {
    for (int32_t x = x0; x < x0 + cell; ++x) pixels.push_back(d.at(x, y));
  }
  return pixels;
}

TEST(Pictures, EachDecodesToItsFormatAndSizeWithCommentsAfterTheMagic) {
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.name);
    ASSERT_GT(p.size, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p.data), 4), std::string(p.magic) + "\n#");
    Decoded d(p);
    ASSERT_NE(d.image, nullptr);
    EXPECT_EQ(d.image->width, p.width);
    EXPECT_EQ(d.image->height, p.height);
    size_t header_end =
        p.size - (std::strcmp(p.magic, "P4") == 0 ? static_cast<size_t>(p.width / 8 * p.height)
                                                  : static_cast<size_t>(p.width * p.height * 3));
    EXPECT_EQ(p.data[header_end - 1], '\n') << "the pixel data follows the header at once";
    // Every picture has both transparent and drawn pixels.
    int32_t lit = lit_pixels(d, 0, 0, p.width, p.height);
    EXPECT_GT(lit, 0);
    EXPECT_LT(lit, p.width * p.height);
  }
}

TEST(FontBitmap, GlyphsAreWhiteOnBlackAndEveryCodeHasItsOwnCell) {
  Decoded font(pictures[0]);
  ASSERT_NE(font.image, nullptr);
  for (int32_t i = 0; i < font.image->width * font.image->height; ++i) {
    uint32_t v = font.image->pixels[i];
    ASSERT_TRUE(v == 0 || v == 0xFFFFFF) << "pixel " << i;
  }
  std::set<std::vector<uint32_t>> printable;
  for (int32_t code = 33; code <= 126; ++code) {
    auto cell = cell_pixels(font, code, 8);
    EXPECT_TRUE(printable.insert(cell).second) << "code " << code << " repeats another glyph";
    EXPECT_GT(lit_pixels(font, (code % 16) * 8, (code / 16) * 8, 8, 8), 0) << code;
  }
  EXPECT_EQ(lit_pixels(font, 0, 16, 8, 8), 0) << "space is empty";
  EXPECT_EQ(lit_pixels(font, 0, 80, 8, 8), 0) << "the no-break space is empty";
  for (int32_t code = 161; code <= 255; ++code) {
    EXPECT_GT(lit_pixels(font, (code % 16) * 8, (code / 16) * 8, 8, 8), 0) << code;
  }
  std::set<std::vector<uint32_t>> hex;
  for (int32_t code = 0; code < 160; ++code) {
    if (code == 32) code = 128;
    EXPECT_TRUE(hex.insert(cell_pixels(font, code, 8)).second) << "code " << code;
  }
}

TEST(FontBitmap, CodesWithoutLettersShowTheirHexDigits) {
  // Codes 0x12 and 0x21 would show "1 2" and "2 1": the left half of one is
  // the right half of the other.
  Decoded font(pictures[0]);
  ASSERT_NE(font.image, nullptr);
  auto half = [&](int32_t code, int32_t x_offset) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 8; ++y) {
      for (int32_t x = 0; x < 4; ++x) {
        pixels.push_back(font.at((code % 16) * 8 + x_offset + x, (code / 16) * 8 + y));
      }
    }
    return pixels;
  };
  EXPECT_EQ(half(0x12, 0), half(0x81, 4));
  EXPECT_EQ(half(0x12, 4), half(0x82, 4));
  EXPECT_EQ(half(0x9F, 4), half(0x1F, 4));
  EXPECT_NE(half(0x12, 0), half(0x12, 4));
}

class PictureSheet : public testing::Test {
 protected:
  Decoded sheet{pictures[1]};
  int32_t cell_lit(int32_t code) {
    return lit_pixels(sheet, (code % 16) * 32, (code / 16) * 32, 32, 32);
  }
};

TEST_F(PictureSheet, BlankCellsAreExactlyBlack) {
  ASSERT_NE(sheet.image, nullptr);
  EXPECT_EQ(cell_lit(10), 0);
  EXPECT_EQ(cell_lit(32), 0);
  EXPECT_EQ(cell_lit(0), 0);
}

TEST_F(PictureSheet, StarsGrowFromCellOneToCellEight) {
  ASSERT_NE(sheet.image, nullptr);
  int32_t previous = 0;
  for (int32_t code = 1; code <= 8; ++code) {
    int32_t lit = cell_lit(code);
    EXPECT_GT(lit, previous) << "star " << code;
    previous = lit;
  }
  EXPECT_GT(cell_lit(23), 32 * 32 / 2) << "the orbit symbol fills most of its cell";
}

TEST_F(PictureSheet, LettersAreBlueAndDistinct) {
  ASSERT_NE(sheet.image, nullptr);
  std::set<std::vector<uint32_t>> seen;
  for (int32_t code = 33; code <= 126; ++code) {
    auto pixels = cell_pixels(sheet, code, 32);
    EXPECT_TRUE(seen.insert(pixels).second) << "code " << code;
    int32_t lit = 0;
    for (uint32_t v : pixels) {
      if (v == 0) continue;
      ++lit;
      uint32_t r = v >> 16, g = (v >> 8) & 0xFF, b = v & 0xFF;
      ASSERT_GE(b, r) << "code " << code;
      ASSERT_GE(b, g) << "code " << code;
    }
    EXPECT_GT(lit, 0) << "code " << code;
  }
}

TEST(LogoPicture, BlackWindowsCoverAGoodPartButNotAll) {
  Decoded logo(pictures[2]);
  ASSERT_NE(logo.image, nullptr);
  int32_t lit = lit_pixels(logo, 0, 0, 256, 256);
  EXPECT_GT(lit, 256 * 256 / 5);
  EXPECT_LT(lit, 256 * 256 * 4 / 5);
  EXPECT_EQ(logo.at(0, 0), 0u) << "the pattern shows at the corners";
}

TEST(CornerPicture, EmblemIsSurroundedByTransparentBlack) {
  Decoded corner(pictures[4]);
  ASSERT_NE(corner.image, nullptr);
  for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}}) {
    EXPECT_EQ(corner.at(x, y), 0u) << x << "," << y;
  }
  EXPECT_EQ(lit_pixels(corner, 24, 24, 16, 16), 16 * 16) << "the middle is solid";
}

TEST(RollPicture, TopAndBottomRowsMeetWhenWrapped) {
  // The roll wraps the texture vertically: its first and last rows are both
  // in a gap, so no band is cut where they meet.
  Decoded roll(pictures[3]);
  ASSERT_NE(roll.image, nullptr);
  EXPECT_EQ(lit_pixels(roll, 0, 0, 256, 1), 0);
  EXPECT_EQ(lit_pixels(roll, 0, 95, 256, 1), 0);
  EXPECT_GT(lit_pixels(roll, 0, 0, 256, 48), 0);
  EXPECT_GT(lit_pixels(roll, 0, 48, 256, 48), 0);
}

}  // namespace
