#pragma once

// The four PNM readers (IMG and BYTEMAP, from memory and from a file) behind
// one signature, so that one table of inputs runs through all of them, and a
// fixture that checks a refusal on every reader.

#include <dirent.h>

#include <string>
#include <vector>

#include "formats_support.h"

namespace formats_test {

// The size and pixels one reader should produce.
struct Expect {
  int32_t width;
  int32_t height;
  std::vector<uint32_t> pixels;
};

inline void expect_decoded(const Decoded& got, const Expect& want, const std::string& what) {
  ASSERT_TRUE(got.made) << what;
  EXPECT_EQ(got.width, want.width) << what;
  EXPECT_EQ(got.height, want.height) << what;
  EXPECT_EQ(got.pixels, want.pixels) << what;
}

// Open descriptors of this process, to see that a reader closed its file.
inline int open_descriptors() {
  int count = 0;
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  while (readdir(dir) != nullptr) ++count;
  closedir(dir);
  return count;
}

// The four readers in the order IMG_parse, IMG_load, BYTEMAP_parse,
// BYTEMAP_load; the memory readers take the bytes, the file readers the path
// of a file holding the same bytes.
struct Reader {
  const char* name;
  Decoded (*read)(const std::vector<uint8_t>& input, const std::string& file);
  void (*set_report)(int32_t on);
  const char* error_line;
  bool from_memory;
  bool byte_map;
};

inline const Reader readers[] = {
    {"IMG_parse",
     [](const std::vector<uint8_t>& in, const std::string&) { return parse_image(in); },
     IMG_set_error_report, "IMG error\n", true, false},
    {"IMG_load", [](const std::vector<uint8_t>&, const std::string& f) { return load_image(f); },
     IMG_set_error_report, "IMG error\n", false, false},
    {"BYTEMAP_parse",
     [](const std::vector<uint8_t>& in, const std::string&) { return parse_map(in); },
     BYTEMAP_set_error_report, "BYTEMAP error\n", true, true},
    {"BYTEMAP_load", [](const std::vector<uint8_t>&, const std::string& f) { return load_map(f); },
     BYTEMAP_set_error_report, "BYTEMAP error\n", false, true},
};

class PnmReadTest : public TempDirTest {
 protected:
  // Every reader refuses `input`, reports it once, and no file stays open.
  void expect_refused_everywhere(const std::vector<uint8_t>& input, const std::string& what) {
    std::string file = write_file("refused.pnm", input);
    int before = open_descriptors();
    for (const Reader& reader : readers) {
      std::string printed = printed_by(reader.set_report, [&] {
        EXPECT_FALSE(reader.read(input, file).made) << reader.name << ": " << what;
      });
      EXPECT_EQ(printed, reader.error_line) << reader.name << ": " << what;
    }
    EXPECT_EQ(open_descriptors(), before) << what;
  }
};

}  // namespace formats_test
