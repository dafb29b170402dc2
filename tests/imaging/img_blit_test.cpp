#include <random>

#include "tests/imaging/img_support.h"
#include "tests/support/frame_compare.h"

namespace {

// Source with keyed holes: every third pixel is 0, the rest distinct.
ImagePtr holed_image(int32_t width, int32_t height) {
  return make_image(width, height, [=](int32_t x, int32_t y) {
    const uint32_t n = static_cast<uint32_t>(y * width + x);
    return n % 3 == 2 ? 0u : 0x100000u + n;
  });
}

// The copy without any clipping, each source pixel placed where the operation
// promises to put it and dropped when either end falls outside its image.
// Destination column of source column c is dx + c * step_x; the stepped copy
// only draws a column that still has a whole step of room to its right.
std::vector<uint32_t> reference_copy(const IMG* src, const IMG* dst, int32_t sx, int32_t sy,
                                     int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t step_x,
                                     int32_t step_y, bool stepped) {
  std::vector<uint32_t> out = pixels_of(dst);
  for (int64_t r = 0; r < h; ++r) {
    for (int64_t c = 0; c < w; ++c) {
      const int64_t x = sx + c, y = sy + r;
      const int64_t tx = dx + c * step_x, ty = dy + r * step_y;
      if (x < 0 || y < 0 || x >= src->width || y >= src->height) continue;
      if (tx < 0 || ty < 0 || tx >= dst->width || ty >= dst->height) continue;
      if (stepped && (tx + step_x > dst->width || ty + step_y > dst->height)) continue;
      const uint32_t p = src->pixels[y * src->width + x];
      if (p != 0) out[ty * dst->width + tx] = p;
    }
  }
  return out;
}

TEST(ImgBlit, ClipsOnEverySideOfBothImages) {
  // Source 6 x 5, destination 7 x 4: each case pushes the rectangle over one
  // or more edges of the source, of the destination, or of both.
  struct Case {
    const char* name;
    int32_t sx, sy, dx, dy, w, h;
  };
  const Case cases[] = {
      {"inside", 1, 1, 2, 1, 3, 2},
      {"source left", -2, 0, 1, 0, 5, 3},
      {"source top", 0, -3, 0, 0, 4, 5},
      {"source right", 4, 0, 0, 0, 5, 2},
      {"source bottom", 0, 3, 0, 0, 2, 6},
      {"destination left", 0, 0, -3, 1, 5, 2},
      {"destination top", 0, 0, 2, -2, 3, 5},
      {"destination right", 0, 0, 5, 0, 6, 4},
      {"destination bottom", 0, 0, 0, 2, 4, 9},
      {"all sides", -1, -1, -2, -2, 20, 20},
      {"source left, destination right", -1, 0, 4, 0, 9, 1},
      {"destination left, source right", 3, 1, -1, 0, 9, 3},
  };
  for (const Case& c : cases) {
    ImagePtr src = holed_image(6, 5);
    ImagePtr dst = filled_image(7, 4, 0x77);
    const auto expected =
        reference_copy(src.get(), dst.get(), c.sx, c.sy, c.dx, c.dy, c.w, c.h, 1, 1, false);
    EXPECT_EQ(printed_by(IMG_set_error_report,
                         [&] { IMG_blit(src.get(), dst.get(), c.sx, c.sy, c.dx, c.dy, c.w, c.h); }),
              "")
        << c.name;
    EXPECT_FRAME_EQ(dst, FrameView(expected, dst->width)) << c.name;
    EXPECT_NE(expected, pixels_of(filled_image(7, 4, 0x77).get())) << c.name << " draws something";
  }
}

TEST(ImgBlit, SixteenSquareAtMinusFourDrawsItsLowerRightCorner) {
  ImagePtr src = numbered_image(16, 16);
  ImagePtr dst = filled_image(16, 16, 0);
  IMG_blit(src.get(), dst.get(), 0, 0, -4, -4, 16, 16);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) {
      const uint32_t expected = x < 12 && y < 12 ? src->pixels[(y + 4) * 16 + x + 4] : 0u;
      ASSERT_EQ(dst->pixels[y * 16 + x], expected) << x << "," << y;
    }
}

TEST(ImgBlit, NothingLeftToDrawIsSilent) {
  struct Case {
    const char* name;
    int32_t sx, sy, dx, dy, w, h;
  };
  const Case cases[] = {
      {"dx at width", 0, 0, 7, 0, 3, 3},
      {"dy at height", 0, 0, 0, 4, 3, 3},
      {"w zero", 0, 0, 0, 0, 0, 3},
      {"h negative", 0, 0, 0, 0, 3, -2},
      {"left of destination", 0, 0, -3, 0, 3, 3},
      {"sx at width", 6, 0, 0, 0, 3, 3},
      {"above source", 0, -9, 0, 0, 3, 9},
      {"huge offsets", INT32_MAX, INT32_MAX, INT32_MIN, 0, INT32_MAX, INT32_MAX},
  };
  for (const Case& c : cases) {
    ImagePtr src = holed_image(6, 5);
    ImagePtr dst = filled_image(7, 4, 0x77);
    EXPECT_EQ(printed_by(IMG_set_error_report,
                         [&] { IMG_blit(src.get(), dst.get(), c.sx, c.sy, c.dx, c.dy, c.w, c.h); }),
              "")
        << c.name;
    EXPECT_FRAME_EQ(dst, filled_image(7, 4, 0x77)) << c.name;
  }
}

TEST(ImgBlit, KeySkipsOnlyExactZero) {
  struct Case {
    uint32_t source, drawn;
  };
  const Case cases[] = {
      {0, 0x555555}, {0x000001, 0x000001}, {0x01000000, 0x01000000}, {0xFFFFFFFF, 0xFFFFFFFF}};
  for (const Case c : cases) {
    ImagePtr src = filled_image(1, 1, c.source);
    ImagePtr dst = filled_image(1, 1, 0x555555);
    IMG_blit(src.get(), dst.get(), 0, 0, 0, 0, 1, 1);
    EXPECT_EQ(dst->pixels[0], c.drawn) << std::hex << c.source;
  }
}

TEST(ImgBlit, MatchesTheUnclippedCopyForRandomRectangles) {
  std::mt19937 random(20101021);
  std::uniform_int_distribution<int32_t> coordinate(-24, 40), size(-3, 48);
  ImagePtr src = holed_image(37, 29);
  for (int i = 0; i < 2000; ++i) {
    ImagePtr dst = filled_image(33, 21, 0x0ABCDE);
    const int32_t sx = coordinate(random), sy = coordinate(random), dx = coordinate(random),
                  dy = coordinate(random), w = size(random), h = size(random);
    const auto expected = reference_copy(src.get(), dst.get(), sx, sy, dx, dy, w, h, 1, 1, false);
    IMG_blit(src.get(), dst.get(), sx, sy, dx, dy, w, h);
    ASSERT_FRAME_EQ(dst, FrameView(expected, dst->width))
        << sx << " " << sy << " " << dx << " " << dy << " " << w << " " << h;
  }
}

TEST(ImgBlit, OverlappingCopyWithinOneImageKeepsTheForwardOrder) {
  // Copying a row one pixel to the right onto itself, left to right, carries
  // the first pixel along the whole run.
  ImagePtr image = numbered_image(64, 2);
  const uint32_t first = image->pixels[0];
  IMG_blit(image.get(), image.get(), 0, 0, 1, 0, 63, 1);
  for (int32_t x = 0; x < 64; ++x) ASSERT_EQ(image->pixels[x], first) << x;
  // Copying to the left reads each pixel before it is overwritten.
  ImagePtr shifted = numbered_image(64, 1);
  IMG_blit(shifted.get(), shifted.get(), 1, 0, 0, 0, 63, 1);
  for (int32_t x = 0; x < 63; ++x) ASSERT_EQ(shifted->pixels[x], 0x010000u + x + 2) << x;
}

TEST(ImgBlit, MissingImageOrBufferReportsAndDrawsNothing) {
  ImagePtr src = holed_image(4, 4);
  ImagePtr dst = filled_image(4, 4, 3);
  IMG bufferless{0, 4, 4, nullptr};
  EXPECT_EQ(
      printed_by(IMG_set_error_report, [&] { IMG_blit(nullptr, dst.get(), 0, 0, 0, 0, 4, 4); }),
      img_error_line);
  EXPECT_EQ(
      printed_by(IMG_set_error_report, [&] { IMG_blit(src.get(), nullptr, 0, 0, 0, 0, 4, 4); }),
      img_error_line);
  EXPECT_EQ(
      printed_by(IMG_set_error_report, [&] { IMG_blit(&bufferless, dst.get(), 0, 0, 0, 0, 4, 4); }),
      img_error_line);
  EXPECT_FRAME_EQ(dst, filled_image(4, 4, 3));
}

TEST(ImgBlitStepped, SpreadsColumnsAndLeavesTheGaps) {
  struct Case {
    const char* name;
    int32_t dst_width, dx;
    std::vector<uint32_t> row;  // destination row 0 afterwards
  };
  const uint32_t a = 0xA, b = 0xB, c = 0xC, _ = 0x1;
  const Case cases[] = {
      {"at 0", 7, 0, {a, _, b, _, c, _, _}},
      {"at -3", 7, -3, {_, c, _, _, _, _, _}},
      {"at -2", 7, -2, {b, _, c, _, _, _, _}},
      // Five columns of room fit columns 0, 2 and 4, but the last one is
      // dropped because the room is not a whole number of steps.
      {"room of five", 5, 0, {a, _, b, _, _}},
      {"room of six", 6, 0, {a, _, b, _, c, _}},
  };
  for (const Case& t : cases) {
    ImagePtr src = make_image(3, 1, [&](int32_t x, int32_t) { return std::vector{a, b, c}[x]; });
    ImagePtr dst = filled_image(t.dst_width, 2, _);
    IMG_blit_stepped(src.get(), dst.get(), 0, 0, t.dx, 0, 3, 1, 2, 2);
    EXPECT_EQ(std::vector<uint32_t>(dst->pixels, dst->pixels + t.dst_width), t.row) << t.name;
  }
}

TEST(ImgBlitStepped, MatchesTheSpreadCopyForRandomRectanglesAndSteps) {
  std::mt19937 random(1021);
  std::uniform_int_distribution<int32_t> coordinate(-30, 40), size(-2, 30), step(1, 4);
  ImagePtr src = holed_image(23, 19);
  for (int i = 0; i < 3000; ++i) {
    ImagePtr dst = filled_image(31, 26, 0x0ABCDE);
    const int32_t sx = coordinate(random), sy = coordinate(random), dx = coordinate(random),
                  dy = coordinate(random), w = size(random), h = size(random),
                  step_x = step(random), step_y = step(random);
    const auto expected =
        reference_copy(src.get(), dst.get(), sx, sy, dx, dy, w, h, step_x, step_y, true);
    IMG_blit_stepped(src.get(), dst.get(), sx, sy, dx, dy, w, h, step_x, step_y);
    ASSERT_FRAME_EQ(dst, FrameView(expected, dst->width))
        << sx << " " << sy << " " << dx << " " << dy << " " << w << " " << h << " steps " << step_x
        << " " << step_y;
  }
}

TEST(ImgBlitStepped, StepsBelowOneReportAndDrawNothing) {
  struct Case {
    int32_t step_x, step_y;
  };
  for (const Case c : {Case{0, 1}, Case{1, 0}, Case{-1, 2}, Case{2, -5}, Case{INT32_MIN, 1}}) {
    ImagePtr src = holed_image(4, 4);
    ImagePtr dst = filled_image(8, 8, 3);
    EXPECT_EQ(
        printed_by(
            IMG_set_error_report,
            [&] { IMG_blit_stepped(src.get(), dst.get(), 0, 0, 0, 0, 4, 4, c.step_x, c.step_y); }),
        img_error_line)
        << c.step_x << " " << c.step_y;
    EXPECT_FRAME_EQ(dst, filled_image(8, 8, 3));
  }
}

TEST(ImgBlitStepped, HugeStepsStayInside) {
  ImagePtr src = holed_image(4, 4);
  ImagePtr dst = filled_image(8, 8, 3);
  IMG_blit_stepped(src.get(), dst.get(), -2, 0, 1, 0, 4, 4, INT32_MAX, 1);
  // Source column -2 is outside; column 0 would land at 1 + 2 * INT32_MAX.
  EXPECT_FRAME_EQ(dst, filled_image(8, 8, 3));
  IMG_blit_stepped(src.get(), dst.get(), 0, 0, 0, 0, 4, 1, INT32_MAX, INT32_MAX);
  EXPECT_FRAME_EQ(dst, filled_image(8, 8, 3)) << "a column needs a whole step of room";
}

// Ring copy of a source row or column: element i goes to (o + i) mod length.
struct RingCase {
  int32_t src_len, dst_len, offset;
};

std::vector<uint32_t> reference_ring(const std::vector<uint32_t>& src, std::vector<uint32_t> dst,
                                     int32_t offset, bool use_or) {
  const int64_t n = static_cast<int64_t>(dst.size());
  const int64_t start = ((offset % n) + n) % n;
  for (size_t i = 0; i < std::min(src.size(), dst.size()); ++i) {
    uint32_t& d = dst[(start + static_cast<int64_t>(i)) % n];
    d = use_or ? (d | src[i]) : (src[i] != 0 ? src[i] : d);
  }
  return dst;
}

const RingCase ring_cases[] = {
    {8, 10, 7}, {8, 10, -3}, {12, 8, 0},          {12, 8, 5},        {3, 3, 0}, {3, 3, 2},
    {1, 5, 4},  {5, 1, 3},   {10, 10, INT32_MIN}, {7, 9, INT32_MAX}, {0, 4, 1}, {9, 4, -9},
};

TEST(ImgWrapRow, LaysTheRowAsARing) {
  for (const RingCase c : ring_cases) {
    for (bool use_or : {false, true}) {
      ImagePtr src = holed_image(c.src_len, 3);
      ImagePtr dst = make_image(c.dst_len, 4, [](int32_t x, int32_t y) {
        return 0x30000u * (y + 1) + static_cast<uint32_t>(x);
      });
      const std::vector<uint32_t> src_row(src->pixels + c.src_len, src->pixels + 2 * c.src_len);
      const std::vector<uint32_t> dst_row(dst->pixels + 2 * c.dst_len, dst->pixels + 3 * c.dst_len);
      std::vector<uint32_t> expected = pixels_of(dst.get());
      const auto ring = reference_ring(src_row, dst_row, c.offset, use_or);
      std::copy(ring.begin(), ring.end(), expected.begin() + 2 * c.dst_len);
      if (use_or)
        IMG_wrap_row_or(src.get(), dst.get(), 1, 2, c.offset);
      else
        IMG_wrap_row(src.get(), dst.get(), 1, 2, c.offset);
      EXPECT_FRAME_EQ(dst, FrameView(expected, dst->width))
          << c.src_len << " into " << c.dst_len << " at " << c.offset << (use_or ? " or" : "");
    }
  }
}

TEST(ImgWrapRow, EightIntoTenAtSevenFillsSevenToNineThenZeroToFour) {
  ImagePtr src = numbered_image(8, 1);
  ImagePtr dst = filled_image(10, 1, 0);
  IMG_wrap_row(src.get(), dst.get(), 0, 0, 7);
  const uint32_t s0 = src->pixels[0];
  const std::vector<uint32_t> expected = {s0 + 3, s0 + 4, s0 + 5, s0 + 6, s0 + 7,
                                          0,      0,      s0,     s0 + 1, s0 + 2};
  EXPECT_FRAME_EQ(dst, FrameView(expected, dst->width));
}

TEST(ImgWrapColumn, LaysTheColumnAsARing) {
  for (const RingCase c : ring_cases) {
    ImagePtr src = holed_image(3, c.src_len);
    ImagePtr dst = make_image(4, c.dst_len, [](int32_t x, int32_t y) {
      return 0x30000u * (x + 1) + static_cast<uint32_t>(y);
    });
    std::vector<uint32_t> src_column, dst_column;
    for (int32_t y = 0; y < c.src_len; ++y) src_column.push_back(src->pixels[y * 3 + 2]);
    for (int32_t y = 0; y < c.dst_len; ++y) dst_column.push_back(dst->pixels[y * 4 + 1]);
    std::vector<uint32_t> expected = pixels_of(dst.get());
    const auto ring = reference_ring(src_column, dst_column, c.offset, false);
    for (int32_t y = 0; y < c.dst_len; ++y) expected[y * 4 + 1] = ring[y];
    IMG_wrap_column(src.get(), dst.get(), 2, 1, c.offset);
    EXPECT_FRAME_EQ(dst, FrameView(expected, dst->width))
        << c.src_len << " into " << c.dst_len << " at " << c.offset;
  }
}

TEST(ImgWrap, RowsOrColumnsOutsideReport) {
  struct Case {
    const char* name;
    int32_t src_line, dst_line;
  };
  const Case cases[] = {{"source -1", -1, 0},
                        {"source past", 3, 0},
                        {"destination -1", 0, -1},
                        {"destination past", 0, 4}};
  for (const Case& c : cases) {
    ImagePtr src = holed_image(3, 3);
    ImagePtr dst = filled_image(4, 4, 9);
    EXPECT_EQ(printed_by(IMG_set_error_report,
                         [&] { IMG_wrap_row(src.get(), dst.get(), c.src_line, c.dst_line, 0); }),
              img_error_line)
        << c.name;
    EXPECT_EQ(printed_by(IMG_set_error_report,
                         [&] { IMG_wrap_row_or(src.get(), dst.get(), c.src_line, c.dst_line, 0); }),
              img_error_line)
        << c.name;
    EXPECT_EQ(printed_by(IMG_set_error_report,
                         [&] { IMG_wrap_column(src.get(), dst.get(), c.src_line, c.dst_line, 0); }),
              img_error_line)
        << c.name;
    EXPECT_EQ(printed_by(IMG_set_error_report,
                         [&] { IMG_copy_row(src.get(), dst.get(), c.src_line, c.dst_line); }),
              img_error_line)
        << c.name;
    EXPECT_FRAME_EQ(dst, filled_image(4, 4, 9)) << c.name;
  }
}

TEST(ImgWrap, EmptyRingIsNotDividedBy) {
  // A destination row of width 0 (or a column of height 0) has nowhere to go.
  ImagePtr src = holed_image(3, 3);
  ImagePtr thin = filled_image(0, 3, 0);
  ImagePtr flat = filled_image(3, 0, 0);
  EXPECT_EQ(printed_by(IMG_set_error_report, [&] { IMG_wrap_row(src.get(), thin.get(), 0, 1, 5); }),
            "");
  EXPECT_EQ(
      printed_by(IMG_set_error_report, [&] { IMG_wrap_row_or(src.get(), thin.get(), 0, 1, 5); }),
      "");
  EXPECT_EQ(
      printed_by(IMG_set_error_report, [&] { IMG_wrap_column(src.get(), flat.get(), 0, 1, 5); }),
      "");
  EXPECT_FRAME_EQ(src, holed_image(3, 3));
}

TEST(ImgCopyRow, CopiesTheShorterWidthZerosIncluded) {
  struct Case {
    int32_t src_width, dst_width;
  };
  for (const Case c : {Case{5, 8}, Case{8, 5}, Case{6, 6}}) {
    ImagePtr src = holed_image(c.src_width, 3);
    ImagePtr dst = filled_image(c.dst_width, 2, 0x42);
    std::vector<uint32_t> expected = pixels_of(dst.get());
    for (int32_t x = 0; x < std::min(c.src_width, c.dst_width); ++x)
      expected[c.dst_width + x] = src->pixels[2 * c.src_width + x];
    IMG_copy_row(src.get(), dst.get(), 2, 1);
    EXPECT_FRAME_EQ(dst, FrameView(expected, dst->width)) << c.src_width << " into " << c.dst_width;
  }
}

}  // namespace
