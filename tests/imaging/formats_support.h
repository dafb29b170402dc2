#pragma once

// Shared pieces of the image format tests: byte blocks, a
// temporary directory, and the four PNM readers behind one signature so that
// a table of inputs runs through every reader of both modules.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "tests/support/handles.h"
#include "tests/support/output_capture.h"
#include "tests/support/scratch_folder.h"

namespace formats_test {

inline std::vector<uint8_t> bytes_of(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

inline std::vector<uint8_t> joined(const std::string& header, std::vector<uint8_t> data) {
  std::vector<uint8_t> all = bytes_of(header);
  all.insert(all.end(), data.begin(), data.end());
  return all;
}

inline ImagePtr image_of(int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
  ImagePtr image(IMG_create());
  IMG_resize(image.get(), width, height);
  for (size_t i = 0; i < pixels.size(); ++i) image->pixels[i] = pixels[i];
  return image;
}

inline BytemapPtr map_of(int32_t width, int32_t height, const std::vector<uint8_t>& pixels) {
  BytemapPtr map(BYTEMAP_create());
  BYTEMAP_resize(map.get(), width, height);
  for (size_t i = 0; i < pixels.size(); ++i) map->pixels[i] = pixels[i];
  return map;
}

// A fresh directory under the system's temporary directory, removed with
// everything in it when the test ends.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.made()); }

  std::string path(const std::string& name) const { return dir_.file(name); }

  std::string write_file(const std::string& name, const std::vector<uint8_t>& data) const {
    std::string file = path(name);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    return file;
  }

  std::vector<uint8_t> read_file(const std::string& file) const {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

  ScratchFolder dir_;
};

// What any reader made of an input: its size and its pixels as 32-bit values
// (a byte map's bytes widened), or nothing.
struct Decoded {
  bool made = false;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

template <class Record>
Decoded decoded(const Record* record) {
  Decoded d;
  if (record == nullptr) return d;
  d = {true, record->width, record->height,
       std::vector<uint32_t>(record->pixels, record->pixels + record->width * record->height)};
  return d;
}

// An image whose pixels vary in every channel and position (top byte 0), and
// a byte map of the same size holding one channel of them.
struct VariedPair {
  ImagePtr image;
  BytemapPtr map;
};

inline VariedPair varied_pair(int32_t width, int32_t height) {
  std::vector<uint32_t> colours(static_cast<size_t>(width) * static_cast<size_t>(height));
  std::vector<uint8_t> bytes(colours.size());
  uint32_t state = 12345;
  for (size_t i = 0; i < colours.size(); ++i) {
    state = state * 1103515245u + 12345u;
    colours[i] = (state >> 4) & 0xFFFFFFu;
    bytes[i] = static_cast<uint8_t>(colours[i] >> 8);
  }
  return VariedPair{image_of(width, height, colours), map_of(width, height, bytes)};
}

// Parses from an exactly sized heap copy, so a read past the end is a
// sanitizer finding rather than a silent success.
template <class Record, Record* (*parse)(const uint8_t*, size_t), void (*destroy)(Record**)>
Decoded parse_exact(const std::vector<uint8_t>& data) {
  std::unique_ptr<uint8_t[]> copy(new uint8_t[data.size() + (data.empty() ? 1 : 0)]);
  std::copy(data.begin(), data.end(), copy.get());
  Record* record = parse(copy.get(), data.size());
  Decoded d = decoded(record);
  if (record != nullptr) destroy(&record);
  return d;
}

inline Decoded parse_image(const std::vector<uint8_t>& data) {
  return parse_exact<IMG, IMG_parse, IMG_destroy>(data);
}
inline Decoded parse_map(const std::vector<uint8_t>& data) {
  return parse_exact<BYTEMAP, BYTEMAP_parse, BYTEMAP_destroy>(data);
}

inline Decoded load_image(const std::string& path) {
  ImagePtr image(IMG_load(path.c_str()));
  return decoded(image.get());
}
inline Decoded load_map(const std::string& path) {
  BytemapPtr map(BYTEMAP_load(path.c_str()));
  return decoded(map.get());
}

}  // namespace formats_test
