#include "effects/cursor.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "effects_test_support.h"
#include "tests/support/frame_compare.h"

namespace {

// A wave over `image` with the given height factor and rest line.
CursorPtr make_wave(IMG* image, int32_t amplitude, int32_t rest_line) {
  CursorPtr cursor(CURSOR_create());
  cursor->image = image;
  cursor->amplitude = amplitude;
  cursor->y = rest_line;
  return cursor;
}

constexpr uint32_t background = 0xC0FFEE;

// Source pixel (x, y): distinct and non-zero, except a diagonal of zeros
// that must stay transparent.
uint32_t source_pixel(int32_t x, int32_t y) {
  return x == y ? 0u : 0x010000u * static_cast<uint32_t>(x + 1) + static_cast<uint32_t>(y + 1);
}

// Where a source pixel should land when every column keeps its shape.
struct Placement {
  int32_t x;
  int32_t y;
};

// Checks the whole destination: placed source pixels, background everywhere else.
void expect_source_at(const IMG* src, const IMG* dst,
                      const std::function<Placement(int32_t, int32_t)>& place) {
  std::vector<uint32_t> expected(static_cast<size_t>(dst->width * dst->height), background);
  for (int32_t y = 0; y < src->height; ++y) {
    for (int32_t x = 0; x < src->width; ++x) {
      const Placement p = place(x, y);
      const uint32_t pixel = src->pixels[y * src->width + x];
      if (pixel != 0 && p.x >= 0 && p.x < dst->width) {
        expected[p.y * dst->width + p.x] = pixel;
      }
    }
  }
  for (int32_t y = 0; y < dst->height; ++y) {
    for (int32_t x = 0; x < dst->width; ++x) {
      ASSERT_EQ(dst->pixels[y * dst->width + x], expected[y * dst->width + x]) << x << "," << y;
    }
  }
}

TEST(Cursor, CreateGivesTheDefaultWave) {
  CursorPtr cursor(CURSOR_create());
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->x, 0);
  EXPECT_EQ(cursor->y, 0);
  EXPECT_EQ(cursor->amplitude, 16);
  EXPECT_EQ(cursor->image, nullptr);
  EXPECT_EQ(cursor->phase.size, 1024);
  EXPECT_EQ(cursor->phase.base, 0);
  EXPECT_EQ(cursor->phase.base_step, 1);
  EXPECT_EQ(cursor->phase.offset, 0);
  EXPECT_EQ(cursor->phase.offset_step, 16);
}

TEST(CursorDraw, FlatWaveCopiesTheSourceToXY) {
  struct Case {
    std::string name;
    int32_t x;
    int32_t y;
  };
  const std::vector<Case> cases = {
      {"inside", 3, 5},
      {"wrapping at the bottom", 2, 32 - 10},
      {"left columns outside", -3, 1},
      {"right columns outside", 28, 0},
      {"every column outside", 40, 4},
      {"negative rest line", 0, -4},
  };
  ImagePtr src = make_image(8, 16, source_pixel);
  for (const Case& c : cases) {
    CursorPtr cursor = make_wave(src.get(), 0, c.y);
    cursor->x = c.x;
    ImagePtr dst = filled_image(32, 32, background);
    CURSOR_draw(cursor.get(), dst.get());
    SCOPED_TRACE(c.name);
    expect_source_at(src.get(), dst.get(), [&](int32_t x, int32_t y) {
      return Placement{x + c.x, ((y + c.y) % 32 + 32) % 32};
    });
  }
}

TEST(CursorDraw, SourceTallerThanTheDestinationIsCut) {
  ImagePtr src = make_image(4, 40, source_pixel);
  CursorPtr cursor = make_wave(src.get(), 0, 20);
  ImagePtr dst = filled_image(4, 32, background);
  CURSOR_draw(cursor.get(), dst.get());
  for (int32_t row = 0; row < 32; ++row) {
    const int32_t source_row = (row - 20 + 32) % 32;
    for (int32_t x = 0; x < 4; ++x) {
      const uint32_t pixel = source_pixel(x, source_row);
      EXPECT_EQ(IMG_get_pixel(dst.get(), x, row), pixel == 0 ? background : pixel)
          << x << "," << row;
    }
  }
}

// Row of the single lit pixel in column `column` of dst, or -1.
int32_t lit_row(const IMG* dst, int32_t column) {
  for (int32_t y = 0; y < dst->height; ++y) {
    if (dst->pixels[y * dst->width + column] != 0) return y;
  }
  return -1;
}

TEST(CursorDraw, ShowWaveStaysBetweenRowsSixtyFourAndOneNinetyOne) {
  // The show's wave: amplitude and rest line both half of a 256-row screen.
  struct Case {
    int32_t base;
    int32_t size;
    int32_t offset_step;
    int32_t top;
  };
  const std::vector<Case> cases = {
      {255, 1024, 1, 191},                       // column 0 reads the peak
      {767, 1024, 1, 64},                        // and the trough
      {1023, 1024, 1, 128}, {0, 1024, 16, 134},  // column 0 is already one offset step along
      {1279, 2048, 1, 191},                      // a ring larger than the table is folded into it
      {1791, 2048, 1, 64},
  };
  ImagePtr src = filled_image(1, 1, 0x7);
  for (const Case& c : cases) {
    CursorPtr cursor = make_wave(src.get(), 128, 128);
    DISTY_configure(&cursor->phase, c.size, c.base, -3, 0, c.offset_step);
    ImagePtr dst = filled_image(1, 256, 0);
    CURSOR_draw(cursor.get(), dst.get());
    EXPECT_EQ(lit_row(dst.get(), 0), c.top) << "base " << c.base << " size " << c.size;
  }
}

TEST(CursorDraw, ColumnsFollowTheirOwnPhase) {
  ImagePtr src = filled_image(256, 1, 0x9);
  CursorPtr cursor = make_wave(src.get(), 128, 128);
  cursor->phase.offset_step = 1;
  cursor->phase.base_step = -3;
  ImagePtr dst = filled_image(256, 256, 0);
  CURSOR_draw(cursor.get(), dst.get());
  // With base 0 the strip spans a quarter period, rising from the rest line
  // at column 0 to the peak at column 255.
  EXPECT_EQ(lit_row(dst.get(), 0), 128);
  EXPECT_EQ(lit_row(dst.get(), 255), 191);
  for (int32_t column = 1; column < 256; ++column) {
    EXPECT_GE(lit_row(dst.get(), column), lit_row(dst.get(), column - 1)) << column;
  }
}

TEST(CursorDraw, SameFrameDrawsTheSamePictureAndMoveShiftsIt) {
  // 50 columns leave the offset at 800 after a draw, not a whole turn.
  ImagePtr src = filled_image(50, 2, 0x5);
  CursorPtr cursor = make_wave(src.get(), 100, 50);
  ImagePtr first = filled_image(50, 100, 0);
  ImagePtr second = filled_image(50, 100, 0);
  CURSOR_draw(cursor.get(), first.get());
  CURSOR_draw(cursor.get(), second.get());
  EXPECT_FRAME_EQ(first, second);

  cursor->phase.base_step = 16;  // one column's worth of phase
  CURSOR_move(cursor.get());
  EXPECT_EQ(cursor->phase.base, 16);
  ImagePtr moved = filled_image(50, 100, 0);
  CURSOR_draw(cursor.get(), moved.get());
  EXPECT_FALSE(IMG_equal(first.get(), moved.get()));
  for (int32_t column = 0; column < 49; ++column) {
    EXPECT_EQ(lit_row(moved.get(), column), lit_row(first.get(), column + 1)) << column;
  }
}

TEST(CursorDraw, SharedPhaseMovesTheWholeImageTogether) {
  ImagePtr src = filled_image(10, 3, 0x4);
  CursorPtr cursor = make_wave(src.get(), 60, 40);
  cursor->phase.offset_step = 0;
  cursor->phase.base = 256;
  ImagePtr dst = filled_image(10, 80, 0);
  CURSOR_draw(cursor.get(), dst.get());
  for (int32_t column = 0; column < 10; ++column) {
    EXPECT_EQ(lit_row(dst.get(), column), 40 + ((60 * 32766) >> 16)) << column;
  }
}

TEST(CursorDraw, MissingImagesDrawNothing) {
  CursorPtr cursor(CURSOR_create());
  ImagePtr dst = filled_image(8, 8, background);
  CURSOR_draw(cursor.get(), dst.get());  // no source yet
  ImagePtr src = filled_image(8, 8, 0x1);
  cursor->image = src.get();
  CURSOR_draw(cursor.get(), nullptr);
  CURSOR_draw(nullptr, dst.get());
  for (int32_t i = 0; i < 64; ++i) ASSERT_EQ(dst->pixels[i], background);
}

TEST(CursorMove, AdvancesTheSlowPhaseRoundTheRing) {
  CursorPtr cursor(CURSOR_create());
  cursor->phase.base = 1;
  cursor->phase.base_step = -3;
  CURSOR_move(cursor.get());
  EXPECT_EQ(cursor->phase.base, 1022);
  CURSOR_move(nullptr);
}

TEST(CursorDestroy, NullsTheHandle) {
  CURSOR* cursor = CURSOR_create();
  CURSOR_destroy(&cursor);
  EXPECT_EQ(cursor, nullptr);
  CURSOR_destroy(&cursor);
  CURSOR_destroy(nullptr);
}

}  // namespace
