// Start-up on a machine that cannot give the show a screen: one line on
// standard error and status 1, instead of a show that runs on unseen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/img.h"
#include "platform/capture.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

namespace {

class StartUpFailureTest : public testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CAPTURE_reset();
    FPS_state = FPS{};
    QUOMBRAX_state = QUOMBRAX_STATE{};
  }
};

TEST_F(StartUpFailureTest, NoVideoModeEndsStartUpWithOneLineAndStatusOne) {
  CAPTURE_set_screen_available(0);
  EXPECT_EXIT(
      {
        QUOMBRAX_start_up();
        std::exit(5);
      },
      testing::ExitedWithCode(1),
      "^quombrax: cannot open the screen: no video mode of that size could be had\n$");
}

TEST_F(StartUpFailureTest, WithAScreenStartUpGoesOnAndQuitsWithStatusZero) {
  EXPECT_EXIT(
      {
        QUOMBRAX_start_up();
        QUOMBRAX_handle_key('q');
        std::exit(5);
      },
      testing::ExitedWithCode(0), "^$");
}

TEST_F(StartUpFailureTest, AFailedModeChangeLeavesTheDisplayWithoutAScreen) {
  SDLDPY* display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(SDLDPY_screen_is_open(display), 1);
  CAPTURE_set_screen_available(0);
  SDLDPY_set_mode(display, 320, 200);
  EXPECT_EQ(SDLDPY_screen_is_open(display), 0);
  EXPECT_EQ(display->width, 256) << "the record keeps its old size";
  CAPTURE_set_screen_available(1);
  SDLDPY_set_mode(display, 320, 200);
  EXPECT_EQ(SDLDPY_screen_is_open(display), 1);
  EXPECT_EQ(SDLDPY_screen_is_open(nullptr), 0);
  SDLDPY_destroy(&display);
}

}  // namespace
