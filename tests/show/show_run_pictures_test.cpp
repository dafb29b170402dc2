// Whole runs bring back the pixels of the frames asked for, and two runs
// that differ are compared picture against picture at their first
// differing frame.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/frame_compare.h"
#include "tests/support/show_runner.h"

namespace {

constexpr int32_t side = 256;
constexpr int32_t eight_after = 40;
constexpr int32_t quit_after = 60;

SHOW_OPTIONS plain_run() {
  SHOW_OPTIONS options;
  show_press(options, quit_after, 'q');
  return options;
}

// The frame-rate text over every frame after `eight_after`.
SHOW_OPTIONS run_with_eight() {
  SHOW_OPTIONS options;
  show_press(options, eight_after, '8');
  show_press(options, quit_after, 'q');
  return options;
}

TEST(ShowRunPictures, TheFramesAskedForComeBackAsTheyWerePresented) {
  SHOW_OPTIONS options = plain_run();
  options.pictures = {1, 45};
  const SHOW_RUN run = run_show(options);
  ASSERT_TRUE(run.exited);
  ASSERT_EQ(run.pictures.size(), 2u);
  for (size_t i = 0; i < run.pictures.size(); ++i) {
    const SHOW_PICTURE& picture = run.pictures[i];
    EXPECT_EQ(picture.number, options.pictures[i]);
    EXPECT_EQ(picture.width, side);
    EXPECT_EQ(picture.height, side);
    ASSERT_EQ(picture.pixels.size(), static_cast<size_t>(side * side));
    EXPECT_EQ(frame_hash(picture.pixels), run.frames[picture.number - 1].hash)
        << "frame " << picture.number;
  }
  EXPECT_TRUE(run_show(plain_run()).pictures.empty()) << "none unless asked for";
}

using SameFrames = OwnFailureFolder;

TEST_F(SameFrames, TheSameScriptPasses) {
  EXPECT_SAME_FRAMES(run_show(plain_run()), run_show(plain_run()));
}

TEST_F(SameFrames, ADifferenceNamesTheFirstDifferingFrameAndWritesIt) {
  const SHOW_RUN plain = run_show(plain_run());
  const SHOW_RUN eight = run_show(run_with_eight());
  const ::testing::AssertionResult result = same_frames("eight", "plain", eight, plain);
  ASSERT_FALSE(result);
  const std::string message = result.message();
  const std::string frame = std::to_string(eight_after + 1);
  EXPECT_NE(message.find("they differ first at frame " + frame), std::string::npos) << message;
  EXPECT_NE(message.find("eight frame " + frame + " and plain frame " + frame + " differ in"),
            std::string::npos)
      << message;
  EXPECT_EQ(scratch_.files(), 3u) << "actual, expected and difference";
}

TEST_F(SameFrames, RunsOfDifferentLengthsDiffer) {
  SHOW_OPTIONS longer;
  show_press(longer, quit_after + 10, 'q');
  const ::testing::AssertionResult result =
      same_frames("longer", "plain", run_show(longer), run_show(plain_run()));
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("the first"), std::string::npos) << result.message();
}

}  // namespace
