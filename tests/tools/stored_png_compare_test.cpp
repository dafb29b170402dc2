// The picture assertion against a stored PNG, read through the PNG library.
#include <gtest/gtest.h>

#include "tests/support/frame_compare.h"
#include "tests/tools/render_program.h"
#include "tools/png/png_file.h"

namespace {

// Failure pictures of the deliberate failures below go to a scratch folder.
class StoredPngCompare : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = failure_folder();
    use_failure_folder(folder_.path().string());
  }
  void TearDown() override { use_failure_folder(saved_); }

  ScratchFolder folder_;
  std::string saved_;
};

TEST_F(StoredPngCompare, APngIsComparedPixelForPixel) {
  PIXELS pixels(6 * 4);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = 0x203040u + static_cast<uint32_t>(i) * 0x010203u;
  const std::string path = folder_.file("stored.png");
  ASSERT_TRUE(png_write_file(path, pixels.data(), 6, 4, 1));
  EXPECT_FRAME_MATCHES_FILE(FrameView(pixels, 6), path);

  pixels[2 * 6 + 5] = 0xFFFFFF;
  const ::testing::AssertionResult result =
      frame_matches_file("shown", "stored", FrameView(pixels, 6), path);
  ASSERT_FALSE(result);
  const std::string message = result.message();
  EXPECT_NE(message.find("differ in 1 of 24 pixels"), std::string::npos) << message;
  EXPECT_NE(message.find("the first at (5, 2): 0x00FFFFFF against 0x00"), std::string::npos)
      << message;
  EXPECT_NE(message.find("difference: " + folder_.path().string()), std::string::npos) << message;
}

TEST_F(StoredPngCompare, AnEnlargedPngHasItsOwnSize) {
  const PIXELS pixels(4, 0x123456);
  const std::string path = folder_.file("big.png");
  ASSERT_TRUE(png_write_file(path, pixels.data(), 2, 2, 2));
  const ::testing::AssertionResult result =
      frame_matches_file("shown", "stored", FrameView(pixels, 2), path);
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("shown is 2 x 2, stored (" + path + ") is 4 x 4"),
            std::string::npos)
      << result.message();
}

TEST_F(StoredPngCompare, AMissingOrDamagedPngFailsWithoutACrash) {
  const PIXELS pixels(4, 0x123456);
  EXPECT_FALSE(
      frame_matches_file("shown", "stored", FrameView(pixels, 2), folder_.file("none.png")));
  const std::string damaged = folder_.file("damaged.png");
  ASSERT_TRUE(png_write_file(damaged, pixels.data(), 2, 2, 1));
  std::filesystem::resize_file(damaged, 20);
  const ::testing::AssertionResult result =
      frame_matches_file("shown", "stored", FrameView(pixels, 2), damaged);
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("could not be read as a picture"), std::string::npos)
      << result.message();
}

}  // namespace
