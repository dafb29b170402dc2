#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/font.h"
#include "imaging/img.h"
#include "tests/imaging/bytemap_helpers.h"
#include "tests/support/frame_compare.h"
#include "tests/support/module_ids.h"

namespace {

constexpr uint32_t kPaper = 0x00AA00;

// The colour filling the cell of character code c in the test fonts.
uint32_t cell_colour(int32_t c) { return 0x010000u + static_cast<uint32_t>(c); }

struct FontDeleter {
  void operator()(FONT* font) const { FONT_destroy(&font); }
};
using FontPtr = std::unique_ptr<FONT, FontDeleter>;

// A font of cell x cell pixels, `per_row` cells a row and `rows` rows, each
// cell filled with its code's colour except a transparent top-left pixel.
FontPtr make_font(int32_t cell, int32_t per_row, int32_t rows) {
  FontPtr font(FONT_create());
  EXPECT_NE(font, nullptr);
  font->width = cell;
  font->height = cell;
  font->image = IMG_create();
  IMG_resize(font->image, cell * per_row, cell * rows);
  for (int32_t y = 0; y < cell * rows; ++y) {
    for (int32_t x = 0; x < cell * per_row; ++x) {
      const int32_t code = (y / cell) * per_row + x / cell;
      const bool hole = x % cell == 0 && y % cell == 0;
      IMG_put_pixel(font->image, x, y, hole ? 0 : cell_colour(code));
    }
  }
  return font;
}

// The codes whose cells were drawn with their left edge at the given x,
// read from the pixel just right of the transparent corner.
int32_t code_at(const IMG* image, int32_t x, int32_t y) {
  const uint32_t p = IMG_get_pixel(image, x + 1, y);
  return p == kPaper ? -1 : static_cast<int32_t>(p - cell_colour(0));
}

TEST(FontId, NamesModuleDateAuthorLanguageKind) {
  expect_module_id(FONT_id, {"FONT    ", "20101005", "Kadwelon", "C       ", "CODE    "});
}

TEST(FontCreate, IsSixBySixWithoutImage) {
  FONT* font = FONT_create();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->width, 6);
  EXPECT_EQ(font->height, 6);
  EXPECT_EQ(font->image, nullptr);
  FONT_destroy(&font);
  EXPECT_EQ(font, nullptr);
  EXPECT_EQ(printed_by([&] {
              FONT_destroy(&font);  // refused silently
              FONT_destroy(nullptr);
            }),
            "");
}

TEST(FontDrawChar, CopiesTheCellAtItsPlaceInTheStrip) {
  // 10 pixels wide with 4-pixel cells: the strip wraps in the middle of a
  // cell, so code 3 starts at column 2 of the second row of cells.
  FontPtr font(FONT_create());
  font->width = 4;
  font->height = 3;
  font->image = IMG_create();
  IMG_resize(font->image, 10, 9);
  for (int32_t i = 0; i < 90; ++i) font->image->pixels[i] = 1000u + i;
  struct Case {
    int32_t code, sx, sy, drawn_width;
  };
  const Case cases[] = {{0, 0, 0, 4}, {1, 4, 0, 4}, {2, 8, 0, 2}, {3, 2, 3, 4}, {6, 4, 6, 4}};
  for (const Case& c : cases) {
    ImagePtr dst = make_image(6, 5, kPaper);
    FONT_draw_char(font.get(), c.code, 1, 1, dst.get());
    for (int32_t y = 0; y < 5; ++y) {
      for (int32_t x = 0; x < 6; ++x) {
        const int32_t u = x - 1, v = y - 1;
        const bool drawn = u >= 0 && v >= 0 && u < c.drawn_width && v < 3;
        const uint32_t expected = drawn ? 1000u + (c.sy + v) * 10 + (c.sx + u) : kPaper;
        EXPECT_EQ(IMG_get_pixel(dst.get(), x, y), expected)
            << "code " << c.code << " at " << x << "," << y;
      }
    }
  }
}

TEST(FontDrawChar, GridFontPutsCodesInReadingOrder) {
  FontPtr font = make_font(8, 16, 8);
  ImagePtr dst = make_image(8, 8, kPaper);
  for (int32_t code : {0, 1, 15, 16, 65, 127}) {
    FONT_draw_char(font.get(), code, 0, 0, dst.get());
    EXPECT_EQ(code_at(dst.get(), 0, 0), code);
    EXPECT_EQ(IMG_get_pixel(dst.get(), 7, 7), cell_colour(code));
  }
}

TEST(FontDrawChar, TransparentPixelsKeepTheDestination) {
  FontPtr font = make_font(4, 4, 1);
  font->image->pixels[1] = 1;  // the smallest visible value
  ImagePtr dst = make_image(4, 4, kPaper);
  FONT_draw_char(font.get(), 0, 0, 0, dst.get());
  EXPECT_EQ(IMG_get_pixel(dst.get(), 0, 0), kPaper);
  EXPECT_EQ(IMG_get_pixel(dst.get(), 1, 0), 1u);
  EXPECT_EQ(IMG_get_pixel(dst.get(), 2, 0), cell_colour(0));
}

TEST(FontDrawChar, ClipsAtTheEdgesWithoutWrapping) {
  FontPtr font = make_font(4, 4, 1);
  const int32_t places[][2] = {{-2, 0}, {6, 0}, {0, -3},        {0, 7},
                               {-4, 0}, {8, 0}, {INT32_MIN, 0}, {INT32_MAX, INT32_MAX}};
  for (const auto& at : places) {
    ImagePtr dst = make_image(8, 8, kPaper);
    FONT_draw_char(font.get(), 2, at[0], at[1], dst.get());
    for (int32_t y = 0; y < 8; ++y) {
      for (int32_t x = 0; x < 8; ++x) {
        const int64_t u = int64_t{x} - at[0], v = int64_t{y} - at[1];
        const bool inside = u >= 0 && v >= 0 && u < 4 && v < 4;
        const uint32_t expected = !inside ? kPaper : (u == 0 && v == 0) ? kPaper : cell_colour(2);
        EXPECT_EQ(IMG_get_pixel(dst.get(), x, y), expected)
            << at[0] << "," << at[1] << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(FontDrawChar, NegativeAndHugeCodesDrawNothing) {
  FontPtr font = make_font(6, 16, 8);
  ImagePtr dst = make_image(16, 16, kPaper);
  for (int32_t code : {-1, -43, -128, INT32_MIN, 128, 100000, INT32_MAX}) {
    FONT_draw_char(font.get(), code, 0, 0, dst.get());
    EXPECT_FRAME_EQ(dst, FrameView(std::vector<uint32_t>(256, kPaper), dst->width)) << code;
  }
}

TEST(FontDrawChar, FontWithoutImageOrEmptyImageDrawsNothing) {
  ImagePtr dst = make_image(8, 8, kPaper);
  FontPtr bare(FONT_create());
  FontPtr empty = make_font(4, 1, 1);
  IMG_resize(empty->image, 0, 4);
  EXPECT_EQ(printed_by([&] {
              FONT_draw_char(nullptr, 'A', 0, 0, dst.get());
              FONT_draw_char(bare.get(), 'A', 0, 0, dst.get());
              FONT_draw_char(empty.get(), 0, 0, 0, dst.get());
              FONT_draw_text(bare.get(), "AB", 0, 0, dst.get());
              FONT_draw_text(empty.get(), nullptr, 0, 0, dst.get());
            }),
            "");  // the font's hook is silent
  EXPECT_FRAME_EQ(dst, FrameView(std::vector<uint32_t>(64, kPaper), dst->width));
}

struct HexCase {
  const char* name;
  int32_t cell;
  std::vector<int32_t> expected_codes;
  void (*draw)(const FONT*, int32_t x, IMG*);
};

TEST(FontDrawHex, DrawsEveryDigitUpperCaseWithLeadingZeros) {
  const HexCase cases[] = {
      {"hex8 0xAF",
       16,
       {'A', 'F'},
       [](const FONT* f, int32_t x, IMG* d) { FONT_draw_hex8(f, 0xAF, x, 2, d); }},
      {"hex8 5",
       6,
       {'0', '5'},
       [](const FONT* f, int32_t x, IMG* d) { FONT_draw_hex8(f, 5, x, 2, d); }},
      {"hex16 0x0B9C",
       6,
       {'0', 'B', '9', 'C'},
       [](const FONT* f, int32_t x, IMG* d) { FONT_draw_hex16(f, 0x0B9C, x, 2, d); }},
      {"hex32 305441741",
       6,
       {'1', '2', '3', '4', 'A', 'B', 'C', 'D'},
       [](const FONT* f, int32_t x, IMG* d) { FONT_draw_hex32(f, 305441741u, x, 2, d); }},
      {"hex32 0xE0F00007",
       6,
       {'E', '0', 'F', '0', '0', '0', '0', '7'},
       [](const FONT* f, int32_t x, IMG* d) { FONT_draw_hex32(f, 0xE0F00007u, x, 2, d); }},
  };
  for (const HexCase& c : cases) {
    FontPtr font = make_font(c.cell, 16, 8);
    const int32_t left = 3;
    ImagePtr dst = make_image(left + 8 * c.cell + 4, c.cell + 4, kPaper);
    c.draw(font.get(), left, dst.get());
    for (size_t i = 0; i < c.expected_codes.size(); ++i) {
      EXPECT_EQ(code_at(dst.get(), left + int32_t(i) * c.cell, 2), c.expected_codes[i])
          << c.name << " digit " << i;
    }
    EXPECT_EQ(code_at(dst.get(), left + int32_t(c.expected_codes.size()) * c.cell, 2), -1)
        << c.name;
  }
}

TEST(FontDrawText, StopsAtTheLineFeedAndKeepsY) {
  FontPtr font = make_font(6, 16, 8);
  ImagePtr dst = make_image(40, 20, kPaper);
  FONT_draw_text(font.get(), "Hi\nYo", 2, 5, dst.get());
  EXPECT_EQ(code_at(dst.get(), 2, 5), 'H');
  EXPECT_EQ(code_at(dst.get(), 8, 5), 'i');
  EXPECT_EQ(code_at(dst.get(), 14, 5), -1);
  const std::vector<uint32_t> pixels = pixels_of(dst.get());
  auto drawn = std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return p != kPaper; });
  EXPECT_EQ(drawn, 2 * (36 - 1));  // two cells, each without its transparent corner
}

TEST(FontDrawText, HighBytesDrawNothingButStillAdvance) {
  // The image holds cells for all 256 byte values, so a byte read as
  // unsigned would find a cell and draw it.
  FontPtr font = make_font(6, 16, 16);
  ImagePtr dst = make_image(40, 10, kPaper);
  FONT_draw_text(font.get(),
                 "A\x80\xff"
                 "B",
                 0, 0, dst.get());
  EXPECT_EQ(code_at(dst.get(), 0, 0), 'A');
  EXPECT_EQ(code_at(dst.get(), 6, 0), -1);
  EXPECT_EQ(code_at(dst.get(), 12, 0), -1);
  EXPECT_EQ(code_at(dst.get(), 18, 0), 'B');
}

// The advance past the largest x must neither wrap round to the left edge
// nor overflow (the sanitizer build checks the latter).
TEST(FontDrawText, TextsRunningPastTheLargestXDrawNothing) {
  FontPtr font = make_font(6, 16, 8);
  ImagePtr dst = make_image(12, 6, kPaper);
  FONT_draw_text(font.get(), "ABCDEFGH", INT32_MAX - 7, 0, dst.get());
  FONT_draw_hex32(font.get(), 0xFFFFFFFFu, INT32_MAX - 20, 0, dst.get());
  font->width = INT32_MAX;
  FONT_draw_text(font.get(), "\x01\x01\x01", -1, 0, dst.get());
  EXPECT_FRAME_EQ(dst, FrameView(std::vector<uint32_t>(72, kPaper), dst->width));
}

}  // namespace
