// The "IMG{" and "BYTEMAP{" text dumps, their readers, and the search that
// the readers use.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "formats_support.h"
#include "tests/support/frame_compare.h"

using namespace formats_test;

namespace {

// A heap copy exactly as long as the text and its NUL, so that stepping past
// the NUL is a sanitizer finding.
std::unique_ptr<char[]> exact_copy(const std::string& text) {
  std::unique_ptr<char[]> copy(new char[text.size() + 1]);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

std::string text_of(char* text) {
  FreedPtr<char> owner(text);
  return owner ? std::string(owner.get()) : std::string("<null>");
}

TEST(PnmText, ImageDumpLayout) {
  ImagePtr image = image_of(2, 1, {0xFF0000, 0x000102});
  std::string text = text_of(IMG_to_text(image.get()));
  EXPECT_EQ(text, "IMG{\nP3\n2 1\n255\n255   0   0   0   1   2\n}\n");
  ImagePtr back(IMG_from_text(exact_copy(text).get()));
  ASSERT_NE(back, nullptr);
  EXPECT_FRAME_EQ(back, image);
}

TEST(PnmText, MapDumpWritesEachByteAsAGreyTriple) {
  BytemapPtr map = map_of(1, 1, {7});
  std::string text = text_of(BYTEMAP_to_text(map.get()));
  EXPECT_EQ(text, "BYTEMAP{\nP3\n1 1\n255\n  7   7   7\n}\n");
  BytemapPtr back(BYTEMAP_from_text(exact_copy(text).get()));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->width, 1);
  EXPECT_EQ(back->pixels[0], 7);
}

// Group i (from 0) ends with a line feed when i + 1 is a multiple of six or i
// is the last; every other group ends with a blank.
TEST(PnmText, LineFeedAfterEverySixthGroupAndTheLast) {
  for (int32_t count : {1, 5, 6, 7, 12, 13}) {
    ImagePtr image =
        image_of(count, 1, std::vector<uint32_t>(static_cast<size_t>(count), 0x0A0B0C));
    std::string text = text_of(IMG_to_text(image.get()));
    std::string header = "IMG{\nP3\n" + std::to_string(count) + " 1\n255\n";
    ASSERT_EQ(text.size(), header.size() + 12 * static_cast<size_t>(count) + 2) << count;
    ASSERT_EQ(text.compare(0, header.size(), header), 0) << count;
    for (int32_t i = 0; i < count; ++i) {
      std::string group = text.substr(header.size() + 12 * static_cast<size_t>(i), 12);
      char end = (i + 1) % 6 == 0 || i + 1 == count ? '\n' : ' ';
      EXPECT_EQ(group, std::string(" 10  11  12") + end) << "group " << i << " of " << count;
    }
    EXPECT_EQ(text.substr(text.size() - 2), "}\n") << count;
  }
}

TEST(PnmText, SevenPixelsBreakAfterTheSixthAndTheSeventh) {
  ImagePtr image = image_of(7, 1, {0, 1, 2, 3, 4, 5, 6});
  std::string body = text_of(IMG_to_text(image.get())).substr(std::strlen("IMG{\nP3\n7 1\n255\n"));
  EXPECT_EQ(body,
            "  0   0   0   0   0   1   0   0   2   0   0   3   0   0   4   0   0   5\n"
            "  0   0   6\n}\n");
}

TEST(PnmText, DumpsOfEmptyAndMissingImages) {
  ImagePtr empty = image_of(0, 0, {});
  BytemapPtr empty_map = map_of(0, 0, {});
  EXPECT_EQ(text_of(IMG_to_text(empty.get())), "IMG{}");
  EXPECT_EQ(text_of(BYTEMAP_to_text(empty_map.get())), "BYTEMAP{}");
  EXPECT_EQ(printed_by(IMG_set_error_report, [] { EXPECT_EQ(IMG_to_text(nullptr), nullptr); }),
            "IMG error\n");
  EXPECT_EQ(
      printed_by(BYTEMAP_set_error_report, [] { EXPECT_EQ(BYTEMAP_to_text(nullptr), nullptr); }),
      "BYTEMAP error\n");
}

TEST(PnmText, DumpsReadBackUnchanged) {
  for (auto [width, height] : {std::pair{1, 1}, {6, 1}, {13, 3}, {64, 9}}) {
    auto [image, map] = varied_pair(width, height);

    ImagePtr image_back(IMG_from_text(exact_copy(text_of(IMG_to_text(image.get()))).get()));
    BytemapPtr map_back(BYTEMAP_from_text(exact_copy(text_of(BYTEMAP_to_text(map.get()))).get()));
    EXPECT_FRAME_EQ(image_back, image) << width << "x" << height;
    EXPECT_EQ(BYTEMAP_equal(map_back.get(), map.get()), 1) << width << "x" << height;
  }
}

TEST(PnmText, ReadersAcceptAnySeparatorsBetweenValues) {
  struct Case {
    const char* text;
    std::vector<uint32_t> image;
    std::vector<uint32_t> map;
  };
  const Case cases[] = {
      {"{\nP3\n2 1\n255\n255,0,0;0 1 2}", {0xFF0000, 0x000102}, {85, 1}},
      {"{\nP3\n2x1y255z255 0 0 1 1 2", {0xFF0000, 0x010102}, {85, 1}},
      {"{\nP3\n1 1\n255\n256 511 1\n}\n", {0x00FF01}, {85}},  // low 8 bits of each value
      {"{\nP3\n2 1\n\n  9  9  9 -3 -3 -3}", {0x090909, 0x030303}, {9, 3}},  // no maxval
  };
  for (const Case& c : cases) {
    ImagePtr image(IMG_from_text(exact_copy(std::string("IMG") + c.text).get()));
    BytemapPtr map(BYTEMAP_from_text(exact_copy(std::string("BYTEMAP") + c.text).get()));
    EXPECT_EQ(decoded(image.get()).pixels, c.image) << c.text;
    EXPECT_EQ(decoded(map.get()).pixels, c.map) << c.text;
  }
}

// Each text is tried after "IMG" for IMG_from_text and after "BYTEMAP" for
// BYTEMAP_from_text; the frame cases stand alone.
TEST(PnmText, ReadersRefuseBrokenDumps) {
  const char* bodies[] = {
      "",                               // no frame at all
      "\nP3\n2 1\n255\n1 2 3 4 5 6",    // no "{"
      "{\nP3 2 1\n255\n1 2 3",          // no line feed after P3
      "{\nP3\n",                        // ends after P3
      "{\nP3\n2",                       // ends inside the size line
      "{\nP3\n2 1\n255",                // no values
      "{\nP3\n2 1\n255\n1 2 3 4 5",     // one value short
      "{\nP3\n2  1\n255\n1 2 3 4 5 6",  // two blanks: the height reads as 0
      "{\nP3\n0 1\n255\n",              // width 0
      "{\nP3\n16385 16384\n255\n1 2 3",
      "{\nP3\n4294967297 1\n255\n1 2 3",
  };
  for (const char* body : bodies) {
    std::string image_text = std::string("IMG") + body;
    std::string map_text = std::string("BYTEMAP") + body;
    EXPECT_EQ(printed_by(
                  IMG_set_error_report,
                  [&] { EXPECT_EQ(IMG_from_text(exact_copy(image_text).get()), nullptr) << body; }),
              "IMG error\n")
        << body;
    EXPECT_EQ(printed_by(BYTEMAP_set_error_report,
                         [&] {
                           EXPECT_EQ(BYTEMAP_from_text(exact_copy(map_text).get()), nullptr)
                               << body;
                         }),
              "BYTEMAP error\n")
        << body;
  }
  EXPECT_EQ(IMG_from_text(nullptr), nullptr);
  EXPECT_EQ(BYTEMAP_from_text(nullptr), nullptr);
  EXPECT_EQ(IMG_from_text("IMG{}"), nullptr);
  EXPECT_EQ(BYTEMAP_from_text("IMG{\nP3\n1 1\n255\n1 2 3\n}\n"), nullptr);
}

TEST(PnmText, FindReturnsTheIndexAfterTheFirstOccurrence) {
  struct Case {
    const char* text;
    const char* literal;
    int32_t index;
  };
  const Case cases[] = {
      {"x\nP3\n4", "P3\n", 5}, {"XMG", "IMG", 0}, {"IMG{", "IMG", 3}, {"aaab", "aab", 4},
      {"ab", "abc", 0},        {"abc", "", 0},    {"", "a", 0},       {"P3P3\n", "P3\n", 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IMG_find(c.text, c.literal), c.index) << c.text << " / " << c.literal;
    EXPECT_EQ(BYTEMAP_find(c.text, c.literal), c.index) << c.text << " / " << c.literal;
  }
  EXPECT_EQ(printed_by(IMG_set_error_report,
                       [] {
                         EXPECT_EQ(IMG_find(nullptr, "a"), 0);
                         EXPECT_EQ(IMG_find("a", nullptr), 0);
                       }),
            "IMG error\nIMG error\n");
  EXPECT_EQ(printed_by(BYTEMAP_set_error_report,
                       [] {
                         EXPECT_EQ(BYTEMAP_find(nullptr, "a"), 0);
                         EXPECT_EQ(BYTEMAP_find("a", nullptr), 0);
                       }),
            "BYTEMAP error\nBYTEMAP error\n");
}

}  // namespace
