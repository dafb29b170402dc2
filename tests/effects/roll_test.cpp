#include "effects/roll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "containers/sample.h"
#include "effects_test_support.h"
#include "tests/support/frame_compare.h"
#include "tests/support/output_capture.h"

namespace {

RollPtr make_roll(int32_t width, int32_t height) {
  RollPtr roll(ROLL_create());
  ROLL_build(roll.get(), width, height);
  return roll;
}

// Every pixel of texture row r holds the row number plus one (never 0), and
// the column in the second byte, so a copied row tells where it came from.
uint32_t texture_pixel(int32_t x, int32_t row) {
  return static_cast<uint32_t>(row + 1) | static_cast<uint32_t>(x) << 16;
}

ImagePtr make_texture(int32_t width, int32_t height, int32_t offset) {
  ImagePtr texture = make_image(width, height, texture_pixel);
  texture->y = offset;
  return texture;
}

int32_t wrap(int64_t v, int32_t h) { return static_cast<int32_t>(((v % h) + h) % h); }

// The texture row a face row shows, read back from its pixels.
int32_t shown_row(const IMG* face, int32_t row) {
  return static_cast<int32_t>(face->pixels[row * face->width] & 0xFFFF) - 1;
}

std::vector<int32_t> table_slice(const ROLL* roll, int32_t from, int32_t to) {
  return {roll->table->values + from, roll->table->values + to + 1};
}

TEST(RollBuild, TablesMatchTheKnownRolls) {
  struct Slice {
    int32_t from;
    std::vector<int32_t> entries;
  };
  struct Case {
    int32_t height;
    std::vector<Slice> slices;
  };
  const std::vector<Case> cases = {
      {170,
       {{0, {0, 159, 152, 148, 145, 142, 139, 137, 135, 133, 130, 129, 128}},
        {80, {85, 85, 85, 85, 84, 85, 85, 84, 84, 84, 84}},
        {160, {36, 34, 32, 30, 27, 24, 21, 17, 10, 0}}}},
      {64, {{0, {0, 57, 53, 51, 48, 47}}, {58, {16, 15, 12, 10, 6, 0}}}},
      {4, {{0, {0, 1, 2, 0}}}},
      {3, {{0, {0, 1, 0}}}},
  };
  for (const Case& c : cases) {
    RollPtr roll = make_roll(256, c.height);
    ASSERT_EQ(roll->height, c.height);
    ASSERT_EQ(roll->table->length, c.height);
    EXPECT_EQ(roll->radius, c.height / 2);
    for (const Slice& s : c.slices) {
      const auto last = s.from + static_cast<int32_t>(s.entries.size()) - 1;
      EXPECT_EQ(table_slice(roll.get(), s.from, last), s.entries)
          << "height " << c.height << " from entry " << s.from;
    }
  }
}

TEST(RollBuild, FacesTakeTheNewSize) {
  RollPtr roll(ROLL_create());
  ASSERT_NE(roll, nullptr);
  EXPECT_EQ(roll->width, 256);
  EXPECT_EQ(roll->height, 64);
  ROLL_build(roll.get(), 40, 17);
  for (const IMG* face : {roll->front, roll->back}) {
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->width, 40);
    EXPECT_EQ(face->height, 17);
    EXPECT_EQ(face->pixels[40 * 17 - 1], 0u);
  }
  EXPECT_EQ(roll->width, 40);
  EXPECT_EQ(roll->radius, 8);
  EXPECT_EQ(roll->table->length, 17);
}

TEST(RollBuild, SizesOutsideTheRangeLeaveTheRollAsItWas) {
  RollPtr roll = make_roll(32, 10);
  ImagePtr texture = make_texture(32, 50, 9);
  ROLL_draw(roll.get(), texture.get());
  ImagePtr front_before(IMG_clone(roll->front));
  const std::vector<int32_t> table_before = table_slice(roll.get(), 0, 9);
  const IMG* front = roll->front;

  ROLL_set_error_report(1);
  // The last size is more than any image may hold.
  const std::vector<std::pair<int32_t, int32_t>> refused = {{32, 1}, {32, 0},  {32, -4},
                                                            {0, 10}, {-3, 10}, {20000, 20000}};
  for (auto [width, height] : refused) {
    EXPECT_EQ(printed_by([&roll, w = width, h = height] { ROLL_build(roll.get(), w, h); }),
              "ROLL ERROR\n")
        << width << " x " << height;
    EXPECT_EQ(roll->front, front);
    EXPECT_EQ(roll->width, 32);
    EXPECT_EQ(roll->height, 10);
    EXPECT_EQ(roll->radius, 5);
    EXPECT_EQ(table_slice(roll.get(), 0, 9), table_before);
    EXPECT_FRAME_EQ(roll->front, front_before);
  }
  ROLL_set_error_report(0);
  ROLL_build(nullptr, 10, 10);  // nothing to build
}

TEST(RollDraw, FacesShowTheTableRowsAroundTheOffset) {
  const int32_t texture_height = 50;
  for (int32_t offset : {0, 7, -1, -1000, 1000001, INT32_MAX, INT32_MIN}) {
    RollPtr roll = make_roll(16, 24);
    ImagePtr texture = make_texture(16, texture_height, offset);
    ROLL_draw(roll.get(), texture.get());
    const int32_t* table = roll->table->values;
    for (int32_t d = 0; d < 24; ++d) {
      EXPECT_EQ(shown_row(roll->back, d), wrap(int64_t{offset} + table[d], texture_height))
          << "back row " << d << " offset " << offset;
      EXPECT_EQ(shown_row(roll->front, d), wrap(int64_t{offset} - table[d], texture_height))
          << "front row " << d << " offset " << offset;
    }
    // The rims show the texture row at the offset itself.
    EXPECT_EQ(shown_row(roll->front, 0), wrap(offset, texture_height));
    EXPECT_EQ(shown_row(roll->back, 23), wrap(offset, texture_height));
  }
}

TEST(RollDraw, TurningByThreeMovesEveryRowThreeTextureRows) {
  RollPtr roll = make_roll(8, 170);
  ImagePtr texture = make_texture(8, 300, 40);
  ROLL_draw(roll.get(), texture.get());
  ImagePtr front_before(IMG_clone(roll->front));
  ImagePtr back_before(IMG_clone(roll->back));
  ROLL_draw(roll.get(), texture.get());
  EXPECT_FRAME_EQ(roll->front, front_before) << "same offset, same faces";
  EXPECT_FRAME_EQ(roll->back, back_before);

  texture->y += 3;
  ROLL_draw(roll.get(), texture.get());
  for (int32_t d = 0; d < 170; ++d) {
    EXPECT_EQ(shown_row(roll->front, d), wrap(shown_row(front_before.get(), d) + 3, 300)) << d;
    EXPECT_EQ(shown_row(roll->back, d), wrap(shown_row(back_before.get(), d) + 3, 300)) << d;
  }
}

TEST(RollDraw, NarrowTextureFillsTheLeftAndWideTextureIsCut) {
  RollPtr roll = make_roll(10, 6);
  const uint32_t old = 0xABCDEF;
  for (IMG* face : {roll->front, roll->back}) {
    for (int32_t i = 0; i < 60; ++i) face->pixels[i] = old;
  }
  ImagePtr narrow = make_texture(4, 20, 0);
  ROLL_draw(roll.get(), narrow.get());
  for (int32_t d = 0; d < 6; ++d) {
    for (int32_t x = 0; x < 10; ++x) {
      const uint32_t pixel = roll->front->pixels[d * 10 + x];
      if (x < 4) {
        EXPECT_EQ(pixel >> 16, static_cast<uint32_t>(x)) << d << "," << x;
      } else {
        EXPECT_EQ(pixel, old) << d << "," << x;
      }
    }
  }
  ImagePtr wide = make_texture(30, 20, 0);
  ROLL_draw(roll.get(), wide.get());
  for (int32_t x = 0; x < 10; ++x) {
    EXPECT_EQ(roll->back->pixels[3 * 10 + x] >> 16, static_cast<uint32_t>(x));
  }
}

TEST(RollDrawFlat, StraightBandOfRowsDownFromTheOffset) {
  const int32_t height = 7;
  for (int32_t offset : {0, 3, -2, 95}) {
    RollPtr roll = make_roll(5, height);
    ImagePtr texture = make_texture(5, 9, offset);
    ROLL_draw_flat(roll.get(), texture.get());
    for (int32_t d = 0; d < height; ++d) {
      EXPECT_EQ(shown_row(roll->front, d), wrap(int64_t{offset} - (height - 1 - d), 9))
          << "front " << d << " offset " << offset;
      EXPECT_EQ(shown_row(roll->back, d), wrap(int64_t{offset} - height - d, 9))
          << "back " << d << " offset " << offset;
    }
  }
}

TEST(RollDraw, MissingOrEmptyTextureDrawsNothingAndReports) {
  RollPtr roll = make_roll(4, 4);
  ImagePtr empty(IMG_create());
  IMG_resize(empty.get(), 4, 0);
  ImagePtr front_before(IMG_clone(roll->front));
  ROLL_set_error_report(1);
  for (const IMG* texture :
       {static_cast<const IMG*>(nullptr), static_cast<const IMG*>(empty.get())}) {
    EXPECT_EQ(printed_by([&] {
                ROLL_draw(roll.get(), texture);
                ROLL_draw_flat(roll.get(), texture);
              }),
              "ROLL ERROR\nROLL ERROR\n");
  }
  ImagePtr texture = make_texture(4, 4, 0);
  EXPECT_EQ(printed_by([&] { ROLL_draw(nullptr, texture.get()); }), "ROLL ERROR\n");
  ROLL_set_error_report(0);
  EXPECT_FRAME_EQ(roll->front, front_before);
}

TEST(RollError, PrintsOnlyWhileTheSwitchIsOn) {
  EXPECT_EQ(printed_by([] { ROLL_destroy(nullptr); }), "");
  expect_error_line_only_while_on(ROLL_error, ROLL_set_error_report, "ROLL ERROR\n");
}

TEST(RollDestroy, NullsTheHandleAndRefusesTwice) {
  ROLL* roll = ROLL_create();
  ROLL_destroy(&roll);
  EXPECT_EQ(roll, nullptr);
  ROLL_set_error_report(1);
  EXPECT_EQ(printed_by([&] {
              ROLL_destroy(&roll);
              ROLL_destroy(nullptr);
            }),
            "ROLL ERROR\nROLL ERROR\n");
  ROLL_set_error_report(0);
}

}  // namespace
