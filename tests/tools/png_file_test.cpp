#include "tools/png/png_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// A picture whose every pixel differs from its neighbours in all three
// channels, with the top byte set to show that it is ignored.
std::vector<uint32_t> varied_pixels(int32_t width, int32_t height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = 0xAB000000u | static_cast<uint32_t>(i * 2654435761u) >> 8;
  }
  return pixels;
}

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PngFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(::testing::TempDir()) /
              ("png_file_test_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const char* name) const { return (folder_ / name).string(); }
  size_t entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  fs::path folder_;
};

// Files made by other programs come in other colour types and depths.
TEST_F(PngFileTest, GreyAndAlphaFilesReadAsRgb) {
  // Written by libpng's own simple interface, not by ours.
  const auto write = [&](const char* name, uint32_t width, uint32_t height, uint32_t format,
                         const uint8_t* bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    return png_image_write_to_file(&image, path(name).c_str(), 0, bytes, 0, nullptr) != 0;
  };
  const uint8_t grey[] = {0x00, 0x10, 0xF0, 0xFF};
  ASSERT_TRUE(write("grey.png", 2, 2, PNG_FORMAT_GRAY, grey));
  const uint8_t rgba[] = {0x12, 0x34, 0x56, 0x00, 0xFE, 0xDC, 0xBA, 0x80};
  ASSERT_TRUE(write("rgba.png", 2, 1, PNG_FORMAT_RGBA, rgba));
  PNG_PICTURE picture;
  ASSERT_TRUE(png_read_file(path("grey.png"), &picture));
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x000000, 0x101010, 0xF0F0F0, 0xFFFFFF}));
  ASSERT_TRUE(png_read_file(path("rgba.png"), &picture));
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x123456, 0xFEDCBA}));
}

// Read back, each pixel is a `scale` x `scale` block of its own colour, the
// top byte dropped.
TEST_F(PngFileTest, PixelsReadBackEnlargedWithoutTheTopByte) {
  struct Case {
    int32_t width, height, scale;
  };
  for (const Case& c : {Case{7, 5, 1}, Case{4, 3, 3}}) {
    SCOPED_TRACE(c.scale);
    const auto pixels = varied_pixels(c.width, c.height);
    ASSERT_TRUE(png_write_file(path("a.png"), pixels.data(), c.width, c.height, c.scale));
    PNG_PICTURE picture;
    ASSERT_TRUE(png_read_file(path("a.png"), &picture));
    const int32_t width = c.width * c.scale;
    ASSERT_EQ(picture.width, width);
    ASSERT_EQ(picture.height, c.height * c.scale);
    for (int32_t y = 0; y < picture.height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        ASSERT_EQ(picture.pixels[static_cast<size_t>(y) * width + x],
                  pixels[static_cast<size_t>(y / c.scale) * c.width + x / c.scale] & 0xFFFFFFu)
            << "at " << x << "," << y;
      }
    }
    EXPECT_EQ(entries(), 1u) << "no temporary file is left beside the picture";
  }
}

TEST_F(PngFileTest, SamePicturesGiveSameBytes) {
  const auto pixels = varied_pixels(16, 16);
  ASSERT_TRUE(png_write_file(path("one.png"), pixels.data(), 16, 16, 2));
  ASSERT_TRUE(png_write_file(path("two.png"), pixels.data(), 16, 16, 2));
  const std::string one = file_bytes(path("one.png"));
  EXPECT_GT(one.size(), 8u);
  EXPECT_EQ(one, file_bytes(path("two.png")));
}

TEST_F(PngFileTest, RewritingReplacesTheOldFileWhole) {
  const auto first = varied_pixels(8, 8);
  const std::vector<uint32_t> second(4, 0x123456u);
  ASSERT_TRUE(png_write_file(path("p.png"), first.data(), 8, 8, 1));
  ASSERT_TRUE(png_write_file(path("p.png"), second.data(), 2, 2, 1));
  PNG_PICTURE picture;
  ASSERT_TRUE(png_read_file(path("p.png"), &picture));
  EXPECT_EQ(picture.width, 2);
  EXPECT_EQ(picture.pixels, second);
}

TEST_F(PngFileTest, UnwritablePlacesFailAndLeaveNothing) {
  const auto pixels = varied_pixels(4, 4);
  std::string error;
  EXPECT_FALSE(png_write_file(path("missing/a.png"), pixels.data(), 4, 4, 1, &error));
  EXPECT_NE(error.find("missing/a.png"), std::string::npos) << error;
  EXPECT_EQ(entries(), 0u);
  error.clear();
  EXPECT_FALSE(png_write_file("/dev/full", pixels.data(), 4, 4, 1, &error));
  EXPECT_NE(error.find("/dev/full"), std::string::npos) << error;
}

TEST_F(PngFileTest, SizesThatMakeNoPictureAreRefused) {
  const auto pixels = varied_pixels(4, 4);
  struct Case {
    int32_t width, height, scale;
  };
  for (const Case& c :
       {Case{0, 4, 1}, Case{4, -1, 1}, Case{4, 4, 0}, Case{4, 4, -2}, Case{4, 4, PNG_max_side}}) {
    std::string error;
    EXPECT_FALSE(png_write_file(path("a.png"), pixels.data(), c.width, c.height, c.scale, &error))
        << c.width << "x" << c.height << " x" << c.scale;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_FALSE(png_write_file(path("a.png"), nullptr, 4, 4, 1));
  EXPECT_EQ(entries(), 0u);
}

TEST_F(PngFileTest, MissingDamagedAndForeignFilesAreNotRead) {
  const auto pixels = varied_pixels(32, 32);
  ASSERT_TRUE(png_write_file(path("whole.png"), pixels.data(), 32, 32, 1));
  const std::string whole = file_bytes(path("whole.png"));
  std::ofstream(path("cut.png"), std::ios::binary) << whole.substr(0, whole.size() / 2);
  std::string flipped = whole;
  flipped[whole.size() / 2] = static_cast<char>(flipped[whole.size() / 2] ^ 0x40);
  std::ofstream(path("flipped.png"), std::ios::binary) << flipped;
  std::ofstream(path("text.png"), std::ios::binary) << "P6\n1 1\n255\nabc";
  for (const char* name : {"absent.png", "cut.png", "flipped.png", "text.png"}) {
    PNG_PICTURE picture;
    picture.width = 99;
    std::string error;
    EXPECT_FALSE(png_read_file(path(name), &picture, &error)) << name;
    EXPECT_EQ(picture.width, 99) << name << ": left unchanged";
    EXPECT_NE(error.find(name), std::string::npos) << error;
  }
}

}  // namespace
