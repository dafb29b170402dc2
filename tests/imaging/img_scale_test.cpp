#include <cstdlib>
#include <random>

#include "tests/imaging/img_support.h"
#include "tests/support/frame_compare.h"

namespace {

std::vector<int32_t> runs(int32_t a, int32_t b) {
  int32_t* table = IMG_scale_runs(a, b);
  EXPECT_NE(table, nullptr);
  if (table == nullptr) return {};
  const int32_t small = std::min(std::abs(a), std::abs(b));
  std::vector<int32_t> out(table, table + small + 1);
  std::free(table);
  return out;
}

TEST(ImgScaleRuns, GivenExamples) {
  struct Case {
    int32_t a, b;
    std::vector<int32_t> counts;
  };
  const Case cases[] = {
      {7, 3, {3, 2, 2, 1}}, {3, 7, {3, 2, 2, 1}}, {-7, 3, {3, 2, 2, 1}},
      {5, 0, {6}},          {0, 0, {1}},          {4, 4, {1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(runs(c.a, c.b), c.counts) << c.a << " and " << c.b;
}

TEST(ImgScaleRuns, CountsHowManyPositionsFallOnEachIndex) {
  for (int32_t big = 1; big <= 60; ++big)
    for (int32_t small = 0; small <= big; ++small) {
      std::vector<int32_t> expected(small + 1, 0);
      for (int32_t m = 0; m < big; ++m) ++expected[m * small / big];
      expected[small] = 1;
      if (small == 0) expected[0] = big + 1;  // the only count takes every pass
      ASSERT_EQ(runs(big, small), expected) << big << " and " << small;
    }
}

TEST(ImgScaleRuns, UnrepresentableOrUnallocatableTablesReportAndGiveNull) {
  int32_t* table = reinterpret_cast<int32_t*>(1);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { table = IMG_scale_runs(INT32_MIN, 3); }),
            img_error_line);
  EXPECT_EQ(table, nullptr);
  FailingAllocation failing(1);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { table = IMG_scale_runs(7, 3); }),
            img_error_line);
  EXPECT_EQ(table, nullptr);
}

// Sample position along one axis, from the closed forms: growing takes
// floor(n s / d); shrinking takes the last source pixel of each run,
// ceil((n + 1) s / d) - 1, or for the rows of an image that does not
// shrink its width, the first, ceil(n s / d).
int32_t sample(int32_t n, int32_t s, int32_t d, bool first_of_run) {
  if (s <= d) return n * s / d;
  if (first_of_run) return (n * s + d - 1) / d;
  return ((n + 1) * s + d - 1) / d - 1;
}

void expect_scaled(int32_t sw, int32_t sh, int32_t dw, int32_t dh) {
  ImagePtr src = numbered_image(sw, sh);
  ImagePtr dst = make_image(dw, dh, [](int32_t, int32_t) { return 0xDEADu; });
  IMG_scale(src.get(), dst.get());
  ASSERT_EQ(dst->width, dw);
  ASSERT_EQ(dst->height, dh);
  for (int32_t y = 0; y < dh; ++y)
    for (int32_t x = 0; x < dw; ++x) {
      const int32_t fx = sample(x, sw, dw, false), fy = sample(y, sh, dh, sw <= dw);
      ASSERT_EQ(dst->pixels[y * dw + x], src->pixels[fy * sw + fx])
          << sw << "x" << sh << " to " << dw << "x" << dh << " at " << x << "," << y;
    }
}

TEST(ImgScale, EverySizeUpToTenTakesTheClosedFormPositions) {
  for (int32_t sw = 1; sw <= 10; ++sw)
    for (int32_t sh = 1; sh <= 10; ++sh)
      for (int32_t dw = 1; dw <= 10; ++dw)
        for (int32_t dh = 1; dh <= 10; ++dh) expect_scaled(sw, sh, dw, dh);
}

TEST(ImgScale, LargerAndLopsidedSizes) {
  struct Case {
    int32_t sw, sh, dw, dh;
  };
  for (const Case c : {Case{128, 144, 256, 288}, Case{256, 256, 320, 200}, Case{513, 7, 3, 100},
                       Case{1, 300, 299, 1}})
    expect_scaled(c.sw, c.sh, c.dw, c.dh);
}

TEST(ImgScale, GivenSamplePositions) {
  struct Case {
    const char* name;
    int32_t sw, sh, dw, dh;
    std::vector<std::pair<int32_t, int32_t>> picks;  // source (x, y) per destination pixel
  };
  const Case cases[] = {
      {"3x1 to 7x1", 3, 1, 7, 1, {{0, 0}, {0, 0}, {0, 0}, {1, 0}, {1, 0}, {2, 0}, {2, 0}}},
      {"4x4 to 2x2", 4, 4, 2, 2, {{1, 1}, {3, 1}, {1, 3}, {3, 3}}},
      {"1x4 to 1x2", 1, 4, 1, 2, {{0, 0}, {0, 2}}},
      {"4x1 to 2x1", 4, 1, 2, 1, {{1, 0}, {3, 0}}},
      {"7x1 to 3x1", 7, 1, 3, 1, {{2, 0}, {4, 0}, {6, 0}}},
      {"2x2 to 4x4",
       2,
       2,
       4,
       4,
       {{0, 0},
        {0, 0},
        {1, 0},
        {1, 0},
        {0, 0},
        {0, 0},
        {1, 0},
        {1, 0},
        {0, 1},
        {0, 1},
        {1, 1},
        {1, 1},
        {0, 1},
        {0, 1},
        {1, 1},
        {1, 1}}},
  };
  for (const Case& c : cases) {
    ImagePtr src = numbered_image(c.sw, c.sh);
    ImagePtr dst = make_image(c.dw, c.dh, [](int32_t, int32_t) { return 0u; });
    IMG_scale(src.get(), dst.get());
    std::vector<uint32_t> expected;
    for (auto [x, y] : c.picks) expected.push_back(src->pixels[y * c.sw + x]);
    EXPECT_FRAME_EQ(dst, FrameView(expected, dst->width)) << c.name;
  }
}

TEST(ImgScale, EqualSizesCopyTheImage) {
  ImagePtr src = numbered_image(9, 5);
  ImagePtr dst = make_image(9, 5, [](int32_t, int32_t) { return 0u; });
  IMG_scale(src.get(), dst.get());
  EXPECT_FRAME_EQ(src, dst);
}

TEST(ImgScale, EmptyOrBrokenImagesNeverTouchMemory) {
  ImagePtr src = numbered_image(4, 4);
  ImagePtr empty_src = numbered_image(0, 4);
  ImagePtr flat_src = numbered_image(4, 0);
  ImagePtr dst = make_image(3, 3, [](int32_t, int32_t) { return 5u; });
  ImagePtr empty_dst = numbered_image(0, 3);
  IMG bufferless{0, 3, 3, nullptr};
  IMG negative{0, -2, 3, nullptr};
  struct Case {
    const char* name;
    const IMG* src;
    IMG* dst;
    const char* printed;
  };
  const Case cases[] = {
      {"source width 0", empty_src.get(), dst.get(), img_error_line},
      {"source height 0", flat_src.get(), dst.get(), img_error_line},
      {"destination width 0", src.get(), empty_dst.get(), ""},
      {"bufferless source", &bufferless, dst.get(), img_error_line},
      {"bufferless destination", src.get(), &bufferless, img_error_line},
      {"negative destination", src.get(), &negative, img_error_line},
      {"null source", nullptr, dst.get(), img_error_line},
      {"null destination", src.get(), nullptr, img_error_line},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_scale(c.src, c.dst); }), c.printed)
        << c.name;
    EXPECT_FRAME_EQ(dst, FrameView(std::vector<uint32_t>(9, 5u), dst->width)) << c.name;
  }
  FailingAllocation failing(1);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_scale(src.get(), dst.get()); }),
            img_error_line);
  EXPECT_FRAME_EQ(dst, FrameView(std::vector<uint32_t>(9, 5u), dst->width));
}

// 16 x 16 source whose pixel (x, y) is 1 + x + 16 y.
ImagePtr sixteen() {
  return make_image(16, 16, [](int32_t x, int32_t y) { return 1u + x + 16u * y; });
}

uint32_t source_at(int32_t x, int32_t y) {
  return x < 0 || y < 0 || x >= 16 || y >= 16 ? 0u : 1u + x + 16u * y;
}

TEST(ImgRotate, SixteenSquareTurnsIntoTwentyTwoSquare) {
  struct Pick {
    int32_t angle, x, y, from_x, from_y;
  };
  // At angle 0 the factors are s = 0 and c = -32766: half a turn, with
  // negative offsets one short; 512 is nearly the identity; 256 a quarter.
  const Pick picks[] = {
      {0, 14, 11, 5, 8},   {0, 8, 11, 10, 8},    {0, 11, 11, 8, 8},    {0, 11, 14, 8, 5},
      {0, 0, 0, 18, 18},   {512, 14, 11, 10, 8}, {512, 8, 11, 5, 8},   {512, 11, 11, 8, 8},
      {256, 14, 11, 8, 5}, {256, 11, 14, 11, 8}, {1024, 14, 11, 5, 8}, {-1024, 8, 11, 10, 8},
  };
  for (const Pick p : picks) {
    ImagePtr src = sixteen();
    ImagePtr turned(IMG_rotate(src.get(), p.angle));
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->width, 22);
    EXPECT_EQ(turned->height, 22);
    EXPECT_EQ(turned->pixels[p.y * 22 + p.x], source_at(p.from_x, p.from_y))
        << "angle " << p.angle << " at " << p.x << "," << p.y;
  }
}

TEST(ImgRotate, FullTurnsGiveTheSameImageAndTheSourceStays) {
  ImagePtr src = sixteen();
  ImagePtr zero(IMG_rotate(src.get(), 0));
  for (int32_t angle : {1024, -1024, 4096, INT32_MIN}) {
    ImagePtr turned(IMG_rotate(src.get(), angle));
    ASSERT_NE(turned, nullptr);
    EXPECT_FRAME_EQ(turned, zero) << angle;
  }
  EXPECT_FRAME_EQ(src, sixteen());
  // Half a turn: the centre row read backwards (one short on the left).
  for (int32_t x = 0; x < 22; ++x) {
    const int32_t u = x - 11;
    const int32_t from = u > 0 ? 8 - u : 8 - u - (u < 0 ? 1 : 0);
    EXPECT_EQ(zero->pixels[11 * 22 + x], source_at(from, 8)) << x;
  }
}

TEST(ImgRotate, SizesFollowTheFactor) {
  struct Case {
    int32_t width, height, turned_width, turned_height;
  };
  for (const Case c : {Case{256, 256, 361, 361}, Case{1, 1, 1, 1}, Case{2, 3, 2, 4},
                       Case{0, 5, 0, 7}, Case{100, 10, 141, 14}}) {
    ImagePtr src = numbered_image(c.width, c.height);
    ImagePtr turned(IMG_rotate(src.get(), 100));
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->width, c.turned_width) << c.width;
    EXPECT_EQ(turned->height, c.turned_height) << c.height;
  }
}

TEST(ImgRotate, FailuresReportAndGiveNull) {
  IMG* turned = reinterpret_cast<IMG*>(1);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { turned = IMG_rotate(nullptr, 0); }),
            img_error_line);
  EXPECT_EQ(turned, nullptr);

  // Too big to hold once turned: refused before anything is read.
  uint32_t one = 7;
  IMG huge{0, 16384, 16384, &one};
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { turned = IMG_rotate(&huge, 0); }),
            img_error_line);
  EXPECT_EQ(turned, nullptr);

  ImagePtr src = sixteen();
  for (int64_t nth : {1, 2, 3}) {  // record, first buffer, turned buffer
    FailingAllocation failing(nth);
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { turned = IMG_rotate(src.get(), 0); }),
              img_error_line)
        << nth;
    EXPECT_EQ(turned, nullptr);
  }
}

}  // namespace
