// Samples wider than a byte: a maxval from 256 to 65535 makes every binary
// sample two bytes, most significant first, and scales every sample to
// 0..255, rounding to nearest. A maxval up to 255 leaves samples as they are.

#include <string>
#include <vector>

#include "formats_support.h"
#include "pnm_readers.h"

using namespace formats_test;

namespace {

// Two bytes per sample, most significant first.
std::vector<uint8_t> wide(const std::vector<uint16_t>& samples) {
  std::vector<uint8_t> bytes;
  for (uint16_t sample : samples) {
    bytes.push_back(static_cast<uint8_t>(sample >> 8));
    bytes.push_back(static_cast<uint8_t>(sample & 0xFF));
  }
  return bytes;
}

std::vector<uint32_t> greys(const std::vector<uint32_t>& levels) {
  std::vector<uint32_t> pixels;
  for (uint32_t level : levels) pixels.push_back(level * 0x010101u);
  return pixels;
}

// One input, the image every IMG reader makes of it and the byte map every
// BYTEMAP reader makes of it (memory and file readers agree on these formats).
struct WideCase {
  const char* name;
  std::vector<uint8_t> input;
  Expect image;
  Expect map;
};

WideCase grey_case(const char* name, std::vector<uint8_t> input,
                   const std::vector<uint32_t>& levels) {
  int32_t width = static_cast<int32_t>(levels.size());
  return WideCase{name, std::move(input), {width, 1, greys(levels)}, {width, 1, levels}};
}

std::vector<WideCase> wide_cases() {
  return {
      grey_case("P5 maxval 65535 reads the most significant byte first",
                joined("P5\n7 1\n65535\n",
                       wide({0x0000, 0x0080, 0x0101, 0x8000, 0x1234, 0x3412, 0xFFFF})),
                {0, 0, 1, 128, 18, 52, 255}),
      WideCase{"P6 maxval 65535 scales each channel; the byte map takes their mean",
               joined("P6\n# a comment\n2 1\n65535\n",
                      wide({0x1234, 0xABCD, 0x0102, 0xFFFF, 0x0000, 0xFEDC})),
               {2, 1, {0x12AB01, 0xFF00FE}},
               {2, 1, {63, 169}}},
      grey_case("P5 maxval 1000 rounds to nearest",
                joined("P5 7 1 1000\n", wide({0, 1, 2, 500, 998, 999, 1000})),
                {0, 0, 1, 128, 254, 255, 255}),
      grey_case("P2 maxval 1000 scales text samples the same way",
                bytes_of("P2\n7 1\n1000\n0 1 2 500\n998 999 1000\n"),
                {0, 0, 1, 128, 254, 255, 255}),
      WideCase{"P3 maxval 65535",
               bytes_of("P3 1 1 65535\n4660 43981 258\n"),
               {1, 1, {0x12AB01}},
               {1, 1, {63}}},
      grey_case("P5 maxval 256 is the narrowest with two bytes a sample",
                joined("P5 4 1 256\n", wide({1, 128, 255, 256})), {1, 128, 254, 255}),
      grey_case("P5 maxval 1000 counts a sample above it as the maxval",
                joined("P5 4 1 1000\n", wide({1001, 40000, 65535, 500})), {255, 255, 255, 128}),
      grey_case("P2 maxval 1000 counts a text sample above it, however long, as the maxval",
                bytes_of("P2 3 1 1000 1001 99999999999999999999 500"), {255, 255, 128}),
      WideCase{"P3 maxval 300 with samples above it",
               bytes_of("P3 1 1 300 301 0 65536"),
               {1, 1, {0xFF00FF}},
               {1, 1, {170}}},
      grey_case("P5 maxval 255 is taken as it stands", joined("P5 4 1 255\n", {0, 1, 200, 255}),
                {0, 1, 200, 255}),
      grey_case("P5 maxval 15 keeps samples as they stand, above the maxval too",
                joined("P5 2 1 15\n", {15, 200}), {15, 200}),
      grey_case("P2 maxval 15 keeps the low 8 bits of a text sample",
                bytes_of("P2 3 1 15 15 16 300"), {15, 16, 44}),
  };
}

TEST_F(PnmReadTest, WideSamplesAreScaledByEveryReader) {
  for (const WideCase& c : wide_cases()) {
    std::string file = write_file("wide.pnm", c.input);
    for (const Reader& reader : readers) {
      expect_decoded(reader.read(c.input, file), reader.byte_map ? c.map : c.image,
                     std::string(reader.name) + ": " + c.name);
    }
  }
}

TEST_F(PnmReadTest, MaxvalsOutsideOneTo65535AreRefused) {
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"P5 maxval 0", joined("P5 1 1 0\n", {0})},
      {"P6 maxval 0", joined("P6 1 1 0\n", {0, 0, 0})},
      {"P2 maxval 0", bytes_of("P2 1 1 0 0")},
      {"P3 maxval 0", bytes_of("P3 1 1 0 0 0 0")},
      {"P5 maxval 65536", joined("P5 1 1 65536\n", {0, 0, 0})},
      {"P2 maxval 65536", bytes_of("P2 1 1 65536 0")},
      {"maxval that wraps to 0 in 32 bits", joined("P5 1 1 4294967296\n", {0, 0})},
      {"maxval of twenty digits", joined("P5 1 1 99999999999999999999\n", {0, 0})},
  };
  for (const auto& [what, input] : cases) expect_refused_everywhere(input, what);
}

// Each of these would hold the image if samples were one byte each.
TEST_F(PnmReadTest, ShortWideDataIsRefused) {
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"P5 maxval 65535 one byte short", joined("P5 2 1 65535\n", {0x12, 0x34, 0x56})},
      {"P6 maxval 1000 one byte short", joined("P6 1 1 1000\n", {0, 1, 0, 2, 0})},
      {"P5 maxval 256 one byte short of two rows", joined("P5 2 2 256\n", {0, 1, 0, 2, 0, 3, 0})},
      {"P3 maxval 1000 one value short", bytes_of("P3 2 1 1000\n1 2 3 4 5")},
      {"P6 of 16384 x 16384 two-byte samples with one byte", joined("P6 16384 16384 65535\n", {1})},
  };
  for (const auto& [what, input] : cases) expect_refused_everywhere(input, what);
}

// Magics that real tools write besides P1 to P6: netpbm's and ImageMagick's
// PAM, and the float maps.
TEST_F(PnmReadTest, OtherMagicsAreRefused) {
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"P7 (PAM)",
       joined("P7\nWIDTH 1\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n", {1, 2, 3})},
      {"PF (colour float map)", joined("PF\n1 1\n-1.0\n", std::vector<uint8_t>(12, 0))},
      {"Pf (grey float map)", joined("Pf\n1 1\n-1.0\n", std::vector<uint8_t>(4, 0))},
      {"P8", joined("P8 1 1 255\n", {1})},
  };
  for (const auto& [what, input] : cases) expect_refused_everywhere(input, what);
}

}  // namespace
