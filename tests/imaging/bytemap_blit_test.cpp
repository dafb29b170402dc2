#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/bytemap.h"
#include "tests/imaging/bytemap_helpers.h"

namespace {

constexpr uint8_t kBackground = 3;

// Every source byte distinct and non-zero except a few transparent ones.
uint8_t source_byte(int32_t x, int32_t y) {
  return (x + y) % 5 == 0 ? 0 : uint8_t(10 + x + 12 * y);
}

// The unclipped copy, told from the destination's side: destination pixel
// (tx, ty) receives source column c and row r when tx = dx + c x step_x and
// ty = dy + r x step_y. Whatever the clipped blit draws must land exactly
// here, and it must draw everything that lands inside.
std::vector<uint8_t> expected_blit(const BYTEMAP* src, const BYTEMAP* dst, int32_t sx, int32_t sy,
                                   int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t step_x = 1,
                                   int32_t step_y = 1) {
  std::vector<uint8_t> out = bytes_of(dst);
  for (int64_t ty = 0; ty < dst->height; ++ty) {
    for (int64_t tx = 0; tx < dst->width; ++tx) {
      const int64_t cx = tx - dx, ry = ty - dy;
      if (cx < 0 || ry < 0 || cx % step_x != 0 || ry % step_y != 0) continue;
      const int64_t c = cx / step_x, r = ry / step_y;
      if (c >= w || r >= h) continue;
      const int64_t fx = sx + c, fy = sy + r;
      if (fx < 0 || fy < 0 || fx >= src->width || fy >= src->height) continue;
      const uint8_t v = src->pixels[fy * src->width + fx];
      if (v != 0) out[ty * dst->width + tx] = v;
    }
  }
  return out;
}

struct BlitCase {
  const char* name;
  int32_t sx, sy, dx, dy, w, h;
};

TEST(BytemapBlit, ClipsOnEverySideOfBothMapsAndKeepsPositions) {
  const BlitCase cases[] = {
      {"inside", 1, 1, 2, 3, 5, 4},
      {"source left", -3, 0, 2, 2, 6, 3},
      {"source top", 0, -4, 2, 2, 3, 6},
      {"source right", 9, 0, 0, 0, 6, 3},
      {"source bottom", 0, 8, 0, 0, 3, 6},
      {"destination left", 0, 0, -4, 1, 8, 3},
      {"destination top", 0, 0, 1, -5, 3, 8},
      {"destination right", 0, 0, 12, 1, 8, 3},
      {"destination bottom", 0, 0, 1, 8, 3, 8},
      {"all sides", -2, -2, -3, -3, 40, 40},
      {"corner to negative", 0, 0, -4, -4, 12, 10},
      {"zero width", 0, 0, 0, 0, 0, 5},
      {"negative size", 0, 0, 0, 0, -3, -3},
      {"past destination", 0, 0, 16, 0, 4, 4},
      {"before destination", 0, 0, -5, 0, 4, 4},
      {"huge coordinates", INT32_MAX, 0, INT32_MIN, 0, INT32_MAX, 3},
      {"huge size", 0, 0, 0, 0, INT32_MAX, INT32_MAX},
  };
  BytemapPtr src = make_map(12, 10, source_byte);
  for (const BlitCase& c : cases) {
    BytemapPtr dst = make_map(16, 11, [](int32_t, int32_t) { return kBackground; });
    const std::vector<uint8_t> expected =
        expected_blit(src.get(), dst.get(), c.sx, c.sy, c.dx, c.dy, c.w, c.h);
    BYTEMAP_blit(src.get(), dst.get(), c.sx, c.sy, c.dx, c.dy, c.w, c.h);
    EXPECT_EQ(bytes_of(dst.get()), expected) << c.name;
  }
}

TEST(BytemapBlit, NegativeCornerDrawsTheLowerRightPart) {
  BytemapPtr src = make_map(16, 16, [](int32_t x, int32_t y) { return uint8_t(1 + x + 16 * y); });
  BytemapPtr dst = make_map(20, 20);
  BYTEMAP_blit(src.get(), dst.get(), 0, 0, -4, -4, 16, 16);
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 20; ++x) {
      const uint8_t expected = x < 12 && y < 12 ? uint8_t(1 + (x + 4) + 16 * (y + 4)) : 0;
      ASSERT_EQ(BYTEMAP_get_pixel(dst.get(), x, y), expected) << x << "," << y;
    }
  }
}

TEST(BytemapBlit, SkipsZeroAndDrawsEveryOtherValue) {
  BytemapPtr src = make_map(3, 1, [](int32_t x, int32_t) {
    return uint8_t(x == 0 ? 0 : x == 1 ? 1 : 255);
  });
  BytemapPtr dst = make_map(3, 1, [](int32_t, int32_t) { return uint8_t(77); });
  BYTEMAP_blit(src.get(), dst.get(), 0, 0, 0, 0, 3, 1);
  EXPECT_EQ(bytes_of(dst.get()), (std::vector<uint8_t>{77, 1, 255}));
}

TEST(BytemapBlitStepped, SpreadsColumnsAndClipsLikeTheUnclippedCopy) {
  // Two rows: with step 2 the one source row needs room for two.
  BytemapPtr src = make_map(3, 1, [](int32_t x, int32_t) { return uint8_t(x + 1); });
  BytemapPtr wide = make_map(7, 2);
  BYTEMAP_blit_stepped(src.get(), wide.get(), 0, 0, 0, 0, 3, 1, 2, 2);
  EXPECT_EQ(bytes_of(wide.get()), (std::vector<uint8_t>{1, 0, 2, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  BytemapPtr left = make_map(7, 2);
  BYTEMAP_blit_stepped(src.get(), left.get(), 0, 0, -3, 0, 3, 1, 2, 2);
  EXPECT_EQ(bytes_of(left.get()), (std::vector<uint8_t>{0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BytemapBlitStepped, DropsALastColumnOrRowWhenTheRoomIsNotAMultipleOfTheStep) {
  BytemapPtr src = make_map(3, 1, [](int32_t x, int32_t) { return uint8_t(x + 1); });
  BytemapPtr dst = make_map(5, 1);
  BYTEMAP_blit_stepped(src.get(), dst.get(), 0, 0, 0, 0, 3, 1, 2, 1);
  EXPECT_EQ(bytes_of(dst.get()), (std::vector<uint8_t>{1, 0, 2, 0, 0}));
  BYTEMAP_blit_stepped(src.get(), dst.get(), 0, 0, 0, 0, 3, 1, 1, 2);
  EXPECT_EQ(bytes_of(dst.get()), (std::vector<uint8_t>{1, 0, 2, 0, 0}));
}

TEST(BytemapBlitStepped, MatchesTheUnclippedCopyWhereTheRoomIsAMultiple) {
  const BlitCase cases[] = {
      {"inside", 0, 0, 1, 1, 4, 3},
      {"source left and top", -2, -1, 0, 0, 5, 4},
      {"destination left and top", 0, 0, -5, -3, 6, 5},
      {"both corners", -1, -2, -3, -1, 8, 8},
      {"past destination", 0, 0, 24, 0, 3, 3},
  };
  BytemapPtr src = make_map(12, 10, source_byte);
  for (const BlitCase& c : cases) {
    // 24 x 21 leaves a multiple of the steps 3 and 2 wherever a copy reaches.
    BytemapPtr dst = make_map(24, 21, [](int32_t, int32_t) { return kBackground; });
    std::vector<uint8_t> expected =
        expected_blit(src.get(), dst.get(), c.sx, c.sy, c.dx, c.dy, c.w, c.h, 3, 2);
    BYTEMAP_blit_stepped(src.get(), dst.get(), c.sx, c.sy, c.dx, c.dy, c.w, c.h, 3, 2);
    EXPECT_EQ(bytes_of(dst.get()), expected) << c.name;
  }
}

TEST_F(BytemapErrors, StepsBelowOneAreRefused) {
  BytemapPtr src = make_map(3, 3, [](int32_t, int32_t) { return uint8_t(9); });
  BytemapPtr dst = make_map(8, 8);
  const int32_t steps[][2] = {{0, 1}, {1, 0}, {-1, 1}, {1, -2}, {INT32_MIN, INT32_MIN}};
  for (const auto& s : steps) {
    EXPECT_EQ(printed_by([&] {
                BYTEMAP_blit_stepped(src.get(), dst.get(), 0, 0, 4, 4, 3, 3, s[0], s[1]);
              }),
              kBytemapError);
  }
  EXPECT_EQ(bytes_of(dst.get()), std::vector<uint8_t>(64, 0));
}

TEST(BytemapBlend, AveragesHalvesWhereTheSourceIsNotZero) {
  BytemapPtr src = make_map(4, 1, [](int32_t x, int32_t) { return uint8_t(x == 3 ? 0 : 255); });
  BytemapPtr dst = make_map(4, 1, [](int32_t x, int32_t) {
    return uint8_t(x == 1 ? 0 : x == 2 ? 9 : 255);
  });
  BYTEMAP_blend(src.get(), dst.get(), 0, 0);
  // 255 over 255, over 0, over 9 (4 + 127), and a transparent source byte.
  EXPECT_EQ(bytes_of(dst.get()), (std::vector<uint8_t>{254, 127, 131, 255}));
}

TEST(BytemapBlend, ClipsTheSourceAtEveryEdge) {
  BytemapPtr src =
      make_map(4, 4, [](int32_t x, int32_t y) { return uint8_t(2 * (1 + x + 4 * y)); });
  const int32_t corners[][2] = {{-2, -1}, {3, 2}, {-4, 0}, {5, 5}, {0, -4}, {1, 1}};
  for (const auto& at : corners) {
    BytemapPtr dst = make_map(5, 5, [](int32_t, int32_t) { return uint8_t(20); });
    BYTEMAP_blend(src.get(), dst.get(), at[0], at[1]);
    for (int32_t y = 0; y < 5; ++y) {
      for (int32_t x = 0; x < 5; ++x) {
        const int32_t u = x - at[0], v = y - at[1];
        const bool covered = u >= 0 && v >= 0 && u < 4 && v < 4;
        const uint8_t expected = covered ? uint8_t(10 + (1 + u + 4 * v)) : 20;
        EXPECT_EQ(BYTEMAP_get_pixel(dst.get(), x, y), expected)
            << "at " << at[0] << "," << at[1] << " pixel " << x << "," << y;
      }
    }
  }
}

struct RingCase {
  const char* name;
  int32_t src_len, dst_len, offset;
  std::vector<uint8_t> expected;  // the destination line afterwards
};

// Source line bytes are 1 .. src_len; the destination starts all 0.
const RingCase kRingCases[] = {
    {"8 into 10 at 7", 8, 10, 7, {4, 5, 6, 7, 8, 0, 0, 1, 2, 3}},
    {"8 into 10 at -3", 8, 10, -3, {4, 5, 6, 7, 8, 0, 0, 1, 2, 3}},
    {"8 into 10 at 17", 8, 10, 17, {4, 5, 6, 7, 8, 0, 0, 1, 2, 3}},
    {"12 into 8 at 0", 12, 8, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
    {"12 into 8 at 5", 12, 8, 5, {4, 5, 6, 7, 8, 1, 2, 3}},
    {"3 into 5 at 0", 3, 5, 0, {1, 2, 3, 0, 0}},
    {"3 into 5 at INT32_MIN", 3, 5, INT32_MIN, {0, 0, 1, 2, 3}},
};

TEST(BytemapWrapRow, CopiesTheRowAsARing) {
  for (const RingCase& c : kRingCases) {
    BytemapPtr src =
        make_map(c.src_len, 2, [](int32_t x, int32_t y) { return uint8_t(y == 1 ? x + 1 : 99); });
    BytemapPtr dst = make_map(c.dst_len, 3);
    BYTEMAP_wrap_row(src.get(), dst.get(), 1, 2, c.offset);
    std::vector<uint8_t> expected(c.dst_len * 2, 0);
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(bytes_of(dst.get()), expected) << c.name;
  }
}

TEST(BytemapWrapColumn, CopiesTheColumnAsARing) {
  for (const RingCase& c : kRingCases) {
    BytemapPtr src =
        make_map(2, c.src_len, [](int32_t x, int32_t y) { return uint8_t(x == 1 ? y + 1 : 99); });
    BytemapPtr dst = make_map(3, c.dst_len);
    BYTEMAP_wrap_column(src.get(), dst.get(), 1, 0, c.offset);
    for (int32_t y = 0; y < c.dst_len; ++y) {
      EXPECT_EQ(BYTEMAP_get_pixel(dst.get(), 0, y), c.expected[y]) << c.name << " row " << y;
      EXPECT_EQ(BYTEMAP_get_pixel(dst.get(), 1, y), 0);
      EXPECT_EQ(BYTEMAP_get_pixel(dst.get(), 2, y), 0);
    }
  }
}

TEST(BytemapWrapRow, SkipsZeroWhileTheOrVariantCombines) {
  BytemapPtr src =
      make_map(4, 1, [](int32_t x, int32_t) { return uint8_t(x % 2 == 0 ? 0 : 0x0F); });
  BytemapPtr keyed = make_map(4, 1, [](int32_t, int32_t) { return uint8_t(0xF0); });
  BytemapPtr ored = make_map(4, 1, [](int32_t, int32_t) { return uint8_t(0xF0); });
  BYTEMAP_wrap_row(src.get(), keyed.get(), 0, 0, 1);
  BYTEMAP_wrap_row_or(src.get(), ored.get(), 0, 0, 1);
  EXPECT_EQ(bytes_of(keyed.get()), (std::vector<uint8_t>{0x0F, 0xF0, 0x0F, 0xF0}));
  EXPECT_EQ(bytes_of(ored.get()), (std::vector<uint8_t>{0xFF, 0xF0, 0xFF, 0xF0}));
}

TEST_F(BytemapErrors, RingCopiesOntoAnEmptyLineDoNothing) {
  BytemapPtr src = make_map(4, 4, [](int32_t, int32_t) { return uint8_t(5); });
  BytemapPtr no_columns = make_map(0, 3);
  BytemapPtr no_rows = make_map(3, 0);
  EXPECT_EQ(printed_by([&] {
              BYTEMAP_wrap_row(src.get(), no_columns.get(), 1, 2, 7);
              BYTEMAP_wrap_row_or(src.get(), no_columns.get(), 1, 2, -7);
              BYTEMAP_wrap_column(src.get(), no_rows.get(), 1, 2, 7);
            }),
            "");
  EXPECT_EQ(no_columns->width, 0);
  EXPECT_EQ(no_rows->height, 0);
}

TEST_F(BytemapErrors, RingCopiesRefuseLinesOutsideTheMaps) {
  BytemapPtr src = make_map(4, 3, [](int32_t, int32_t) { return uint8_t(5); });
  BytemapPtr dst = make_map(5, 2);
  const int32_t lines[][2] = {{-1, 0}, {3, 0}, {0, -1}, {0, 2}};
  for (const auto& l : lines) {
    EXPECT_EQ(printed_by([&] { BYTEMAP_wrap_row(src.get(), dst.get(), l[0], l[1], 0); }),
              kBytemapError);
    EXPECT_EQ(printed_by([&] { BYTEMAP_wrap_row_or(src.get(), dst.get(), l[0], l[1], 0); }),
              kBytemapError);
  }
  const int32_t columns[][2] = {{-1, 0}, {4, 0}, {0, -1}, {0, 5}};
  for (const auto& c : columns) {
    EXPECT_EQ(printed_by([&] { BYTEMAP_wrap_column(src.get(), dst.get(), c[0], c[1], 0); }),
              kBytemapError);
  }
  EXPECT_EQ(bytes_of(dst.get()), std::vector<uint8_t>(10, 0));
}

TEST_F(BytemapErrors, MaskCombinesIndexByIndexAndRefusesASmallerDestination) {
  BytemapPtr mask =
      make_map(2, 2, [](int32_t x, int32_t y) { return uint8_t(x + y == 1 ? 0x0F : 0xF0); });
  BytemapPtr same = make_map(4, 1, [](int32_t, int32_t) { return uint8_t(0x3C); });
  BytemapPtr larger = make_map(5, 1, [](int32_t, int32_t) { return uint8_t(0x3C); });
  BytemapPtr smaller = make_map(3, 1, [](int32_t, int32_t) { return uint8_t(0x3C); });
  BYTEMAP_mask(mask.get(), same.get());
  EXPECT_EQ(bytes_of(same.get()), (std::vector<uint8_t>{0x30, 0x0C, 0x0C, 0x30}));
  BYTEMAP_mask(mask.get(), larger.get());
  EXPECT_EQ(bytes_of(larger.get()), (std::vector<uint8_t>{0x30, 0x0C, 0x0C, 0x30, 0x3C}));
  EXPECT_EQ(printed_by([&] { BYTEMAP_mask(mask.get(), smaller.get()); }), kBytemapError);
  EXPECT_EQ(bytes_of(smaller.get()), std::vector<uint8_t>(3, 0x3C));
}

struct RectCase {
  int32_t x, y, w, h;
  bool drawn;
};

TEST_F(BytemapErrors, RectanglesMustLieWhollyInside) {
  // The map is 10 x 6.
  const RectCase cases[] = {
      {6, 0, 4, 2, true},          {5, 0, 5, 6, true},   {6, 0, 5, 2, false},
      {0, 0, 10, 6, true},         {-1, 0, 2, 2, false}, {0, -1, 2, 2, false},
      {0, 0, 0, 2, false},         {0, 0, 2, 0, false},  {10, 0, 1, 1, false},
      {0, 6, 1, 1, false},         {0, 3, 2, 4, false},  {2, 2, INT32_MAX, 1, false},
      {2, 2, 1, INT32_MAX, false},
  };
  for (const RectCase& c : cases) {
    for (bool outline : {false, true}) {
      BytemapPtr map = make_map(10, 6);
      const std::string printed = printed_by([&] {
        if (outline) {
          BYTEMAP_draw_rect(map.get(), c.x, c.y, c.w, c.h, 7);
        } else {
          BYTEMAP_fill_rect(map.get(), c.x, c.y, c.w, c.h, 7);
        }
      });
      std::vector<uint8_t> expected(60, 0);
      if (c.drawn) {
        for (int32_t y = c.y; y < c.y + c.h; ++y) {
          for (int32_t x = c.x; x < c.x + c.w; ++x) {
            const bool edge = x == c.x || y == c.y || x == c.x + c.w - 1 || y == c.y + c.h - 1;
            if (!outline || edge) expected[y * 10 + x] = 7;
          }
        }
      }
      EXPECT_EQ(printed, c.drawn ? "" : kBytemapError) << c.x << "," << c.y;
      EXPECT_EQ(bytes_of(map.get()), expected)
          << (outline ? "draw " : "fill ") << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
  }
}

// The point list does not depend on the pixel type: it is the image's.
TEST(BytemapLinePoints, ListsTheSamePointsAsTheImageTwin) {
  const int32_t ends[][4] = {
      {0, 0, 3, 1}, {2, 2, 0, 5}, {4, 7, 4, 7}, {-3, 9, 11, -2}, {5, 0, -5, 1}};
  for (const auto& e : ends) {
    FreedPtr<int32_t> points(BYTEMAP_line_points(e[0], e[1], e[2], e[3]));
    FreedPtr<int32_t> twin(IMG_line_points(e[0], e[1], e[2], e[3]));
    ASSERT_NE(points, nullptr);
    ASSERT_NE(twin, nullptr);
    const int32_t count = twin.get()[0] + 1;
    EXPECT_EQ(std::vector<int32_t>(points.get(), points.get() + count),
              std::vector<int32_t>(twin.get(), twin.get() + count));
    EXPECT_EQ(points.get()[1], e[0]);
    EXPECT_EQ(points.get()[count - 1], e[3]);
  }
}

}  // namespace
