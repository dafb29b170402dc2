#include "platform/frame_costs.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int fade_presents = 32;

// Plays the calls a back end sees from the show through the ledger and keeps
// every drawing time it reports.
class FrameCostsTest : public ::testing::Test {
 protected:
  void SetUp() override { FRAME_COSTS_reset(&costs); }

  void fade() {
    for (int i = 0; i < fade_presents; ++i) FRAME_COSTS_present(&costs);
  }

  // Drawing, then the end of the frame: tick, present, key poll.
  void frame(double drawing) {
    clock += drawing;
    FRAME_COST cost{};
    if (FRAME_COSTS_tick(&costs, clock, &cost)) measured.push_back(cost);
    clock += 5;  // the timer's sleep
    FRAME_COSTS_present(&costs);
    clock += 1;
    FRAME_COSTS_poll_done(&costs, clock);
  }

  FRAME_COSTS costs{};
  double clock = 100;
  std::vector<FRAME_COST> measured;
};

TEST_F(FrameCostsTest, EachFadeOpensTheNextSceneRun) {
  fade();
  frame(3);
  frame(4);
  frame(2);
  fade();
  frame(7);
  frame(9);
  frame(8);
  ASSERT_EQ(measured.size(), 4u);
  EXPECT_EQ(measured[0].scene_run, 1);
  EXPECT_DOUBLE_EQ(measured[0].milliseconds, 4);
  EXPECT_EQ(measured[1].scene_run, 1);
  EXPECT_DOUBLE_EQ(measured[1].milliseconds, 2);
  EXPECT_EQ(measured[2].scene_run, 2);
  EXPECT_DOUBLE_EQ(measured[2].milliseconds, 9);
  EXPECT_EQ(measured[3].scene_run, 2);
  EXPECT_DOUBLE_EQ(measured[3].milliseconds, 8);
}

// The first frame of a run follows a fade and the scene's preparation, and
// the first frame of all follows no poll: neither is a drawing time.
TEST_F(FrameCostsTest, FramesAfterAFadeAreNotCounted) {
  fade();
  frame(50);
  EXPECT_TRUE(measured.empty());
  frame(3);
  fade();
  frame(60);
  ASSERT_EQ(measured.size(), 1u);
  EXPECT_DOUBLE_EQ(measured[0].milliseconds, 3);
}

TEST_F(FrameCostsTest, ResetForgetsEverything) {
  fade();
  frame(1);
  fade();
  FRAME_COSTS_reset(&costs);
  fade();
  frame(1);
  frame(2);
  ASSERT_EQ(measured.size(), 1u);
  EXPECT_EQ(measured[0].scene_run, 1);
}

}  // namespace
