#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "tests/imaging/bytemap_helpers.h"

namespace {

// The sample position along one axis, straight from the closed forms:
// growing takes floor(n x s / d); shrinking takes the last source pixel of
// each run, ceil((n + 1) x s / d) - 1, or the first, ceil(n x s / d).
int32_t grow(int32_t n, int32_t s, int32_t d) { return n * s / d; }
int32_t last_of_run(int32_t n, int32_t s, int32_t d) { return ((n + 1) * s + d - 1) / d - 1; }
int32_t first_of_run(int32_t n, int32_t s, int32_t d) { return (n * s + d - 1) / d; }

struct ScaleCase {
  int32_t sw, sh, dw, dh;
};

int32_t expected_column(const ScaleCase& c, int32_t x) {
  return c.sw <= c.dw ? grow(x, c.sw, c.dw) : last_of_run(x, c.sw, c.dw);
}

int32_t expected_row(const ScaleCase& c, int32_t y) {
  if (c.sh <= c.dh) return grow(y, c.sh, c.dh);
  // Rows shrink keeping the first of each run only when the width does not shrink.
  return c.sw <= c.dw ? first_of_run(y, c.sh, c.dh) : last_of_run(y, c.sh, c.dh);
}

const ScaleCase kScaleCases[] = {
    {5, 5, 5, 5},    {2, 2, 4, 4},         {3, 1, 7, 1},     {4, 4, 2, 2},    {1, 4, 1, 2},
    {4, 1, 2, 1},    {7, 1, 3, 1},         {13, 9, 40, 31},  {40, 31, 13, 9}, {13, 31, 40, 9},
    {40, 9, 13, 31}, {128, 144, 256, 288}, {255, 200, 7, 3}, {1, 1, 9, 6},    {9, 6, 1, 1},
};

// Each source byte names its column (or row), so the destination shows
// exactly which source position every pixel sampled.
TEST(BytemapScale, SamplesTheClosedFormPositionsInAllFourCases) {
  for (const ScaleCase& c : kScaleCases) {
    BytemapPtr by_column = make_map(c.sw, c.sh, [](int32_t x, int32_t) { return uint8_t(x); });
    BytemapPtr by_row = make_map(c.sw, c.sh, [](int32_t, int32_t y) { return uint8_t(y); });
    BytemapPtr columns = make_map(c.dw, c.dh);
    BytemapPtr rows = make_map(c.dw, c.dh);
    BYTEMAP_scale(by_column.get(), columns.get());
    BYTEMAP_scale(by_row.get(), rows.get());
    for (int32_t y = 0; y < c.dh; ++y) {
      for (int32_t x = 0; x < c.dw; ++x) {
        ASSERT_EQ(BYTEMAP_get_pixel(columns.get(), x, y), uint8_t(expected_column(c, x)))
            << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " at " << x << "," << y;
        ASSERT_EQ(BYTEMAP_get_pixel(rows.get(), x, y), uint8_t(expected_row(c, y)))
            << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " at " << x << "," << y;
      }
    }
  }
}

TEST(BytemapScale, StatedExamples) {
  struct Case {
    ScaleCase size;
    std::vector<uint8_t> expected;  // destination bytes, source byte = 1 + x + 10 y
  };
  const Case cases[] = {
      {{3, 1, 7, 1}, {1, 1, 1, 2, 2, 3, 3}},
      {{4, 4, 2, 2}, {12, 14, 32, 34}},
      {{1, 4, 1, 2}, {1, 21}},
      {{4, 1, 2, 1}, {2, 4}},
      {{7, 1, 3, 1}, {3, 5, 7}},
      {{2, 2, 4, 4}, {1, 1, 2, 2, 1, 1, 2, 2, 11, 11, 12, 12, 11, 11, 12, 12}},
  };
  for (const Case& c : cases) {
    BytemapPtr src = make_map(c.size.sw, c.size.sh,
                              [](int32_t x, int32_t y) { return uint8_t(1 + x + 10 * y); });
    BytemapPtr dst = make_map(c.size.dw, c.size.dh);
    BYTEMAP_scale(src.get(), dst.get());
    EXPECT_EQ(bytes_of(dst.get()), c.expected) << c.size.sw << "x" << c.size.sh;
  }
}

TEST(BytemapScale, GivesTheSameSamplesAsTheImageScaler) {
  for (const ScaleCase& c : kScaleCases) {
    auto value = [](int32_t x, int32_t y) { return uint8_t((x * 37 + y * 11) % 251 + 1); };
    BytemapPtr src = make_map(c.sw, c.sh, value);
    ImagePtr image_src = make_image(c.sw, c.sh);
    for (int32_t i = 0; i < c.sw * c.sh; ++i) image_src->pixels[i] = src->pixels[i];
    BytemapPtr dst = make_map(c.dw, c.dh);
    ImagePtr image_dst = make_image(c.dw, c.dh);
    BYTEMAP_scale(src.get(), dst.get());
    IMG_scale(image_src.get(), image_dst.get());
    const std::vector<uint32_t> widened(dst->pixels, dst->pixels + c.dw * c.dh);
    EXPECT_EQ(widened, pixels_of(image_dst.get()))
        << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
  }
}

TEST_F(BytemapErrors, EmptyOrMissingSourcesAreRefusedAndEmptyDestinationsSkipped) {
  BytemapPtr dst = make_map(4, 4, [](int32_t, int32_t) { return uint8_t(6); });
  for (const auto& size : {std::pair{0, 3}, std::pair{3, 0}, std::pair{0, 0}}) {
    BytemapPtr empty = make_map(size.first, size.second);
    EXPECT_EQ(printed_by([&] { BYTEMAP_scale(empty.get(), dst.get()); }), kBytemapError);
  }
  EXPECT_EQ(bytes_of(dst.get()), std::vector<uint8_t>(16, 6));
  BytemapPtr src = make_map(3, 3, [](int32_t, int32_t) { return uint8_t(1); });
  for (const auto& size : {std::pair{0, 3}, std::pair{3, 0}}) {
    BytemapPtr empty = make_map(size.first, size.second);
    EXPECT_EQ(printed_by([&] { BYTEMAP_scale(src.get(), empty.get()); }), "");
  }
  BYTEMAP negative{-2, 3, dst->pixels};
  EXPECT_EQ(printed_by([&] { BYTEMAP_scale(src.get(), &negative); }), kBytemapError);
  EXPECT_EQ(bytes_of(dst.get()), std::vector<uint8_t>(16, 6));
}

TEST(BytemapScaleRuns, CountsRunsOfTheLongerLength) {
  struct Case {
    int32_t a, b;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {7, 3, {3, 2, 2, 1}}, {3, 7, {3, 2, 2, 1}}, {5, 0, {6}}, {0, 0, {1}}, {4, 4, {1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    FreedPtr<int32_t> runs(BYTEMAP_scale_runs(c.a, c.b));
    ASSERT_NE(runs, nullptr);
    EXPECT_EQ(std::vector<int32_t>(runs.get(), runs.get() + c.expected.size()), c.expected)
        << c.a << "," << c.b;
  }
}

TEST_F(BytemapErrors, RunTablesTooLongToCountAreRefused) {
  for (const auto& lengths :
       {std::pair{INT32_MIN, 0}, std::pair{3, INT32_MIN}, std::pair{INT32_MAX, 1}}) {
    int32_t* runs = nullptr;
    EXPECT_EQ(printed_by([&] { runs = BYTEMAP_scale_runs(lengths.first, lengths.second); }),
              kBytemapError);
    EXPECT_EQ(runs, nullptr);
    std::free(runs);
  }
  FreedPtr<int32_t> negative(BYTEMAP_scale_runs(-7, 3));  // lengths count by their size
  ASSERT_NE(negative, nullptr);
  EXPECT_EQ(std::vector<int32_t>(negative.get(), negative.get() + 4),
            (std::vector<int32_t>{3, 2, 2, 1}));
}

TEST(BytemapRotate, SixteenSquareBecomesTwentyTwoSquareTurnedByHalfATurnAtZero) {
  BytemapPtr src = make_map(16, 16, [](int32_t x, int32_t y) { return uint8_t(1 + x + 16 * y); });
  BytemapPtr turned(BYTEMAP_rotate(src.get(), 0));
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(turned->width, 22);
  EXPECT_EQ(turned->height, 22);
  EXPECT_EQ(BYTEMAP_get_pixel(turned.get(), 14, 11), BYTEMAP_get_pixel(src.get(), 5, 8));
  EXPECT_EQ(BYTEMAP_get_pixel(turned.get(), 8, 11), BYTEMAP_get_pixel(src.get(), 10, 8));
  EXPECT_EQ(BYTEMAP_get_pixel(turned.get(), 0, 0), 0);  // outside the source
  for (int32_t angle : {1024, -1024, 4096}) {
    BytemapPtr again(BYTEMAP_rotate(src.get(), angle));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(BYTEMAP_equal(turned.get(), again.get()), 1) << angle;
  }
}

TEST(BytemapRotate, GivesTheSameSamplesAsTheImageRotation) {
  BytemapPtr src =
      make_map(23, 17, [](int32_t x, int32_t y) { return uint8_t(1 + (x * 5 + y * 23) % 255); });
  ImagePtr image = make_image(23, 17);
  for (int32_t i = 0; i < 23 * 17; ++i) image->pixels[i] = src->pixels[i];
  for (int32_t angle : {0, 1, 100, 256, 300, 512, 700, 1023, -37, INT32_MAX, INT32_MIN}) {
    BytemapPtr turned(BYTEMAP_rotate(src.get(), angle));
    ImagePtr image_turned(IMG_rotate(image.get(), angle));
    ASSERT_NE(turned, nullptr);
    ASSERT_NE(image_turned, nullptr);
    ASSERT_EQ(turned->width, image_turned->width);
    ASSERT_EQ(turned->height, image_turned->height);
    const std::vector<uint32_t> widened(turned->pixels,
                                        turned->pixels + turned->width * turned->height);
    EXPECT_EQ(widened, pixels_of(image_turned.get())) << "angle " << angle;
  }
}

TEST(BytemapRotate, ALargestMapWhoseTurnWouldNotFitGivesNull) {
  BytemapPtr src = make_map(16384, 16384);
  EXPECT_EQ(BYTEMAP_rotate(src.get(), 10), nullptr);
}

}  // namespace
