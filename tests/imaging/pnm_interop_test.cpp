// Files written by ImageMagick and netpbm, read by all four readers and
// compared with the pictures the tools themselves decode them to. The corpus,
// its list (corpus.txt) and the script that made both live in interop/; the
// tests need neither tool.

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "formats_support.h"
#include "pnm_readers.h"

using namespace formats_test;

namespace {

const std::string corpus_dir = INTEROP_CORPUS_DIR;

std::vector<uint8_t> corpus_bytes(const std::string& relative) {
  std::ifstream in(corpus_dir + "/" + relative, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// One line of corpus.txt: a file, the tool whose decoding it is compared
// with, and how our readers relate to that decoding.
struct CorpusEntry {
  std::string name;
  std::string decoder;
  std::string expected;
  std::string relation;  // same, negated or refused
  std::string readers;   // all, or memory when the file readers refuse it
  int tolerance = 0;     // largest difference allowed per channel
};

std::vector<CorpusEntry> corpus_entries() {
  std::ifstream in(corpus_dir + "/corpus.txt");
  std::vector<CorpusEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    CorpusEntry e;
    std::istringstream fields(line);
    if (fields >> e.name >> e.decoder >> e.expected >> e.relation >> e.readers >> e.tolerance) {
      entries.push_back(e);
    }
  }
  return entries;
}

// The tools' decodings are 8-bit P6 files without comments: "P6", width,
// height and 255 separated by single blanks or line ends, then the bytes.
// Read here by hand, so the expectation does not come from the readers under
// test.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

Picture tool_picture(const std::string& name) {
  std::vector<uint8_t> bytes = corpus_bytes("expected/" + name);
  std::string text(bytes.begin(), bytes.end());
  std::istringstream header(text);
  std::string magic;
  int maxval = 0;
  Picture p;
  header >> magic >> p.width >> p.height >> maxval;
  size_t start = static_cast<size_t>(header.tellg()) + 1;
  size_t count = static_cast<size_t>(p.width) * static_cast<size_t>(p.height);
  if (magic != "P6" || maxval != 255 || bytes.size() != start + 3 * count) {
    ADD_FAILURE() << "expected/" << name << " is not a plain 8-bit P6";
    return Picture{};
  }
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* rgb = &bytes[start + 3 * i];
    p.pixels.push_back(static_cast<uint32_t>(rgb[0]) << 16 | rgb[1] << 8 | rgb[2]);
  }
  return p;
}

int channel(uint32_t colour, int shift) { return static_cast<int>(colour >> shift & 0xFF); }

// The largest difference of any channel of `ours` from the tool's `colour`;
// a byte map's pixel is compared with the mean of the colour's channels,
// rounded down, as the byte map readers store it.
int difference(uint32_t ours, uint32_t colour, bool byte_map) {
  if (byte_map) {
    int mean = (channel(colour, 16) + channel(colour, 8) + channel(colour, 0)) / 3;
    return std::abs(static_cast<int>(ours) - mean);
  }
  int most = 0;
  for (int shift : {16, 8, 0})
    most = std::max(most, std::abs(channel(ours, shift) - channel(colour, shift)));
  return most;
}

// Compares what one reader made with the tool's picture. The memory readers
// widen a P4 image to a multiple of 8 columns; the tools write those padding
// bits as 0, which our readers decode as black.
void expect_like_tool(const Decoded& got, const Picture& tool, const CorpusEntry& e,
                      const Reader& reader, bool padded) {
  std::string what = std::string(reader.name) + ": " + e.name + " against " + e.decoder;
  ASSERT_TRUE(got.made) << what;
  int32_t width = padded ? (tool.width + 7) / 8 * 8 : tool.width;
  ASSERT_EQ(got.width, width) << what;
  ASSERT_EQ(got.height, tool.height) << what;
  uint32_t flip = e.relation == "negated" ? 0xFFFFFFu : 0;
  for (int32_t y = 0; y < got.height; ++y) {
    for (int32_t x = 0; x < got.width; ++x) {
      uint32_t ours = got.pixels[static_cast<size_t>(y * got.width + x)];
      uint32_t colour =
          x < tool.width ? tool.pixels[static_cast<size_t>(y * tool.width + x)] ^ flip : 0;
      int tolerance = x < tool.width ? e.tolerance : 0;
      ASSERT_LE(difference(ours, colour, reader.byte_map), tolerance)
          << what << " at (" << x << ", " << y << ")";
    }
  }
}

bool is_p4(const std::vector<uint8_t>& input) {
  return input.size() >= 2 && input[0] == 'P' && input[1] == '4';
}

TEST(InteropCorpus, HoldsEveryMagicFromBothTools) {
  std::set<std::string> magics;
  std::set<std::string> writers;
  for (const CorpusEntry& e : corpus_entries()) {
    std::vector<uint8_t> input = corpus_bytes("files/" + e.name);
    ASSERT_GE(input.size(), 2u) << e.name;
    magics.insert(std::string(input.begin(), input.begin() + 2));
    writers.insert(e.name.substr(0, 3));
  }
  EXPECT_EQ(magics, (std::set<std::string>{"P1", "P2", "P3", "P4", "P5", "P6", "P7"}));
  EXPECT_EQ(writers, (std::set<std::string>{"im_", "nb_"}));
}

TEST_F(PnmReadTest, EveryCorpusFileReadsAsTheToolsDecodeIt) {
  for (const CorpusEntry& e : corpus_entries()) {
    std::vector<uint8_t> input = corpus_bytes("files/" + e.name);
    if (e.relation == "refused") {
      expect_refused_everywhere(input, e.name);
      continue;
    }
    Picture tool = tool_picture(e.expected);
    std::string file = corpus_dir + "/files/" + e.name;
    for (const Reader& reader : readers) {
      Decoded got = reader.read(input, file);
      if (e.readers == "memory" && !reader.from_memory) {
        EXPECT_FALSE(got.made) << reader.name << ": " << e.name;
        continue;
      }
      expect_like_tool(got, tool, e, reader, reader.from_memory && is_p4(input));
    }
  }
}

// ImageMagick's -depth 16 and -depth 8 files of one picture: the wide one,
// scaled by every reader, lands within 1 per channel of its 8-bit twin.
TEST_F(PnmReadTest, SixteenBitFileMatchesItsEightBitTwin) {
  std::vector<uint8_t> wide = corpus_bytes("files/im_p6_16.ppm");
  std::vector<uint8_t> narrow = corpus_bytes("files/im_p6_8.ppm");
  for (const Reader& reader : readers) {
    Decoded from_wide = reader.read(wide, corpus_dir + "/files/im_p6_16.ppm");
    Decoded from_narrow = reader.read(narrow, corpus_dir + "/files/im_p6_8.ppm");
    ASSERT_TRUE(from_wide.made && from_narrow.made) << reader.name;
    ASSERT_EQ(from_wide.width, from_narrow.width) << reader.name;
    ASSERT_EQ(from_wide.height, from_narrow.height) << reader.name;
    for (size_t i = 0; i < from_wide.pixels.size(); ++i) {
      for (int shift : {16, 8, 0}) {
        EXPECT_LE(
            std::abs(channel(from_wide.pixels[i], shift) - channel(from_narrow.pixels[i], shift)),
            1)
            << reader.name << " pixel " << i;
      }
    }
  }
}

}  // namespace
