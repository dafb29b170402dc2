#pragma once

// One assertion for pictures: two images, a frame's pixels, or a stored
// picture file. A failure says what differs (the sizes, or how many pixels
// and the first differing (x, y) with both values) and writes the actual,
// expected and difference pictures into the failure folder, naming them in
// the message:
//   EXPECT_FRAME_EQ(screen, expected.get());
//   EXPECT_FRAME_EQ(FrameView(kept[0], 256), FrameView(expected, 256));
//   EXPECT_FRAME_MATCHES_FILE(screen, "tests/show/data/title.ppm");

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "imaging/img.h"
#include "tests/support/handles.h"
#include "tests/support/pixels.h"
#include "tests/support/scratch_folder.h"

// A picture to compare, borrowed: an image, or row-major pixels and a width.
struct FrameView {
  int32_t width = 0;
  int32_t height = 0;
  const uint32_t* pixels = nullptr;
  bool is_picture = false;  // false for no image, or one without its pixels

  FrameView(const IMG* image);       // NOLINT: an image is a picture as it is
  FrameView(const ImagePtr& image);  // NOLINT
  FrameView(const PIXELS& pixels, int32_t width);
};

// The predicate-formatters behind the macros.
::testing::AssertionResult frames_equal(const char* actual_expr, const char* expected_expr,
                                        const FrameView& actual, const FrameView& expected);
::testing::AssertionResult frame_matches_file(const char* actual_expr, const char* path_expr,
                                              const FrameView& actual, const std::string& path);

#define EXPECT_FRAME_EQ(actual, expected) EXPECT_PRED_FORMAT2(frames_equal, actual, expected)
#define ASSERT_FRAME_EQ(actual, expected) ASSERT_PRED_FORMAT2(frames_equal, actual, expected)
#define EXPECT_FRAME_MATCHES_FILE(actual, path) \
  EXPECT_PRED_FORMAT2(frame_matches_file, actual, path)
#define ASSERT_FRAME_MATCHES_FILE(actual, path) \
  ASSERT_PRED_FORMAT2(frame_matches_file, actual, path)

// A stored expected picture, or null when it cannot be read. The one place
// that reads them, so another file form only needs adding here.
ImagePtr load_expected_picture(const std::string& path);

// Where failing comparisons write their pictures: the build tree's
// test-failures/ folder unless a test chose another.
const std::string& failure_folder();
void use_failure_folder(const std::string& folder);

// For tests of failing comparisons: the pictures go to a scratch folder of
// the test's own, and the build tree's folder is chosen again afterwards.
class OwnFailureFolder : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.made());
    saved_ = failure_folder();
    use_failure_folder(scratch_.path().string());
  }
  void TearDown() override { use_failure_folder(saved_); }

  ScratchFolder scratch_;

 private:
  std::string saved_;
};
