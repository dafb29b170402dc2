// The picture assertion itself: it passes on equal pictures, and a failure
// names the right pixel and leaves the three pictures where it says.
#include "tests/support/frame_compare.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

ImagePtr painted(int32_t width, int32_t height, uint32_t base) {
  ImagePtr image(IMG_create());
  IMG_resize(image.get(), width, height);
  for (int32_t i = 0; i < width * height; ++i) image->pixels[i] = base + static_cast<uint32_t>(i);
  return image;
}

// The paths a failure message lists, in its order: actual, expected, difference.
std::vector<std::string> listed_paths(const std::string& message) {
  std::vector<std::string> paths;
  for (const char* what : {"actual: ", "expected: ", "difference: "}) {
    const size_t at = message.find(what);
    if (at == std::string::npos) {
      paths.emplace_back();
      continue;
    }
    const size_t start = at + std::string(what).size();
    paths.push_back(message.substr(start, message.find('\n', start) - start));
  }
  return paths;
}

using FrameCompare = OwnFailureFolder;

TEST_F(FrameCompare, EqualPicturesPassAndWriteNothing) {
  ImagePtr a = painted(5, 3, 0x102030);
  ImagePtr b = painted(5, 3, 0x102030);
  EXPECT_FRAME_EQ(a, b);
  EXPECT_TRUE(frames_equal("a", "b", a.get(), b.get()));
  const PIXELS pixels = pixels_of(a.get());
  EXPECT_FRAME_EQ(FrameView(pixels, 5), b);
  EXPECT_EQ(scratch_.files(), 0u);
}

TEST_F(FrameCompare, ADifferenceNamesItsCountTheFirstPixelAndBothValues) {
  ImagePtr expected = painted(6, 4, 0x000100);
  ImagePtr actual = painted(6, 4, 0x000100);
  actual->pixels[2 * 6 + 3] = 0xABCDEF;  // (3, 2) first in row order
  actual->pixels[3 * 6 + 1] = 0x123456;
  const ::testing::AssertionResult result =
      frames_equal("screen", "wanted", actual.get(), expected.get());
  ASSERT_FALSE(result);
  const std::string message = result.message();
  EXPECT_NE(message.find("screen and wanted differ in 2 of 24 pixels (6 x 4)"), std::string::npos)
      << message;
  EXPECT_NE(message.find("the first at (3, 2): 0x00ABCDEF against 0x0000010F"), std::string::npos)
      << message;
}

TEST_F(FrameCompare, AFailureWritesActualExpectedAndDifferenceAndListsThem) {
  ImagePtr expected = painted(4, 4, 0x404040);
  ImagePtr actual = painted(4, 4, 0x404040);
  actual->pixels[1 * 4 + 2] = 0;
  const ::testing::AssertionResult result = frames_equal("a", "b", actual.get(), expected.get());
  ASSERT_FALSE(result);
  const std::vector<std::string> paths = listed_paths(result.message());
  EXPECT_EQ(scratch_.files(), 3u);
  const ImagePtr read_actual = load_expected_picture(paths[0]);
  const ImagePtr read_expected = load_expected_picture(paths[1]);
  const ImagePtr difference = load_expected_picture(paths[2]);
  ASSERT_NE(read_actual, nullptr) << paths[0];
  ASSERT_NE(read_expected, nullptr) << paths[1];
  ASSERT_NE(difference, nullptr) << paths[2];
  EXPECT_EQ(std::filesystem::path(paths[0]).parent_path(), scratch_.path());
  EXPECT_FRAME_EQ(read_actual, actual);
  EXPECT_FRAME_EQ(read_expected, expected);
  for (int32_t i = 0; i < 16; ++i) {
    const bool differs = i == 1 * 4 + 2;
    EXPECT_EQ(difference->pixels[i] == 0xFF0000u, differs) << "pixel " << i;
  }
}

TEST_F(FrameCompare, DifferentSizesAreReportedAsSizes) {
  ImagePtr wide = painted(8, 2, 1);
  ImagePtr square = painted(4, 4, 1);
  const ::testing::AssertionResult result =
      frames_equal("wide", "square", wide.get(), square.get());
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("wide is 8 x 2, square is 4 x 4"), std::string::npos)
      << result.message();
  const ImagePtr difference = load_expected_picture(listed_paths(result.message())[2]);
  ASSERT_NE(difference, nullptr);
  EXPECT_EQ(difference->width, 8);
  EXPECT_EQ(difference->height, 4);
  EXPECT_EQ(difference->pixels[7], 0xFF0000u) << "only one picture reaches (7, 0)";
}

TEST_F(FrameCompare, NoPictureIsAFailureNotACrash) {
  ImagePtr image = painted(2, 2, 1);
  EXPECT_FALSE(frames_equal("none", "image", nullptr, image.get()));
  EXPECT_FALSE(frames_equal("image", "none", image.get(), nullptr));
  IMG bufferless = {0, 2, 2, nullptr};
  EXPECT_FALSE(frames_equal("bufferless", "image", &bufferless, image.get()));
  const PIXELS five(5, 1u);
  EXPECT_FALSE(frames_equal("five", "image", FrameView(five, 2), image.get())) << "not whole rows";
}

TEST_F(FrameCompare, EmptyPicturesAreEqual) {
  const IMG empty = {0, 0, 0, nullptr};
  const IMG other = {0, 0, 0, nullptr};
  EXPECT_FRAME_EQ(&empty, &other);
  EXPECT_FRAME_EQ(FrameView(PIXELS{}, 0), &empty);
  const IMG no_rows = {0, 4, 0, nullptr};
  EXPECT_FRAME_EQ(FrameView(PIXELS{}, 4), &no_rows);
  EXPECT_FALSE(frames_equal("no rows", "empty", FrameView(PIXELS{}, 4), &empty));
}

TEST_F(FrameCompare, AStoredPictureIsReadWithOurOwnReader) {
  ImagePtr stored = painted(3, 5, 0x0A0B0C);
  const std::string path = scratch_.file("stored.ppm");
  ASSERT_EQ(IMG_save(stored.get(), path.c_str()), 1);
  EXPECT_FRAME_MATCHES_FILE(stored, path);

  stored->pixels[4] ^= 0x010000;
  const ::testing::AssertionResult result = frame_matches_file("shown", "path", stored.get(), path);
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("first at (1, 1)"), std::string::npos)
      << result.message();
  EXPECT_FALSE(frame_matches_file("shown", "path", stored.get(), scratch_.file("missing.ppm")));
}

}  // namespace
