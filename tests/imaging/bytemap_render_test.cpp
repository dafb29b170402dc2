#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "tests/imaging/bytemap_helpers.h"
#include "tests/support/frame_compare.h"

namespace {

constexpr uint32_t kUntouched = 0xABCDEF;

SamplePtr make_palette(int32_t length, uint32_t (*colour)(int32_t)) {
  SamplePtr palette(SAMPLE_create());
  SAMPLE_set_length(palette.get(), length);
  EXPECT_EQ(palette->length, length);
  for (int32_t i = 0; i < length; ++i) {
    palette->values[i] = static_cast<int32_t>(colour(i));
  }
  return palette;
}

uint32_t spread_colour(int32_t i) { return 0x010203u * static_cast<uint32_t>(i) + 0x100000u; }

TEST(BytemapRender, WritesThePaletteColourOfEveryByte) {
  BytemapPtr map = make_map(16, 16, [](int32_t x, int32_t y) { return uint8_t(x * 16 + y); });
  SamplePtr palette = make_palette(256, spread_colour);
  ImagePtr image = make_image(16, 16, kUntouched);
  BYTEMAP_render(map.get(), image.get(), palette.get());
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      ASSERT_EQ(IMG_get_pixel(image.get(), x, y), spread_colour(x * 16 + y)) << x << "," << y;
    }
  }
}

TEST(BytemapRender, BlackAndRedEntriesGiveExactlyThoseValues) {
  BytemapPtr map =
      make_map(5, 3, [](int32_t x, int32_t y) { return uint8_t((x + y) % 2 ? 255 : 0); });
  SamplePtr palette = make_palette(256, [](int32_t i) {
    return i == 255 ? 0xFF0000u : i == 0 ? 0u : 0x777777u;
  });
  ImagePtr image = make_image(5, 3, kUntouched);
  BYTEMAP_render(map.get(), image.get(), palette.get());
  for (int32_t i = 0; i < 15; ++i) {
    EXPECT_EQ(image->pixels[i], map->pixels[i] == 255 ? 0xFF0000u : 0u) << i;
  }
}

TEST(BytemapRender, StoresTheWholeThirtyTwoBitValue) {
  BytemapPtr map = make_map(2, 1, [](int32_t x, int32_t) { return uint8_t(x + 1); });
  SamplePtr palette = make_palette(300, [](int32_t i) {
    return i == 1 ? 0xFF123456u : i == 2 ? 0x80000000u : 0u;
  });
  ImagePtr image = make_image(2, 1, kUntouched);
  BYTEMAP_render(map.get(), image.get(), palette.get());
  EXPECT_FRAME_EQ(image, FrameView(std::vector<uint32_t>{0xFF123456u, 0x80000000u}, image->width));
}

TEST(BytemapRender, ATallerImageKeepsItsRowsBelowTheMap) {
  BytemapPtr map = make_map(4, 2, [](int32_t x, int32_t y) { return uint8_t(1 + x + 4 * y); });
  SamplePtr palette = make_palette(256, spread_colour);
  ImagePtr image = make_image(4, 3, kUntouched);
  BYTEMAP_render(map.get(), image.get(), palette.get());
  for (int32_t i = 0; i < 12; ++i) {
    EXPECT_EQ(image->pixels[i], i < 8 ? spread_colour(i + 1) : kUntouched) << i;
  }
}

struct RefusedRender {
  const char* name;
  int32_t map_width, map_height, image_width, image_height, palette_length;
};

TEST_F(BytemapErrors, RenderRefusesMismatchedSizesAndShortPalettes) {
  const RefusedRender cases[] = {
      {"palette of 255 entries", 8, 8, 8, 8, 255},
      {"empty palette", 8, 8, 8, 8, 0},
      {"map narrower than the image", 6, 8, 8, 8, 256},
      {"map wider than the image", 8, 8, 6, 8, 256},
      {"image with fewer rows", 8, 8, 8, 7, 256},
      {"image with no rows", 8, 8, 8, 0, 256},
  };
  for (const RefusedRender& c : cases) {
    BytemapPtr map =
        make_map(c.map_width, c.map_height, [](int32_t, int32_t) { return uint8_t(1); });
    SamplePtr palette = make_palette(c.palette_length, spread_colour);
    ImagePtr image = make_image(c.image_width, c.image_height, kUntouched);
    EXPECT_EQ(printed_by([&] { BYTEMAP_render(map.get(), image.get(), palette.get()); }),
              kBytemapError)
        << c.name;
    EXPECT_FRAME_EQ(
        image,
        FrameView(std::vector<uint32_t>(c.image_width * c.image_height, kUntouched), image->width))
        << c.name;
  }
}

using Point = std::pair<int32_t, int32_t>;

std::set<Point> points_of_value(const BYTEMAP* map, uint8_t value) {
  std::set<Point> points;
  for (int32_t y = 0; y < map->height; ++y) {
    for (int32_t x = 0; x < map->width; ++x) {
      if (map->pixels[y * map->width + x] == value) points.insert({x, y});
    }
  }
  return points;
}

TEST(BytemapDrawCircle, SmallRadiiPlotTheExpectedPoints) {
  struct Case {
    int32_t radius;
    std::set<Point> expected;
  };
  const Case cases[] = {
      {2, {{5, 5}, {4, 5}, {5, 6}, {4, 6}, {5, 4}, {4, 4}}},
      {1, {{4, 5}, {5, 5}}},
  };
  for (const Case& c : cases) {
    BytemapPtr map = make_map(10, 10);
    BYTEMAP_draw_circle(map.get(), 5, 5, c.radius, 9);
    EXPECT_EQ(points_of_value(map.get(), 9), c.expected) << "radius " << c.radius;
    EXPECT_EQ(points_of_value(map.get(), 0).size(), 100 - c.expected.size());
  }
}

// A large outline is symmetric about the line between columns cx - 1 and cx
// and about row cy, and every point lies about one radius from that centre.
TEST(BytemapDrawCircle, LargeOutlineIsSymmetricAndRound) {
  const int32_t cx = 40, cy = 30, radius = 25;
  BytemapPtr map = make_map(80, 64);
  BYTEMAP_draw_circle(map.get(), cx, cy, radius, 200);
  const std::set<Point> points = points_of_value(map.get(), 200);
  ASSERT_GT(points.size(), 3u * radius);  // a full outline, not a few arcs
  for (const auto& [x, y] : points) {
    EXPECT_TRUE(points.count({2 * cx - 1 - x, y})) << x << "," << y;
    EXPECT_TRUE(points.count({x, 2 * cy - y})) << x << "," << y;
    const double distance = std::hypot(x - (cx - 0.5), y - cy);
    EXPECT_NEAR(distance, radius, 2.0) << x << "," << y;
  }
  // The extremes: s and c never exceed radius - 1.
  EXPECT_TRUE(points.count({cx + radius - 2, cy}));
  EXPECT_TRUE(points.count({cx - radius + 1, cy}));
  EXPECT_FALSE(points.count({cx + radius - 1, cy}));
}

// A circle near a corner plots exactly the points that the same circle
// drawn in open space would put inside the map.
TEST(BytemapDrawCircle, PointsOutsideTheMapAreDropped) {
  const int32_t radius = 7, margin = 10;
  const int32_t centres[][2] = {{0, 0}, {11, 0}, {0, 8}, {11, 8}, {3, 4}};
  for (const auto& centre : centres) {
    BytemapPtr small = make_map(12, 9);
    BytemapPtr open = make_map(12 + 2 * margin, 9 + 2 * margin);
    BYTEMAP_draw_circle(small.get(), centre[0], centre[1], radius, 5);
    BYTEMAP_draw_circle(open.get(), centre[0] + margin, centre[1] + margin, radius, 5);
    std::set<Point> expected;
    for (const auto& [x, y] : points_of_value(open.get(), 5)) {
      const int32_t sx = x - margin, sy = y - margin;
      if (sx >= 0 && sy >= 0 && sx < 12 && sy < 9) expected.insert({sx, sy});
    }
    EXPECT_EQ(points_of_value(small.get(), 5), expected) << centre[0] << "," << centre[1];
  }
}

TEST_F(BytemapErrors, CircleRefusesCentresOutsideAndRadiiBelowOne) {
  const int32_t refused[][3] = {{10, 5, 3}, {5, 10, 3}, {-1, 5, 3},       {5, -1, 3},
                                {5, 5, 0},  {5, 5, -4}, {5, 5, INT32_MIN}};
  BytemapPtr map = make_map(10, 10);
  for (const auto& c : refused) {
    EXPECT_EQ(printed_by([&] { BYTEMAP_draw_circle(map.get(), c[0], c[1], c[2], 9); }),
              kBytemapError)
        << c[0] << "," << c[1] << " r " << c[2];
  }
  EXPECT_EQ(bytes_of(map.get()), std::vector<uint8_t>(100, 0));
}

TEST_F(BytemapErrors, HugeRadiiEndAndDrawOnlyWhatFallsInside) {
  BytemapPtr map = make_map(10, 10);
  for (int32_t radius : {30, 1000, 70000, INT32_MAX}) {
    EXPECT_EQ(printed_by([&] { BYTEMAP_draw_circle(map.get(), 5, 5, radius, 9); }), "");
  }
  EXPECT_EQ(bytes_of(map.get()), std::vector<uint8_t>(100, 0));
  // A radius reaching just past the centre's distance to a corner still
  // draws there.
  BYTEMAP_draw_circle(map.get(), 9, 9, 12, 9);
  EXPECT_FALSE(points_of_value(map.get(), 9).empty());
}

}  // namespace
