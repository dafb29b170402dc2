// The small font (the bitmap doubled and tinted) and the large font.
#include <gtest/gtest.h>

#include "imaging/font.h"
#include "show/assets/pictures.h"
#include "tests/show/show_state.h"
#include "tests/support/frame_compare.h"

namespace {

// The tint told as channels, for the pixel at (x, y) of the doubled font
// image: red grows to the right across a 16-pixel cell, green grows
// downward and blue shrinks downward; on a cell's top row the full blue
// (256) overflows into green as 1.
uint32_t tinted(int32_t x, int32_t y) {
  const uint32_t across = static_cast<uint32_t>(x % 16);
  const uint32_t down = static_cast<uint32_t>(y % 16);
  const uint32_t red = 16 * across;
  const uint32_t green = 16 * down + (down == 0 ? 1 : 0);
  const uint32_t blue = down == 0 ? 0 : 16 * (16 - down);
  return red << 16 | green << 8 | blue;
}

using Fonts = ShowState;

TEST_F(Fonts, SmallFontIsTheBitmapDoubledAndTinted) {
  QUOMBRAX_build_fonts();
  const FONT* font = QUOMBRAX_state.small_font;
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->width, 16);
  EXPECT_EQ(font->height, 16);
  ImagePtr bitmap = decoded_picture(font_bitmap_pnm, font_bitmap_pnm_size, 128, 144);
  ASSERT_TRUE(bitmap);
  const IMG* image = font->image;
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->width, 256);
  ASSERT_EQ(image->height, 288);
  int32_t set_pixels = 0;
  for (int32_t y = 0; y < image->height; ++y) {
    for (int32_t x = 0; x < image->width; ++x) {
      const uint32_t source = pixel_at(bitmap.get(), x / 2, y / 2);
      ASSERT_TRUE(source == 0 || source == 0xFFFFFF) << x / 2 << ", " << y / 2;
      const uint32_t expected = source == 0 ? 0 : tinted(x, y);
      ASSERT_EQ(pixel_at(image, x, y), expected) << "font pixel " << x << ", " << y;
      set_pixels += source != 0;
    }
  }
  // A bitmap with no glyphs at all would pass the loop above.
  EXPECT_GT(set_pixels, 1000);
}

// Every glyph is tinted alike: the same place in two cells holding the same
// bitmap pixel has the same colour, whichever cells they are.
TEST_F(Fonts, EveryGlyphCarriesTheSameGradient) {
  QUOMBRAX_build_fonts();
  const IMG* image = QUOMBRAX_state.small_font->image;
  ASSERT_NE(image, nullptr);
  for (int32_t inner_y = 0; inner_y < 16; ++inner_y) {
    for (int32_t inner_x = 0; inner_x < 16; ++inner_x) {
      uint32_t first_lit = 0;
      for (int32_t code = 0; code < 256; ++code) {
        const uint32_t p = pixel_at(image, (code % 16) * 16 + inner_x, (code / 16) * 16 + inner_y);
        if (p == 0) continue;
        if (first_lit == 0) first_lit = p;
        ASSERT_EQ(p, first_lit) << "code " << code << " at " << inner_x << ", " << inner_y;
      }
    }
  }
}

TEST_F(Fonts, LargeFontIsThePictureSheetInThirtyTwoPixelCells) {
  QUOMBRAX_build_fonts();
  const FONT* font = QUOMBRAX_state.large_font;
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->width, 32);
  EXPECT_EQ(font->height, 32);
  ImagePtr sheet = decoded_picture(picture_sheet_pnm, picture_sheet_pnm_size, 512, 256);
  ASSERT_TRUE(sheet);
  EXPECT_FRAME_EQ(font->image, sheet);
}

TEST_F(Fonts, DestroyingFreesBothFonts) {
  QUOMBRAX_build_fonts();
  ASSERT_NE(QUOMBRAX_state.small_font, nullptr);
  ASSERT_NE(QUOMBRAX_state.large_font, nullptr);
  QUOMBRAX_destroy_fonts();
  EXPECT_EQ(QUOMBRAX_state.small_font, nullptr);
  EXPECT_EQ(QUOMBRAX_state.large_font, nullptr);
}

}  // namespace
