// The frame timer on the capture back end's virtual clock: every sleep
// moves the clock by exactly what was asked, so the pacing is exact.
#include <gtest/gtest.h>

#include "platform/capture.h"
#include "platform/fps.h"

namespace {

class FpsTest : public testing::Test {
 protected:
  void SetUp() override {
    CAPTURE_reset();
    FPS_state = FPS{};
    FPS_state.target_rate = 50;
  }
  // One frame: drawing takes `drawing` ms, then the timer's tick and wait.
  // Returns the milliseconds slept.
  uint32_t frame(uint32_t drawing) {
    CAPTURE_advance(drawing);
    FPS_tick();
    uint32_t before = CAPTURE_milliseconds();
    FPS_wait();
    return CAPTURE_milliseconds() - before;
  }
};

TEST_F(FpsTest, TheFrameTimeFollowsTheTargetRate) {
  struct CASE {
    int32_t target;
    int32_t stored;
    int32_t frame_time;
  } cases[] = {{50, 50, 20000}, {0, 1, 1000000}, {-5, 1, 1000000}, {3000000, 3000000, 0}};
  for (const CASE& c : cases) {
    FPS_state.target_rate = c.target;
    FPS_tick();
    EXPECT_EQ(FPS_state.target_rate, c.stored) << c.target;
    EXPECT_EQ(FPS_state.frame_time, c.frame_time) << c.target;
  }
}

TEST_F(FpsTest, TwelveMillisecondFramesSettleAtAnEightMillisecondSleep) {
  FPS_tick();  // the clock's start: the next frame measures from here
  frame(12);
  EXPECT_EQ(FPS_state.elapsed, 12000);
  EXPECT_EQ(FPS_state.delay_budget, 8000);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(frame(12), 8u);
    EXPECT_EQ(FPS_state.elapsed, 20000);
    EXPECT_EQ(FPS_state.delay_budget, 8000);
  }
}

TEST_F(FpsTest, ALongFrameDrainsTheBudgetWithoutGoingBelowZero) {
  FPS_tick();
  frame(12);
  frame(12);
  ASSERT_EQ(FPS_state.delay_budget, 8000);
  int32_t sleeps = CAPTURE_sleeps();
  EXPECT_EQ(frame(45), 0u);  // elapsed 8 + 45 = 53 ms: 8000 - 33000 < 0
  EXPECT_EQ(FPS_state.delay_budget, 0);
  EXPECT_EQ(CAPTURE_sleeps(), sleeps) << "a budget of 0 does not sleep at all";
}

TEST_F(FpsTest, SubMillisecondBudgetsStillCallTheSleep) {
  frame(0);
  FPS_state.delay_budget = 0;
  FPS_state.previous = static_cast<int32_t>(FPS_now()) - 19500;  // a frame of 19.5 ms
  FPS_tick();
  int32_t sleeps = CAPTURE_sleeps();
  uint32_t before = CAPTURE_milliseconds();
  FPS_wait();
  EXPECT_EQ(FPS_state.delay_budget, 500);
  EXPECT_EQ(CAPTURE_sleeps(), sleeps + 1);
  EXPECT_EQ(CAPTURE_milliseconds(), before) << "0 ms slept";
}

TEST_F(FpsTest, AZeroFrameTimeNeverSleeps) {
  FPS_state.target_rate = 2000000;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(frame(1), 0u);
  EXPECT_EQ(FPS_state.delay_budget, 0);
  EXPECT_EQ(CAPTURE_sleeps(), 0);
}

TEST_F(FpsTest, PacedFramesComeExactlyTwentyMillisecondsApart) {
  frame(0);
  uint32_t last = CAPTURE_milliseconds();
  for (int i = 0; i < 200; ++i) {
    frame(0);
    EXPECT_EQ(CAPTURE_milliseconds() - last, 20u) << "frame " << i;
    last = CAPTURE_milliseconds();
  }
}

TEST_F(FpsTest, TheRateIsTheCountOfTheLastFullSecond) {
  EXPECT_EQ(FPS_tick(), 0);
  EXPECT_EQ(FPS_state.counter, 1);
  // 20 ms frames: the window passes 999999 us on the 50th tick after it began.
  for (int i = 0; i < 49; ++i) {
    CAPTURE_advance(20);
    EXPECT_EQ(FPS_tick(), 0) << i;
  }
  CAPTURE_advance(20);
  EXPECT_EQ(FPS_tick(), 50);
  EXPECT_EQ(FPS_state.frame_rate, 50);
  EXPECT_EQ(FPS_state.counter, 1);
  EXPECT_EQ(FPS_state.window, 0) << "the part beyond one second is dropped";
}

TEST_F(FpsTest, AFirstTickLateAfterStartOpensANewWindowAtRateZero) {
  CAPTURE_advance(1500);
  FPS_state.counter = 7;
  EXPECT_EQ(FPS_tick(), 7) << "the counter of the window that just closed";
  FPS_state = FPS{};
  CAPTURE_advance(1500);
  EXPECT_EQ(FPS_tick(), 0);
  EXPECT_EQ(FPS_state.counter, 1);
}

TEST_F(FpsTest, ElapsedTimeIsRightAcrossTheClocksWrap) {
  // 4294967 ms is the last whole millisecond before the microsecond clock wraps.
  CAPTURE_advance(4294967 - 10);
  FPS_tick();
  CAPTURE_advance(20);
  EXPECT_LT(FPS_now(), 100000u) << "wrapped";
  FPS_tick();
  EXPECT_EQ(FPS_state.elapsed, 20000);
}

}  // namespace
