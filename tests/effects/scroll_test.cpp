#include "effects/scroll.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "effects_test_support.h"
#include "tests/support/frame_compare.h"

namespace {

TEST(Scroll, CreateHoldsTheDefaultTextAndItsOwnFont) {
  ScrollPtr scroll(SCROLL_create());
  ASSERT_NE(scroll, nullptr);
  EXPECT_STREQ(scroll->text, "A scroll's default text. ");
  ASSERT_NE(scroll->counter, nullptr);
  EXPECT_EQ(scroll->counter->size, 25);
  EXPECT_EQ(scroll->counter->index, 0);
  EXPECT_EQ(scroll->counter->step, 1);
  ASSERT_NE(scroll->font, nullptr);
  EXPECT_EQ(scroll->font->width, 6);
  EXPECT_EQ(scroll->font->height, 6);
  EXPECT_EQ(scroll->font->image, nullptr);
  EXPECT_EQ(scroll->target, nullptr);
  EXPECT_EQ(scroll->x, 0);
  EXPECT_EQ(scroll->y, 0);
  EXPECT_EQ(scroll->speed, 1);
  EXPECT_EQ(scroll->position, 0);
}

// A scroller over `text` with a font of 32-pixel cells (no glyphs needed to move).
class ScrollMove : public testing::Test {
 protected:
  void SetUp() override {
    font_.reset(FONT_create());
    font_->width = 32;
    target_ = filled_image(256, 32, 0);
    scroll_.reset(SCROLL_create());
    SCROLL_set_text(scroll_.get(), text_, font_.get(), target_.get());
  }
  const char* text_ = "ABCDEFGHIJ";
  FontPtr font_;
  ImagePtr target_;
  ScrollPtr scroll_;
};

TEST_F(ScrollMove, SpeedMovesTheWindowByWholeCellsAndARemainder) {
  struct Case {
    std::string name;
    int32_t speed;
    int32_t position;
    int32_t index;
    int32_t position_after;
    int32_t index_after;
  };
  const std::vector<Case> cases = {
      {"inside a cell", 6, 0, 0, 6, 0},
      {"into the next cell", 6, 30, 0, 4, 1},
      {"two cells at once", 70, 0, 0, 6, 2},
      {"past the end of the ring", 6, 28, 9, 2, 0},
      {"one pixel back", -1, 0, 0, 31, 9},
      {"back within the cell", -5, 20, 4, 15, 4},
      {"two whole cells back", -64, 0, 5, 32, 2},
      {"standing still", 0, 17, 3, 17, 3},
      {"many rings forward", 32 * 25, 0, 0, 0, 5},
  };
  for (const Case& c : cases) {
    scroll_->speed = c.speed;
    scroll_->position = c.position;
    scroll_->counter->index = c.index;
    SCROLL_move(scroll_.get());
    EXPECT_EQ(scroll_->position, c.position_after) << c.name;
    EXPECT_EQ(scroll_->counter->index, c.index_after) << c.name;
    EXPECT_EQ(scroll_->speed, c.speed) << c.name;
  }
}

TEST_F(ScrollMove, CellsNarrowerThanOnePixelRefuseToMove) {
  for (int32_t width : {0, -32}) {
    font_->width = width;
    scroll_->speed = 9;
    scroll_->position = 3;
    scroll_->counter->index = 4;
    SCROLL_move(scroll_.get());
    SCROLL_draw(scroll_.get());
    EXPECT_EQ(scroll_->position, 3);
    EXPECT_EQ(scroll_->counter->index, 4);
  }
}

TEST_F(ScrollMove, SetTextTakesTextFontAndTargetButKeepsTheMotion) {
  scroll_->speed = 11;
  scroll_->position = 7;
  scroll_->x = 5;
  scroll_->y = 9;
  ImagePtr strip = filled_image(100, 16, 0);
  FontPtr other = make_glyph_font(8, 8, 16, 4);
  const char* text = "hello";
  SCROLL_set_text(scroll_.get(), text, other.get(), strip.get());
  EXPECT_EQ(scroll_->text, text);
  EXPECT_EQ(scroll_->counter->size, 5);
  EXPECT_EQ(scroll_->counter->index, 0);
  EXPECT_EQ(scroll_->counter->step, 1);
  EXPECT_EQ(scroll_->font, other.get());
  EXPECT_EQ(scroll_->target, strip.get());
  EXPECT_EQ(scroll_->width, 100);
  EXPECT_EQ(scroll_->x, 0);
  EXPECT_EQ(scroll_->y, 0);
  EXPECT_EQ(scroll_->speed, 11);
  EXPECT_EQ(scroll_->position, 7);
}

TEST_F(ScrollMove, RefusedTextChangesNothing) {
  scroll_->counter->index = 6;
  const SCROLL before = *scroll_;
  ImagePtr strip = filled_image(100, 16, 0);
  SCROLL_set_text(scroll_.get(), "", font_.get(), strip.get());
  SCROLL_set_text(scroll_.get(), nullptr, font_.get(), strip.get());
  SCROLL_set_text(scroll_.get(), "x", nullptr, strip.get());
  SCROLL_set_text(scroll_.get(), "x", font_.get(), nullptr);
  SCROLL_set_text(nullptr, "x", font_.get(), strip.get());
  EXPECT_EQ(scroll_->text, before.text);
  EXPECT_EQ(scroll_->counter, before.counter);
  EXPECT_EQ(scroll_->counter->size, 10);
  EXPECT_EQ(scroll_->counter->index, 6);
  EXPECT_EQ(scroll_->target, before.target);
  EXPECT_EQ(scroll_->width, 256);
}

TEST(ScrollOwnFont, IsReplacedBySetTextAndFreedOnce) {
  // Leaks and double frees show up under the sanitizer build.
  ScrollPtr scroll(SCROLL_create());
  ASSERT_NE(scroll->own_font, nullptr);
  FontPtr font = make_glyph_font(4, 4, 16, 4);
  ImagePtr target = filled_image(8, 4, 0);
  SCROLL_set_text(scroll.get(), "ab", font.get(), target.get());
  EXPECT_EQ(scroll->own_font, nullptr);
  SCROLL_set_text(scroll.get(), "abc", font.get(), target.get());
  EXPECT_EQ(scroll->font, font.get());
}

// Text drawn into a strip with 4 x 4 cells whose pixels tell the character.
class ScrollDraw : public testing::Test {
 protected:
  void SetUp() override {
    font_ = make_glyph_font(4, 4, 128, 16);
    target_ = filled_image(22, 6, 0);
    scroll_.reset(SCROLL_create());
    SCROLL_set_text(scroll_.get(), text_, font_.get(), target_.get());
  }
  // The character whose cell should cover target column `column`.
  char expected_char(int32_t column) const {
    const auto size = static_cast<int32_t>(std::strlen(text_));
    const int32_t cell = (column - scroll_->x + scroll_->position) / 4;
    return text_[(scroll_->counter->index + cell) % size];
  }
  const char* text_ = "Qu\nick!";
  FontPtr font_;
  ImagePtr target_;
  ScrollPtr scroll_;
};

TEST_F(ScrollDraw, WindowStartsInsideTheFirstCellAndWrapsRoundTheText) {
  for (int32_t position : {0, 1, 3, 4}) {
    for (int32_t index : {0, 5, 6}) {
      IMG_clear(target_.get());
      scroll_->position = position;
      scroll_->counter->index = index;
      SCROLL_draw(scroll_.get());
      for (int32_t x = 0; x < 22; ++x) {
        ASSERT_EQ(IMG_get_pixel(target_.get(), x, 0), glyph_colour(expected_char(x)))
            << "column " << x << " position " << position << " index " << index;
        ASSERT_EQ(IMG_get_pixel(target_.get(), x, 3), glyph_colour(expected_char(x)));
        ASSERT_EQ(IMG_get_pixel(target_.get(), x, 4), 0u) << "below the line";
      }
      EXPECT_EQ(scroll_->counter->index, index) << "drawing never moves the text";
      EXPECT_EQ(scroll_->position, position);
      EXPECT_EQ(scroll_->counter->step, 1);
    }
  }
}

TEST_F(ScrollDraw, LineStartsAtXAndY) {
  scroll_->x = 6;
  scroll_->y = 2;
  scroll_->position = 1;
  SCROLL_draw(scroll_.get());
  for (int32_t x = 0; x < 22; ++x) {
    EXPECT_EQ(IMG_get_pixel(target_.get(), x, 1), 0u);
    const uint32_t want = x < 5 ? 0u : glyph_colour(expected_char(x));
    EXPECT_EQ(IMG_get_pixel(target_.get(), x, 2), want) << x;
    EXPECT_EQ(IMG_get_pixel(target_.get(), x, 5), want) << x;
  }
}

TEST_F(ScrollDraw, SpeedZeroKeepsThePictureStill) {
  scroll_->speed = 0;
  scroll_->position = 2;
  SCROLL_draw(scroll_.get());
  ImagePtr first(IMG_clone(target_.get()));
  IMG_clear(target_.get());
  SCROLL_move(scroll_.get());
  SCROLL_draw(scroll_.get());
  EXPECT_FRAME_EQ(first, target_);
}

TEST_F(ScrollDraw, HighBytesLeaveAnEmptyCell) {
  static const char text[] = {'A', static_cast<char>(0xC1), 'B', '\0'};
  SCROLL_set_text(scroll_.get(), text, font_.get(), target_.get());
  SCROLL_draw(scroll_.get());
  EXPECT_EQ(IMG_get_pixel(target_.get(), 2, 1), glyph_colour('A'));
  EXPECT_EQ(IMG_get_pixel(target_.get(), 5, 1), 0u);
  EXPECT_EQ(IMG_get_pixel(target_.get(), 9, 1), glyph_colour('B'));
  EXPECT_EQ(IMG_get_pixel(target_.get(), 13, 1), glyph_colour('A'));
}

TEST(ScrollDrawRefused, NothingToDrawWithoutTargetOrGlyphs) {
  ScrollPtr scroll(SCROLL_create());
  SCROLL_draw(scroll.get());  // no target and a font without an image
  SCROLL_draw(nullptr);
  SCROLL_move(nullptr);
  EXPECT_EQ(scroll->counter->index, 0);
  SCROLL_move(scroll.get());  // its own font has 6-pixel cells
  EXPECT_EQ(scroll->position, 1);
}

TEST(ScrollDestroy, NullsTheHandle) {
  SCROLL* scroll = SCROLL_create();
  SCROLL_destroy(&scroll);
  EXPECT_EQ(scroll, nullptr);
  SCROLL_destroy(&scroll);
  SCROLL_destroy(nullptr);
}

TEST(ScrollCounter, AdvanceFoldsIntoTheRing) {
  struct Case {
    int32_t size;
    int32_t index;
    int32_t step;
    int32_t after;
  };
  const std::vector<Case> cases = {
      {10, 9, 1, 0},        {10, 0, -1, 9},       {10, 3, 27, 0}, {10, 3, -27, 6},
      {1, 0, INT32_MAX, 0}, {7, 6, INT32_MIN, 4},  // -2^31 lies 5 steps past a multiple of 7
  };
  for (const Case& c : cases) {
    SCROLL_COUNTER* counter = SCROLL_COUNTER_create(c.size);
    ASSERT_NE(counter, nullptr);
    counter->index = c.index;
    counter->step = c.step;
    SCROLL_COUNTER_advance(counter);
    EXPECT_EQ(counter->index, c.after) << c.size << " " << c.index << " " << c.step;
    SCROLL_COUNTER_destroy(&counter);
    EXPECT_EQ(counter, nullptr);
  }
  EXPECT_EQ(SCROLL_COUNTER_create(0), nullptr);
  SCROLL_COUNTER empty = {0, 1, 0, 0};
  SCROLL_COUNTER_advance(&empty);  // must return, not spin
  EXPECT_EQ(empty.index, 0);
}

}  // namespace
