#include <cstring>
#include <functional>

#include "tests/imaging/img_support.h"
#include "tests/support/module_ids.h"

namespace {

TEST(ImgIdentity, RecordHoldsNameDateAuthorLanguageKind) {
  expect_module_id(IMG_id, {"IMG     ", "20101021", "Kadwelon", "C       ", "CODE    "});
}

TEST(ImgErrorHook, SilentUntilSwitchedOnAndSilentAgainAfter) {
  expect_error_line_only_while_on(IMG_error, IMG_set_error_report, img_error_line);
  EXPECT_EQ(printed_by([] { IMG_destroy(nullptr); }), "");
}

TEST(ImgCreate, NewImageIsSixteenSquareAndBlack) {
  ImagePtr image(IMG_create());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->y, 0);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->height, 16);
  ASSERT_NE(image->pixels, nullptr);
  for (int32_t y = -1; y <= 16; ++y)
    for (int32_t x = -1; x <= 16; ++x) EXPECT_EQ(IMG_get_pixel(image.get(), x, y), 0u);
}

TEST(ImgCreate, EitherFailedAllocationReportsAndGivesNull) {
  for (int64_t nth : {1, 2}) {
    FailingAllocation failing(nth);
    IMG* image = nullptr;
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { image = IMG_create(); }), img_error_line)
        << "allocation " << nth;
    EXPECT_EQ(image, nullptr);
  }
}

TEST(ImgDestroy, NullsTheHandleAndASecondCallOnlyReports) {
  IMG* image = IMG_create();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_destroy(&image); }), "");
  EXPECT_EQ(image, nullptr);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_destroy(&image); }), img_error_line);
  EXPECT_EQ(printed_by(IMG_set_error_report, [] { IMG_destroy(nullptr); }), img_error_line);
}

TEST(ImgResize, AcceptedSizesGiveAllBlackBuffersOfThatSize) {
  struct Case {
    int32_t width, height;
  };
  for (const Case c : {Case{320, 200}, Case{0, 0}, Case{1, 0}, Case{0, 7}, Case{1, 1}}) {
    ImagePtr image = numbered_image(16, 16);
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_resize(image.get(), c.width, c.height); }),
              "");
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.height);
    ASSERT_NE(image->pixels, nullptr);
    for (uint32_t p : pixels_of(image.get())) ASSERT_EQ(p, 0u);
  }
}

TEST(ImgResize, RefusedSizesReportAndLeaveTheImageAsItWas) {
  struct Case {
    int32_t width, height;
  };
  const Case refused[] = {{-1, 5},
                          {5, -1},
                          {-1, -1},
                          {16384, 16385},
                          {16385, 16384},
                          {65536, 65536},
                          {INT32_MAX, INT32_MAX},
                          {1, 268435457}};
  for (const Case c : refused) {
    ImagePtr image = numbered_image(3, 2);
    const uint32_t* before = image->pixels;
    FailingAllocation counting(0);
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_resize(image.get(), c.width, c.height); }),
              img_error_line)
        << c.width << " x " << c.height;
    EXPECT_EQ(counting.calls(), 0) << "no buffer is even asked for";
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, before);
    EXPECT_EQ(pixels_of(image.get()), pixels_of(numbered_image(3, 2).get()));
  }
  EXPECT_EQ(printed_by(IMG_set_error_report, [] { IMG_resize(nullptr, 4, 4); }), img_error_line);
}

TEST(ImgResize, LargestAcceptedSizeAsksForItsBuffer) {
  // The allocation is made to fail, so the limit is checked without a gigabyte.
  ImagePtr image(IMG_create());
  FailingAllocation failing(1);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_resize(image.get(), 16384, 16384); }),
            img_error_line);
  EXPECT_EQ(failing.calls(), 1);
}

// Each operation that needs the pixel buffer, run on a bufferless image.
const std::vector<std::pair<const char*, std::function<void(IMG*)>>>& buffer_users() {
  static const std::vector<std::pair<const char*, std::function<void(IMG*)>>> users = {
      {"clear", [](IMG* i) { IMG_clear(i); }},
      {"put_pixel", [](IMG* i) { IMG_put_pixel(i, 0, 0, 1); }},
      {"get_pixel", [](IMG* i) { EXPECT_EQ(IMG_get_pixel(i, 0, 0), 0u); }},
      {"fade", [](IMG* i) { IMG_fade(i, 3); }},
      {"clone", [](IMG* i) { EXPECT_EQ(IMG_clone(i), nullptr); }},
      {"copy from", [](IMG* i) { IMG_copy(i, numbered_image(0, 0).get()); }},
      {"copy to", [](IMG* i) { IMG_copy(numbered_image(0, 0).get(), i); }},
      {"blit from", [](IMG* i) { IMG_blit(i, numbered_image(4, 4).get(), 0, 0, 0, 0, 4, 4); }},
      {"blit to", [](IMG* i) { IMG_blit(numbered_image(4, 4).get(), i, 0, 0, 0, 0, 4, 4); }},
      {"blit_stepped",
       [](IMG* i) { IMG_blit_stepped(numbered_image(4, 4).get(), i, 0, 0, 0, 0, 4, 4, 1, 1); }},
      {"blend", [](IMG* i) { IMG_blend(numbered_image(4, 4).get(), i, 0, 0); }},
      {"wrap_row", [](IMG* i) { IMG_wrap_row(numbered_image(4, 4).get(), i, 0, 0, 0); }},
      {"wrap_row_or", [](IMG* i) { IMG_wrap_row_or(i, numbered_image(4, 4).get(), 0, 0, 0); }},
      {"wrap_column", [](IMG* i) { IMG_wrap_column(numbered_image(4, 4).get(), i, 0, 0, 0); }},
      {"copy_row", [](IMG* i) { IMG_copy_row(i, numbered_image(4, 4).get(), 0, 0); }},
      {"mask", [](IMG* i) { IMG_mask(i, numbered_image(4, 4).get()); }},
      {"fill_rect", [](IMG* i) { IMG_fill_rect(i, 0, 0, 1, 1, 5); }},
      {"draw_rect", [](IMG* i) { IMG_draw_rect(i, 0, 0, 1, 1, 5); }},
      {"scale from", [](IMG* i) { IMG_scale(i, numbered_image(4, 4).get()); }},
      {"rotate", [](IMG* i) { EXPECT_EQ(IMG_rotate(i, 0), nullptr); }},
  };
  return users;
}

TEST(ImgResize, FailedAllocationLeavesAnEmptyImageEveryUserRefuses) {
  ImagePtr image = numbered_image(4, 4);
  {
    FailingAllocation failing(1);
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_resize(image.get(), 8, 8); }),
              img_error_line);
  }
  EXPECT_EQ(image->width, 0);
  EXPECT_EQ(image->height, 0);
  EXPECT_EQ(image->pixels, nullptr);
  for (const auto& user : buffer_users())
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { user.second(image.get()); }), img_error_line)
        << user.first;
  EXPECT_EQ(image->pixels, nullptr);

  IMG_resize(image.get(), 2, 3);  // the image recovers with the next resize
  EXPECT_EQ(image->width, 2);
  ASSERT_NE(image->pixels, nullptr);
}

TEST(ImgResize, NullImageIsRefusedByEveryUser) {
  for (const auto& user : buffer_users())
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { user.second(nullptr); }), img_error_line)
        << user.first;
}

TEST(ImgPixels, PutAndGetInsideAndOutside) {
  struct Case {
    int32_t x, y;
    bool inside;
  };
  const Case cases[] = {{0, 0, true},          {4, 2, true},         {3, 0, true},   {0, 2, true},
                        {5, 0, false},         {0, -1, false},       {-1, 2, false}, {0, 3, false},
                        {INT32_MIN, 0, false}, {0, INT32_MAX, false}};
  for (const Case c : cases) {
    ImagePtr image = make_image(5, 3, [](int32_t, int32_t) { return 0u; });
    EXPECT_EQ(
        printed_by(IMG_set_error_report, [&] { IMG_put_pixel(image.get(), c.x, c.y, 0xABCDEF); }),
        "");
    const uint32_t expected_at = c.inside ? 0xABCDEFu : 0u;
    EXPECT_EQ(IMG_get_pixel(image.get(), c.x, c.y), expected_at) << c.x << "," << c.y;
    size_t changed = 0;
    for (uint32_t p : pixels_of(image.get())) changed += p != 0;
    EXPECT_EQ(changed, c.inside ? 1u : 0u);
    if (c.inside) {
      EXPECT_EQ(image->pixels[c.y * 5 + c.x], 0xABCDEFu);
    }
  }
}

TEST(ImgClear, BlackensEveryPixel) {
  ImagePtr image = numbered_image(256, 256);
  IMG_clear(image.get());
  for (uint32_t p : pixels_of(image.get())) ASSERT_EQ(p, 0u);
  ImagePtr empty = numbered_image(0, 3);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_clear(empty.get()); }), "");
}

TEST(ImgEqual, ComparesSizeAndEveryWholePixel) {
  auto zero = [](int32_t, int32_t) { return 0u; };
  struct Case {
    const char* name;
    ImagePtr a, b;
    int32_t equal;
  };
  Case cases[] = {
      {"same pixels", numbered_image(4, 4), numbered_image(4, 4), 1},
      {"2x8 and 4x4", make_image(2, 8, zero), make_image(4, 4, zero), 0},
      {"both 0x0", make_image(0, 0, zero), make_image(0, 0, zero), 1},
      {"top byte only", make_image(1, 1, [](int32_t, int32_t) { return 0x01000000u; }),
       make_image(1, 1, zero), 0},
      {"last pixel differs", numbered_image(3, 3),
       make_image(
           3, 3,
           [](int32_t x, int32_t y) { return x == 2 && y == 2 ? 0u : 0x010000u + y * 3 + x + 1; }),
       0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IMG_equal(c.a.get(), c.b.get()), c.equal) << c.name;
    EXPECT_EQ(IMG_equal(c.b.get(), c.a.get()), c.equal) << c.name;
  }
  ImagePtr one = numbered_image(1, 1);
  int32_t result = -1;
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { result = IMG_equal(one.get(), nullptr); }),
            img_error_line);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { result = IMG_equal(nullptr, one.get()); }),
            img_error_line);
  EXPECT_EQ(result, 0);
}

TEST(ImgClone, CopiesIntoAFreshBuffer) {
  ImagePtr source = numbered_image(5, 3);
  ImagePtr copy(IMG_clone(source.get()));
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->pixels, source->pixels);
  EXPECT_EQ(IMG_equal(copy.get(), source.get()), 1);
  copy->pixels[0] = 7;
  EXPECT_NE(source->pixels[0], 7u);
}

TEST(ImgClone, FailedAllocationGivesNullWithoutLeaks) {
  ImagePtr source = numbered_image(5, 3);
  for (int64_t nth : {1, 2, 3}) {  // record, first buffer, resized buffer
    FailingAllocation failing(nth);
    IMG* copy = nullptr;
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { copy = IMG_clone(source.get()); }),
              img_error_line)
        << nth;
    EXPECT_EQ(copy, nullptr) << nth;
  }
}

TEST(ImgCopy, OnlyBetweenImagesOfTheSameSize) {
  ImagePtr source = numbered_image(4, 4);
  ImagePtr same = make_image(4, 4, [](int32_t, int32_t) { return 9u; });
  IMG_copy(source.get(), same.get());
  EXPECT_EQ(IMG_equal(source.get(), same.get()), 1);

  ImagePtr other = make_image(2, 8, [](int32_t, int32_t) { return 9u; });
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_copy(source.get(), other.get()); }),
            img_error_line);
  for (uint32_t p : pixels_of(other.get())) EXPECT_EQ(p, 9u);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_copy(nullptr, other.get()); }),
            img_error_line);
}

TEST(ImgFade, LowersEachChannelAndClearsTheTopByte) {
  struct Case {
    uint32_t pixel;
    uint8_t amount;
    uint32_t faded;
  };
  const Case cases[] = {
      {0x102030, 16, 0x001020},  {0x0A0A0A, 16, 0x000000}, {0xFF123456, 0, 0x123456},
      {0xFFFFFF, 255, 0x000000}, {0x010203, 1, 0x000102},  {0x80FF7F, 128, 0x007F00},
  };
  for (const Case c : cases) {
    ImagePtr image = make_image(3, 2, [&](int32_t, int32_t) { return c.pixel; });
    IMG_fade(image.get(), c.amount);
    for (uint32_t p : pixels_of(image.get()))
      EXPECT_EQ(p, c.faded) << std::hex << c.pixel << " by " << std::dec << int{c.amount};
  }
}

}  // namespace
