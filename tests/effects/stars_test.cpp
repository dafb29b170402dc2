#include "effects/stars.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "effects_test_support.h"

namespace {

constexpr int32_t one = 0x10000;  // one pixel in 16.16

void place(STARS* field, int32_t index, int32_t x, int32_t y) {
  field->stars[2 * index] = x;
  field->stars[2 * index + 1] = y;
}

int32_t star_x(const STARS* field, int32_t index) { return field->stars[2 * index]; }
int32_t star_y(const STARS* field, int32_t index) { return field->stars[2 * index + 1]; }

// A field of `count` stars on a width x height field.
StarsPtr make_field(int32_t width, int32_t height, int32_t count) {
  StarsPtr field(STARS_create());
  field->width = width;
  field->height = height;
  STARS_set_count(field.get(), count);
  return field;
}

TEST(Stars, CreateScattersSixteenStarsWithThirtyTwoDraws) {
  srand(4321);
  std::vector<int32_t> expected;
  for (int i = 0; i < 32; ++i) expected.push_back((rand() % 256) << 16);
  const int next = rand();

  srand(4321);
  StarsPtr field(STARS_create());
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->width, 256);
  EXPECT_EQ(field->height, 256);
  EXPECT_EQ(field->dx, 0);
  EXPECT_EQ(field->dy, one);
  EXPECT_EQ(field->colour, 0xFFFFFFu);
  EXPECT_EQ(field->font, nullptr);
  ASSERT_EQ(field->count, 16);
  EXPECT_EQ(std::vector<int32_t>(field->stars, field->stars + 32), expected);
  EXPECT_EQ(rand(), next);
}

TEST(Stars, SetCountScattersOverTheFieldXFirst) {
  StarsPtr field(STARS_create());
  field->width = 7;
  field->height = 300;
  srand(77);
  std::vector<int32_t> expected;
  for (int i = 0; i < 5; ++i) {
    expected.push_back((rand() % 7) << 16);
    expected.push_back((rand() % 300) << 16);
  }
  const int next = rand();
  srand(77);
  STARS_set_count(field.get(), 5);
  ASSERT_EQ(field->count, 5);
  EXPECT_EQ(std::vector<int32_t>(field->stars, field->stars + 10), expected);
  EXPECT_EQ(rand(), next);
}

TEST(Stars, RefusedCountAndEmptyFieldChangeNothing) {
  StarsPtr field = make_field(40, 40, 3);
  const std::vector<int32_t> before(field->stars, field->stars + 6);
  srand(9);
  const int first = rand();
  srand(9);
  STARS_set_count(field.get(), 0);
  STARS_set_count(field.get(), -2);
  EXPECT_EQ(field->count, 3);
  field->width = 0;
  STARS_scatter(field.get());
  STARS_respawn(field.get(), 1);
  field->width = 40;
  STARS_respawn(field.get(), 3);
  STARS_respawn(field.get(), -1);
  EXPECT_EQ(std::vector<int32_t>(field->stars, field->stars + 6), before);
  EXPECT_EQ(rand(), first) << "refused calls draw no numbers";
}

struct RespawnCase {
  std::string name;
  int32_t dx;
  int32_t dy;
  // Which edges a star may come back on; both velocities set picks one with weights.
  int32_t weight_x;  // 0 when only one axis moves
  int32_t weight_y;
};

TEST(Stars, RespawnEntersThroughTheUpstreamEdge) {
  const int32_t width = 50;
  const int32_t height = 30;
  const std::vector<RespawnCase> cases = {
      {"down", 0, one, 0, 0},
      {"up", 0, -3 * one, 0, 0},
      {"right", one / 2, 0, 0, 0},
      {"left", -2 * one, 0, 0, 0},
      {"right and down", 2 * one, one, 3, 2},
      {"right and up", one, -3 * one, 2, 2},
      {"left and down", -2 * one, 4 * one, 1, 5},
      {"left and up", -4 * one, -one / 2, 3, 0},
  };
  for (const RespawnCase& c : cases) {
    StarsPtr field = make_field(width, height, 2);
    field->dx = c.dx;
    field->dy = c.dy;
    for (unsigned seed = 1; seed <= 40; ++seed) {
      srand(seed);
      int32_t rx = rand() % width;
      int32_t ry = rand() % height;
      const int32_t left_or_right = c.dx >= 0 ? 0 : width - 1;
      const int32_t top_or_bottom = c.dy >= 0 ? 0 : height - 1;
      if (c.dx != 0 && c.dy != 0) {
        if (rand() % (c.weight_x + c.weight_y) < c.weight_x) {
          rx = left_or_right;
        } else {
          ry = top_or_bottom;
        }
      } else if (c.dx != 0) {
        rx = left_or_right;
      } else {
        ry = top_or_bottom;
      }
      const int next = rand();

      srand(seed);
      STARS_respawn(field.get(), 1);
      ASSERT_EQ(star_x(field.get(), 1), rx << 16) << c.name << " seed " << seed;
      ASSERT_EQ(star_y(field.get(), 1), ry << 16) << c.name << " seed " << seed;
      ASSERT_EQ(rand(), next) << c.name << ": number of draws";
    }
  }
}

TEST(Stars, RespawnWithoutEdgeWeightsLandsAnywhere) {
  // Whole-pixel parts of -1 on both axes give two weights of 0.
  for (auto [dx, dy] : std::vector<std::pair<int32_t, int32_t>>{{-one / 2, -1}, {0, 0}}) {
    StarsPtr field = make_field(64, 48, 1);
    field->dx = dx;
    field->dy = dy;
    srand(555);
    const int32_t rx = rand() % 64;
    const int32_t ry = rand() % 48;
    const int next = rand();
    srand(555);
    STARS_respawn(field.get(), 0);
    EXPECT_EQ(star_x(field.get(), 0), rx << 16) << dx << "," << dy;
    EXPECT_EQ(star_y(field.get(), 0), ry << 16) << dx << "," << dy;
    EXPECT_EQ(rand(), next);
  }
}

TEST(Stars, MoveRespawnsOnlyStarsThatLeave) {
  StarsPtr field = make_field(20, 10, 3);
  field->dx = one / 4;
  field->dy = one;
  place(field.get(), 0, 5 * one, 9 * one);             // leaves at the bottom
  place(field.get(), 1, 3 * one + 7, 2 * one);         // stays
  place(field.get(), 2, 19 * one + 3 * (one / 4), 0);  // leaves at the right
  srand(31);
  const int32_t first_x = rand() % 20;
  const int32_t first_y = rand() % 10;
  const bool first_left = rand() % (1 + 2) < 1;  // weights 1 and 2
  const int32_t second_x = rand() % 20;
  const int32_t second_y = rand() % 10;
  const bool second_left = rand() % 3 < 1;

  srand(31);
  STARS_move(field.get());
  EXPECT_EQ(star_x(field.get(), 0), (first_left ? 0 : first_x) << 16);
  EXPECT_EQ(star_y(field.get(), 0), (first_left ? first_y : 0) << 16);
  EXPECT_EQ(star_x(field.get(), 1), 3 * one + 7 + one / 4);
  EXPECT_EQ(star_y(field.get(), 1), 3 * one);
  EXPECT_EQ(star_x(field.get(), 2), (second_left ? 0 : second_x) << 16)
      << "a respawned star is not moved again";
  EXPECT_EQ(star_y(field.get(), 2), (second_left ? second_y : 0) << 16);
}

TEST(Stars, StarsFallingOffTheBottomReturnOnTopAndRisingOnesAtTheBottom) {
  for (int32_t dy : {one, -one}) {
    StarsPtr field = make_field(32, 16, 1);
    field->dy = dy;
    place(field.get(), 0, 4 * one, dy > 0 ? 15 * one : 0);
    srand(8);
    const int32_t column = rand() % 32;
    srand(8);
    STARS_move(field.get());
    EXPECT_EQ(star_x(field.get(), 0), column << 16);
    EXPECT_EQ(star_y(field.get(), 0), (dy > 0 ? 0 : 15) << 16);
  }
}

TEST(Stars, StillFieldNeverRespawns) {
  StarsPtr field = make_field(30, 30, 4);
  field->dy = 0;
  const std::vector<int32_t> before(field->stars, field->stars + 8);
  srand(2);
  const int first = rand();
  srand(2);
  for (int i = 0; i < 10; ++i) STARS_move(field.get());
  EXPECT_EQ(std::vector<int32_t>(field->stars, field->stars + 8), before);
  EXPECT_EQ(rand(), first);
}

TEST(StarsDraw, GlyphFollowsTheRowAndCentresOnTheStar) {
  FontPtr font = make_glyph_font(32, 32, 64, 1);
  StarsPtr field = make_field(10, 10, 2);
  field->font = font.get();
  place(field.get(), 0, 100 * one, 130 * one);
  place(field.get(), 1, 10 * one + 5, 63 * one + one - 1);
  ImagePtr screen = filled_image(256, 200, 0);
  STARS_draw(field.get(), screen.get());
  EXPECT_EQ(field->width, 256);
  EXPECT_EQ(field->height, 200);
  // Row 130 draws code 2 over columns 84 ... 115 and rows 114 ... 145.
  EXPECT_EQ(IMG_get_pixel(screen.get(), 84, 114), glyph_colour(2));
  EXPECT_EQ(IMG_get_pixel(screen.get(), 115, 145), glyph_colour(2));
  EXPECT_EQ(IMG_get_pixel(screen.get(), 83, 114), 0u);
  EXPECT_EQ(IMG_get_pixel(screen.get(), 84, 113), 0u);
  EXPECT_EQ(IMG_get_pixel(screen.get(), 116, 130), 0u);
  EXPECT_EQ(IMG_get_pixel(screen.get(), 100, 146), 0u);
  // Row 63 draws code 63, clipped at the left edge.
  EXPECT_EQ(IMG_get_pixel(screen.get(), 0, 47), glyph_colour(63));
  EXPECT_EQ(IMG_get_pixel(screen.get(), 25, 78), glyph_colour(63));
  EXPECT_EQ(IMG_get_pixel(screen.get(), 26, 78), 0u);
}

TEST(StarsDraw, LaterStarsCoverEarlierOnes) {
  FontPtr font = make_glyph_font(32, 32, 64, 1);
  StarsPtr field = make_field(10, 10, 2);
  field->font = font.get();
  place(field.get(), 0, 50 * one, 70 * one);
  place(field.get(), 1, 51 * one, 71 * one);
  ImagePtr screen = filled_image(128, 128, 0);
  STARS_draw(field.get(), screen.get());
  EXPECT_EQ(IMG_get_pixel(screen.get(), 50, 70), glyph_colour(7));
  EXPECT_EQ(IMG_get_pixel(screen.get(), 34, 54), glyph_colour(6));
}

TEST(StarsDraw, PixelsTakeTheColourInsideTheImageOnly) {
  StarsPtr field = make_field(100, 100, 3);
  field->colour = 0x123456;
  place(field.get(), 0, 2 * one + one / 2, 3 * one);
  place(field.get(), 1, 90 * one, 1 * one);  // outside the smaller image
  place(field.get(), 2, 7 * one, 7 * one);
  ImagePtr screen = filled_image(8, 8, 0);
  STARS_draw_pixels(field.get(), screen.get());
  EXPECT_EQ(field->width, 8);
  EXPECT_EQ(field->height, 8);
  int32_t lit = 0;
  for (int32_t i = 0; i < 64; ++i) lit += screen->pixels[i] != 0 ? 1 : 0;
  EXPECT_EQ(lit, 2);
  EXPECT_EQ(IMG_get_pixel(screen.get(), 2, 3), 0x123456u);
  EXPECT_EQ(IMG_get_pixel(screen.get(), 7, 7), 0x123456u);

  // The field now follows the small image: the star at column 90 comes back.
  field->dy = 0;
  srand(12);
  const int32_t column = rand() % 8;
  const int32_t row = rand() % 8;
  srand(12);
  STARS_move(field.get());
  EXPECT_EQ(star_x(field.get(), 1), column << 16);
  EXPECT_EQ(star_y(field.get(), 1), row << 16);
  EXPECT_EQ(star_x(field.get(), 0), 2 * one + one / 2);
}

TEST(StarsDraw, MissingFontOrPositionsDrawNothing) {
  StarsPtr field = make_field(16, 16, 4);
  ImagePtr screen = filled_image(16, 16, 0);
  STARS_draw(field.get(), screen.get());
  STARS_draw(nullptr, screen.get());
  STARS_draw_pixels(field.get(), nullptr);
  std::free(field->stars);
  field->stars = nullptr;
  STARS_draw_pixels(field.get(), screen.get());
  STARS_move(field.get());
  for (int32_t i = 0; i < 256; ++i) ASSERT_EQ(screen->pixels[i], 0u);
}

TEST(Stars, DestroyNullsTheHandle) {
  STARS* field = STARS_create();
  STARS_destroy(&field);
  EXPECT_EQ(field, nullptr);
  STARS_destroy(&field);
  STARS_destroy(nullptr);
}

}  // namespace
