#include <cstdlib>
#include <random>

#include "tests/imaging/img_support.h"
#include "tests/support/frame_compare.h"

namespace {

uint32_t halves(uint32_t d, uint32_t p) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= ((((d >> shift) & 0xFFu) / 2) + (((p >> shift) & 0xFFu) / 2)) << shift;
  return out;
}

TEST(ImgBlend, AveragesChannelByChannel) {
  struct Case {
    uint32_t src, dst, blended;
  };
  const Case cases[] = {
      {0xFFFFFF, 0xFFFFFF, 0xFEFEFE},   {0xFFFFFF, 0x000000, 0x7F7F7F},
      {0x000000, 0x123456, 0x123456},   {0x01000000, 0xFFFFFF, 0x7F7F7F},
      {0x030507, 0xFF000000, 0x010203}, {0x800000, 0x010101, 0x400000},
  };
  for (const Case c : cases) {
    ImagePtr src = filled_image(1, 1, c.src);
    ImagePtr dst = filled_image(1, 1, c.dst);
    IMG_blend(src.get(), dst.get(), 0, 0);
    EXPECT_EQ(dst->pixels[0], c.blended) << std::hex << c.src << " over " << c.dst;
  }
}

TEST(ImgBlend, ClipsTheWholeSourceAgainstTheDestination) {
  std::mt19937 random(77);
  std::uniform_int_distribution<int32_t> position(-12, 14);
  std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
  ImagePtr src = make_image(7, 5, [&](int32_t x, int32_t) { return x == 3 ? 0u : colour(random); });
  for (int i = 0; i < 500; ++i) {
    const int32_t x = position(random), y = position(random);
    ImagePtr dst = make_image(9, 6, [&](int32_t, int32_t) { return colour(random); });
    std::vector<uint32_t> expected = pixels_of(dst.get());
    for (int32_t j = 0; j < 5; ++j)
      for (int32_t k = 0; k < 7; ++k) {
        const int32_t tx = x + k, ty = y + j;
        const uint32_t p = src->pixels[j * 7 + k];
        if (tx < 0 || ty < 0 || tx >= 9 || ty >= 6 || p == 0) continue;
        expected[ty * 9 + tx] = halves(expected[ty * 9 + tx], p);
      }
    IMG_blend(src.get(), dst.get(), x, y);
    ASSERT_FRAME_EQ(dst, FrameView(expected, dst->width)) << x << "," << y;
  }
}

TEST(ImgMask, AndsIndexByIndex) {
  ImagePtr mask = make_image(3, 2, [](int32_t x, int32_t y) { return x == y ? 0u : 0x00FF00FFu; });
  ImagePtr dst = filled_image(3, 2, 0x123456);
  IMG_mask(mask.get(), dst.get());
  const std::vector<uint32_t> expected = {0, 0x120056, 0x120056, 0x120056, 0, 0x120056};
  EXPECT_FRAME_EQ(dst, FrameView(expected, dst->width));

  // A destination of another shape but as many pixels is combined index by index.
  ImagePtr wide = filled_image(6, 1, 0xFFFFFF);
  IMG_mask(mask.get(), wide.get());
  EXPECT_EQ(pixels_of(wide.get()), pixels_of(mask.get()));
}

TEST(ImgMask, SmallerDestinationReportsAndIsLeftAlone) {
  ImagePtr mask = filled_image(4, 4, 0);
  ImagePtr small = filled_image(3, 5, 0xFFFFFF);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_mask(mask.get(), small.get()); }),
            img_error_line);
  EXPECT_FRAME_EQ(small, filled_image(3, 5, 0xFFFFFF));
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_mask(nullptr, small.get()); }),
            img_error_line);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_mask(mask.get(), nullptr); }),
            img_error_line);
}

struct RectCase {
  const char* name;
  int32_t x, y, w, h;
  bool drawn;
};

// On a 10 x 6 image.
const RectCase rect_cases[] = {
    {"whole image", 0, 0, 10, 6, true},        {"one pixel", 9, 5, 1, 1, true},
    {"ends at last column", 5, 1, 5, 2, true}, {"past last column", 6, 1, 5, 2, false},
    {"past last row", 0, 3, 2, 4, false},      {"x negative", -1, 0, 3, 3, false},
    {"y negative", 0, -1, 3, 3, false},        {"x at width", 10, 0, 1, 1, false},
    {"y at height", 0, 6, 1, 1, false},        {"zero width", 2, 2, 0, 2, false},
    {"zero height", 2, 2, 2, 0, false},        {"huge width", 2, 2, INT32_MAX, 1, false},
    {"thin column", 4, 0, 1, 6, true},         {"thin row", 0, 4, 10, 1, true},
    {"three by three", 2, 1, 3, 3, true},
};

bool covers(const RectCase& c, int32_t x, int32_t y) {
  return x >= c.x && x < int64_t{c.x} + c.w && y >= c.y && y < int64_t{c.y} + c.h;
}

bool on_edge(const RectCase& c, int32_t x, int32_t y) {
  return covers(c, x, y) &&
         (x == c.x || x == int64_t{c.x} + c.w - 1 || y == c.y || y == int64_t{c.y} + c.h - 1);
}

using RectDrawer = void (*)(IMG*, int32_t, int32_t, int32_t, int32_t, uint32_t);

// Runs draw for every case on a 10 x 6 image: a rectangle not wholly inside
// reports and changes nothing; otherwise exactly the pixels painted() names
// take the colour.
void check_rectangles(RectDrawer draw, bool (*painted)(const RectCase&, int32_t, int32_t)) {
  for (const RectCase& c : rect_cases) {
    ImagePtr image = filled_image(10, 6, 0x11);
    const std::string printed =
        printed_by(IMG_set_error_report, [&] { draw(image.get(), c.x, c.y, c.w, c.h, 0xC0FFEE); });
    EXPECT_EQ(printed, c.drawn ? "" : img_error_line) << c.name;
    for (int32_t y = 0; y < 6; ++y)
      for (int32_t x = 0; x < 10; ++x)
        ASSERT_EQ(image->pixels[y * 10 + x], c.drawn && painted(c, x, y) ? 0xC0FFEEu : 0x11u)
            << c.name << " at " << x << "," << y;
  }
}

TEST(ImgFillRect, FillsARectangleWhollyInsideOrNothing) { check_rectangles(IMG_fill_rect, covers); }

TEST(ImgDrawRect, DrawsTheOnePixelOutlineOrNothing) { check_rectangles(IMG_draw_rect, on_edge); }

std::vector<int32_t> line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  int32_t* points = IMG_line_points(x0, y0, x1, y1);
  EXPECT_NE(points, nullptr);
  if (points == nullptr) return {};
  std::vector<int32_t> out(points, points + points[0] + 1);
  std::free(points);
  return out;
}

TEST(ImgLinePoints, ListsCountThenPoints) {
  struct Case {
    int32_t x0, y0, x1, y1;
    std::vector<int32_t> values;
  };
  const Case cases[] = {
      {0, 0, 3, 1, {8, 0, 0, 1, 1, 2, 1, 3, 1}},
      {2, 2, 0, 5, {8, 2, 2, 1, 3, 0, 4, 0, 5}},
      {0, 0, 1, 0, {4, 0, 0, 1, 0}},
      {0, 0, 0, 1, {4, 0, 0, 0, 1}},
      {7, -3, 7, -3, {2, 7, -3}},
      {1, 1, -1, -1, {6, 1, 1, 0, 0, -1, -1}},
      {0, 0, 2, 1, {6, 0, 0, 1, 1, 2, 1}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(line(c.x0, c.y0, c.x1, c.y1), c.values)
        << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1;
}

TEST(ImgLinePoints, EveryLineIsAConnectedRunFromStartToEnd) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int32_t> coordinate(-40, 40);
  for (int i = 0; i < 2000; ++i) {
    const int32_t x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random),
                  y1 = coordinate(random);
    const auto values = line(x0, y0, x1, y1);
    const int32_t n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    ASSERT_EQ(values.size(), static_cast<size_t>(2 * n + 3));
    ASSERT_EQ(values[0], 2 * n + 2);
    ASSERT_EQ(values[1], x0);
    ASSERT_EQ(values[2], y0);
    ASSERT_EQ(values[2 * n + 1], x1);
    ASSERT_EQ(values[2 * n + 2], y1);
    const bool y_drives = std::abs(x1 - x0) <= std::abs(y1 - y0);
    for (int32_t k = 1; k <= n; ++k) {
      const int32_t step_x = values[2 * k + 1] - values[2 * k - 1];
      const int32_t step_y = values[2 * k + 2] - values[2 * k];
      ASSERT_EQ(std::abs(y_drives ? step_y : step_x), 1);
      ASSERT_LE(std::abs(y_drives ? step_x : step_y), 1);
    }
  }
}

TEST(ImgLinePoints, TooLongOrUnallocatableReportsAndGivesNull) {
  int32_t* points = reinterpret_cast<int32_t*>(1);
  // 2^32 - 1 steps: the leading count would not fit 32 bits.
  EXPECT_EQ(printed_by(IMG_set_error_report,
                       [&] { points = IMG_line_points(INT32_MIN, 0, INT32_MAX, 0); }),
            img_error_line);
  EXPECT_EQ(points, nullptr);

  FailingAllocation failing(1);
  points = reinterpret_cast<int32_t*>(1);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { points = IMG_line_points(0, 0, 10, 3); }),
            img_error_line);
  EXPECT_EQ(points, nullptr);
  EXPECT_EQ(failing.calls(), 1);
}

}  // namespace
