// One frame that takes two seconds, as when the machine stalls: the frame
// timer forgets the lost time instead of racing to make it up, and the sound
// queue, drained meanwhile, is topped up again within a few frames.
#include <gtest/gtest.h>

#include "containers/array.h"
#include "imaging/img.h"
#include "platform/capture.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

namespace {

constexpr uint32_t stall_milliseconds = 2000;
constexpr uint32_t frame_milliseconds = 20;
constexpr int32_t queue_depth = 4;
constexpr int32_t steady_frames = 50;
constexpr int32_t frames_to_refill = 3;

int32_t queued() { return QUOMBRAX_state.audio->queue->length; }

class StallTest : public testing::Test {
 protected:
  void SetUp() override {
    CAPTURE_reset();
    QUOMBRAX_start_up();
  }
  void TearDown() override { QUOMBRAX_release_all(); }
};

TEST_F(StallTest, ATwoSecondFrameEmptiesTheBudgetAndPacingAndSoundRecover) {
  ASSERT_NE(QUOMBRAX_state.audio, nullptr);
  for (int32_t frame = 0; frame < steady_frames; ++frame) QUOMBRAX_end_frame();
  ASSERT_EQ(queued(), queue_depth);
  ASSERT_EQ(FPS_state.delay_budget, 20000) << "a capture frame draws in no time";

  // The stalled frame: its drawing takes two seconds.
  CAPTURE_advance(stall_milliseconds);
  const uint32_t stalled_at = CAPTURE_milliseconds();
  const int32_t sleeps = CAPTURE_sleeps();
  QUOMBRAX_end_frame();
  EXPECT_EQ(FPS_state.delay_budget, 0);
  EXPECT_EQ(CAPTURE_sleeps(), sleeps) << "the stalled frame does not sleep";
  EXPECT_EQ(CAPTURE_milliseconds(), stalled_at) << "nor is the lost time made up";
  EXPECT_LT(queued(), queue_depth) << "two seconds of sound were played meanwhile";

  int32_t refilled_after = -1;
  uint32_t previous = CAPTURE_milliseconds();
  for (int32_t frame = 1; frame <= steady_frames; ++frame) {
    QUOMBRAX_end_frame();
    const uint32_t now = CAPTURE_milliseconds();
    EXPECT_EQ(now - previous, frame_milliseconds) << "paced again, frame " << frame;
    previous = now;
    if (refilled_after < 0 && queued() == queue_depth) refilled_after = frame;
    if (refilled_after > 0) {
      EXPECT_EQ(queued(), queue_depth) << "stays full, frame " << frame;
    }
  }
  EXPECT_GT(refilled_after, 0);
  EXPECT_LE(refilled_after, frames_to_refill);
  EXPECT_EQ(FPS_state.delay_budget, 20000);
}

}  // namespace
