// The P6 and P5 writers: the exact bytes, every refusal, write errors, and
// that whatever they write reads back the same.

#include <cstdlib>
#include <string>
#include <vector>

#include "formats_support.h"
#include "tests/support/frame_compare.h"

using namespace formats_test;

namespace {

class PnmWriteTest : public TempDirTest {};

TEST_F(PnmWriteTest, ImageSaveWritesP6WithRedGreenBlueAndNoTopByte) {
  ImagePtr image = image_of(3, 1, {0xFF0000, 0x0000FF, 0xAB102030});
  std::string file = path("out.ppm");
  ASSERT_EQ(IMG_save(image.get(), file.c_str()), 1);
  EXPECT_EQ(read_file(file),
            joined("P6\n3 1\n255\n", {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x10, 0x20, 0x30}));
}

TEST_F(PnmWriteTest, MapSaveWritesP5WithOneBytePerPixel) {
  BytemapPtr map = map_of(3, 2, {0, 7, 255, 1, 128, 10});
  std::string file = path("out.pgm");
  ASSERT_EQ(BYTEMAP_save(map.get(), file.c_str()), 1);
  EXPECT_EQ(read_file(file), joined("P5\n3 2\n255\n", {0, 7, 255, 1, 128, 10}));
}

TEST_F(PnmWriteTest, RefusedSavesReportAndReturn0) {
  ImagePtr image = image_of(2, 2, {1, 2, 3, 4});
  ImagePtr empty = image_of(0, 0, {});
  BytemapPtr map = map_of(2, 2, {1, 2, 3, 4});
  BytemapPtr empty_map = map_of(0, 5, {});
  std::string good = path("x.pnm");
  struct Case {
    const char* what;
    const IMG* image;
    const BYTEMAP* map;
    const char* path;
  };
  const Case cases[] = {
      {"null record", nullptr, nullptr, good.c_str()},
      {"null path", image.get(), map.get(), nullptr},
      {"no pixels", empty.get(), empty_map.get(), good.c_str()},
      {"directory that does not exist", image.get(), map.get(), "/nonexistent/formats/x.pnm"},
      {"write error on a full device", image.get(), map.get(), "/dev/full"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(printed_by(IMG_set_error_report,
                         [&] { EXPECT_EQ(IMG_save(c.image, c.path), 0) << c.what; }),
              "IMG error\n")
        << c.what;
    EXPECT_EQ(printed_by(BYTEMAP_set_error_report,
                         [&] { EXPECT_EQ(BYTEMAP_save(c.map, c.path), 0) << c.what; }),
              "BYTEMAP error\n")
        << c.what;
  }
  EXPECT_FALSE(std::filesystem::exists(good));
}

TEST_F(PnmWriteTest, ImageWithoutPixelBufferIsNotSaved) {
  ImagePtr image = image_of(2, 2, {1, 2, 3, 4});
  uint32_t* pixels = image->pixels;
  image->pixels = nullptr;
  EXPECT_EQ(IMG_save(image.get(), path("none.ppm").c_str()), 0);
  image->pixels = pixels;
}

TEST_F(PnmWriteTest, SavedFilesLoadBackUnchanged) {
  for (auto [width, height] : {std::pair{1, 1}, {13, 1}, {37, 5}, {300, 2}}) {
    auto [image, map] = varied_pair(width, height);

    std::string image_file = path("round.ppm");
    std::string map_file = path("round.pgm");
    ASSERT_EQ(IMG_save(image.get(), image_file.c_str()), 1);
    ASSERT_EQ(BYTEMAP_save(map.get(), map_file.c_str()), 1);

    ImagePtr loaded(IMG_load(image_file.c_str()));
    BytemapPtr loaded_map(BYTEMAP_load(map_file.c_str()));
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded_map, nullptr);
    EXPECT_FRAME_EQ(loaded, image) << width << "x" << height;
    EXPECT_EQ(BYTEMAP_equal(loaded_map.get(), map.get()), 1) << width << "x" << height;

    // The memory readers take the same files.
    std::vector<uint8_t> saved = read_file(image_file);
    ImagePtr parsed(IMG_parse(saved.data(), saved.size()));
    EXPECT_FRAME_EQ(parsed, image);
  }
}

}  // namespace
