// The PNM readers of both modules, from memory and from files, on the same
// inputs: what they decode, what they refuse, and that they never read past
// the data they were given.

#include <string>
#include <vector>

#include "formats_support.h"
#include "imaging/pnm.h"
#include "pnm_readers.h"

using namespace formats_test;

namespace {

constexpr uint32_t W = 0xFFFFFF;  // white, a set P4 bit or a non-zero P1 sample

// One input and what each of the four readers should make of it. Memory and
// file readers differ only for P1 and P4.
struct ReadCase {
  const char* name;
  std::vector<uint8_t> input;
  Expect image_memory;
  Expect image_file;
  Expect map_memory;
  Expect map_file;
};

ReadCase same_for_all(const char* name, std::vector<uint8_t> input, Expect image, Expect map) {
  return ReadCase{name, std::move(input), image, image, map, map};
}

std::vector<ReadCase> decoding_cases() {
  return {
      same_for_all("P6 with two comment lines after the magic",
                   joined("P6\n# made by hand\n# second line\n2 1\n255\n",
                          {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF}),
                   {2, 1, {0xFF0000, 0x0000FF}}, {2, 1, {85, 85}}),
      same_for_all("comments between every token and right after a number",
                   joined("P5#a\n#b\n2#c\n1 #d\n255\n", {0x10, 0x20}), {2, 1, {0x101010, 0x202020}},
                   {2, 1, {16, 32}}),
      ReadCase{"P4 width 12: memory pads to 16, file skips the padding",
               joined("P4\n12 1\n", {0xF0, 0x0F}),
               {16, 1, {W, W, W, W, 0, 0, 0, 0, 0, 0, 0, 0, W, W, W, W}},
               {12, 1, {W, W, W, W, 0, 0, 0, 0, 0, 0, 0, 0}},
               {16, 1, {255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255}},
               {12, 1, {255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0}}},
      ReadCase{
          "P4 rows: file readers start every row on a new byte",
          joined("P4 12 2\n", {0xF0, 0x0F, 0x0F, 0xF0}),
          {16, 2, {W, W, W, W, 0, 0, 0, 0, 0, 0, 0, 0, W, W, W, W,
                   0, 0, 0, 0, W, W, W, W, W, W, W, W, 0, 0, 0, 0}},
          {12, 2, {W, W, W, W, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, W, W, W, W, W, W, W, W}},
          {16, 2, {255, 255, 255, 255, 0,   0,   0,   0,   0,   0,   0,   0,   255, 255, 255, 255,
                   0,   0,   0,   0,   255, 255, 255, 255, 255, 255, 255, 255, 0,   0,   0,   0}},
          {12, 2, {255, 255, 255, 255, 0,   0,   0,   0,   0,   0,   0,   0,
                   0,   0,   0,   0,   255, 255, 255, 255, 255, 255, 255, 255}}},
      same_for_all("P2 on one line with single blanks", bytes_of("P2 2 2 255 0 100 200 255"),
                   {2, 2, {0, 0x646464, 0xC8C8C8, 0xFFFFFF}}, {2, 2, {0, 100, 200, 255}}),
      same_for_all("P5 with maxval 15 stays grey 15", joined("P5\n1 1\n15\n", {0x0F}),
                   {1, 1, {0x0F0F0F}}, {1, 1, {15}}),
      same_for_all("P6 with maxval 1 is not scaled", joined("P6 1 1 1\n", {0xFF, 0x80, 0x00}),
                   {1, 1, {0xFF8000}}, {1, 1, {127}}),
      same_for_all("P3 triples, the byte map takes their mean rounded down",
                   bytes_of("P3\n2 1\n255\n255 0 0\n  1 2 3\n"), {2, 1, {0xFF0000, 0x010203}},
                   {2, 1, {85, 2}}),
      same_for_all("text samples above 255 keep their low 8 bits",
                   bytes_of("P3 1 1 255\n256 257 511\n"), {1, 1, {0x0001FF}}, {1, 1, {85}}),
      same_for_all("P2 sample 300 is 44", bytes_of("P2 1 1 255 300"), {1, 1, {0x2C2C2C}},
                   {1, 1, {44}}),
      ReadCase{"P1: a digit per pixel from memory, a number per pixel from a file",
               bytes_of("P1 2 1\n20 1\n"),
               {2, 1, {W, 0}},
               {2, 1, {W, W}},
               {2, 1, {255, 0}},
               {2, 1, {255, 255}}},
      ReadCase{"P1: the number 000 is black, any other number white",
               bytes_of("P1 2 1\n000 7\n"),
               {2, 1, {0, 0}},
               {2, 1, {0, W}},
               {2, 1, {0, 0}},
               {2, 1, {0, 255}}},
      same_for_all("one byte ends the header; blanks after it are pixel data",
                   joined("P5 2 1 255 ", {0x20, 0x0A}), {2, 1, {0x202020, 0x0A0A0A}},
                   {2, 1, {32, 10}}),
      same_for_all("control and high bytes separate header tokens",
                   joined("\x01\xffP6\t\r\n\x7f"
                          "1\x80"
                          "1\x90"
                          "255\n",
                          {0x01, 0x02, 0x03}),
                   {1, 1, {0x010203}}, {1, 1, {2}}),
  };
}

// The readers table runs in the order of ReadCase's fields.
const Expect& expected(const ReadCase& c, size_t reader) {
  const Expect* in_reader_order[] = {&c.image_memory, &c.image_file, &c.map_memory, &c.map_file};
  return *in_reader_order[reader];
}

TEST_F(PnmReadTest, EveryReaderDecodesTheFormatsByItsOwnRules) {
  for (const ReadCase& c : decoding_cases()) {
    std::string file = write_file("case.pnm", c.input);
    for (size_t r = 0; r < std::size(readers); ++r) {
      expect_decoded(readers[r].read(c.input, file), expected(c, r),
                     std::string(readers[r].name) + ": " + c.name);
    }
  }
}

TEST_F(PnmReadTest, SuccessfulReadsReportNothingAndCloseTheirFile) {
  std::vector<uint8_t> input = joined("P6 1 1 255\n", {1, 2, 3});
  std::string file = write_file("ok.ppm", input);
  int before = open_descriptors();
  for (const Reader& reader : readers) {
    std::string printed = printed_by(
        reader.set_report, [&] { EXPECT_TRUE(reader.read(input, file).made) << reader.name; });
    EXPECT_EQ(printed, "") << reader.name;
  }
  EXPECT_EQ(open_descriptors(), before);
}

TEST_F(PnmReadTest, MalformedHeadersAreRefused) {
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"magic digit 7", joined("P7 1 1 255\n", {1, 2, 3})},
      {"magic digit 0", joined("P0 1 1 255\n", {1})},
      {"magic without a digit", joined("PX 1 1 255\n", {1})},
      {"width 0", joined("P5 0 1 255\n", {1})},
      {"height 0", joined("P5 1 0 255\n", {1})},
      {"P4 width 0 stays 0 when padded", joined("P4 0 1\n", {0xFF})},
      {"a letter among the numbers", joined("P5 2 x 1 255\n", {1, 2})},
      {"a second magic", joined("P5 P5 1 1 255\n", {1})},
      {"numbers before the magic", joined("1 1 P5 255\n", {1})},
      {"width wraps to 1 in 32 bits", joined("P5 4294967297 1 255\n", {1})},
      {"height wraps to 1 in 32 bits", joined("P5 1 4294967297 255\n", {1})},
      {"a width of twenty digits", joined("P5 99999999999999999999 1 255\n", {1})},
      {"more pixels than 16384 x 16384", joined("P5 16385 16384 255\n", {1})},
      {"width x height wraps to 0 in 32 bits", joined("P5 65536 65536 255\n", {1})},
  };
  for (const auto& [what, input] : cases) expect_refused_everywhere(input, what);
}

TEST_F(PnmReadTest, DataThatEndsInsideTheHeaderIsRefused) {
  for (const char* header : {"", "P", "P5", "P5 1", "P5 1 1", "P5 1 1 # comment without end",
                             "# only a comment\n", "P6\n# c\n2 1\n"}) {
    expect_refused_everywhere(bytes_of(header), std::string("header \"") + header + "\"");
  }
}

// Short data is refused whole: no reader returns a partly decoded image.
TEST_F(PnmReadTest, ShortPixelDataIsRefused) {
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"P6 one byte short", joined("P6 2 1 255\n", {1, 2, 3, 4, 5})},
      {"P5 one byte short", joined("P5 2 2 255\n", {1, 2, 3})},
      {"P5 without data", bytes_of("P5 1 1 255\n")},
      {"P4 width 9 needs two bytes a row", joined("P4 9 1\n", {0xFF})},
      {"P4 second row missing a byte", joined("P4 12 2\n", {0xFF, 0xFF, 0xFF})},
      {"P3 one value short", bytes_of("P3 2 1 255\n1 2 3 4 5")},
      {"P2 one value short", bytes_of("P2 2 2 255\n1 2 3")},
      {"P1 one value short", bytes_of("P1 2 2\n1 0 1")},
      {"P6 of 16384 x 16384 with one byte", joined("P6 16384 16384 255\n", {1})},
  };
  for (const auto& [what, input] : cases) expect_refused_everywhere(input, what);
}

TEST_F(PnmReadTest, P1WithoutSeparatorsIsOneNumberToTheFileReaders) {
  std::vector<uint8_t> input = bytes_of("P1 3 2\n101010");
  std::string file = write_file("p1.pbm", input);
  expect_decoded(parse_image(input), {3, 2, {W, 0, W, 0, W, 0}}, "IMG_parse");
  expect_decoded(parse_map(input), {3, 2, {255, 0, 255, 0, 255, 0}}, "BYTEMAP_parse");
  EXPECT_FALSE(load_image(file).made);
  EXPECT_FALSE(load_map(file).made);
}

TEST(PnmMemoryBound, MemoryReadersStopAtTheGivenSize) {
  // The block goes on past `size` with exactly the byte the image lacks.
  std::vector<uint8_t> block = joined("P5 2 1 255\n", {0xAB, 0xCD});
  EXPECT_TRUE(parse_image(block).made);
  std::vector<uint8_t> cut(block.begin(), block.end() - 1);
  EXPECT_EQ(IMG_parse(block.data(), cut.size()), nullptr);
  EXPECT_EQ(BYTEMAP_parse(block.data(), cut.size()), nullptr);
  // A size that ends inside the header leaves the rest of the header unread.
  std::vector<uint8_t> header_cut = bytes_of("P5 2 1 25");
  EXPECT_EQ(IMG_parse(block.data(), header_cut.size()), nullptr);
  EXPECT_EQ(BYTEMAP_parse(block.data(), 0), nullptr);
}

TEST(PnmMemoryBound, NullDataIsReportedWhateverTheSize) {
  EXPECT_EQ(printed_by(IMG_set_error_report, [] { EXPECT_EQ(IMG_parse(nullptr, 100), nullptr); }),
            "IMG error\n");
  EXPECT_EQ(
      printed_by(BYTEMAP_set_error_report, [] { EXPECT_EQ(BYTEMAP_parse(nullptr, 100), nullptr); }),
      "BYTEMAP error\n");
}

TEST_F(PnmReadTest, MissingFilesAndNullPathsAreReported) {
  for (const char* path : {static_cast<const char*>(nullptr), "/nonexistent/formats/x.ppm"}) {
    EXPECT_EQ(printed_by(IMG_set_error_report, [&] { EXPECT_EQ(IMG_load(path), nullptr); }),
              "IMG error\n");
    EXPECT_EQ(printed_by(BYTEMAP_set_error_report, [&] { EXPECT_EQ(BYTEMAP_load(path), nullptr); }),
              "BYTEMAP error\n");
  }
  int before = open_descriptors();
  EXPECT_EQ(IMG_load(dir_.path().c_str()), nullptr);  // a directory opens but reads nothing
  EXPECT_EQ(open_descriptors(), before);
}

TEST(PnmHeader, SizesUpTo16384Squared) {
  struct Case {
    const char* header;
    int32_t accepted;
    int32_t width;
  };
  const Case cases[] = {
      {"P5 16384 16384 255\n", 1, 16384},
      {"P5 1 268435456 255\n", 1, 1},
      {"P5 1 268435457 255\n", 0, 0},
      {"P5 16385 16384 255\n", 0, 0},
      {"P4 16383 16384\n", 1, 16384},  // padded from memory, still within the limit
      {"P4 13 1\n", 1, 16},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> data = bytes_of(c.header);
    PNM_SOURCE source = PNM_memory_source(data.data(), data.size());
    PNM_HEADER header;
    EXPECT_EQ(PNM_read_header(&source, &header), c.accepted) << c.header;
    if (c.accepted) {
      EXPECT_EQ(header.width, c.width) << c.header;
      EXPECT_EQ(source.position, data.size()) << c.header;
    }
  }
}

}  // namespace
