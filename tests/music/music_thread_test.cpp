// The music feed against the real SDL back end, whose callback drains the
// queue and reads the loop on SDL's own audio thread. Built with
// ThreadSanitizer (tools/tsan-test.sh) this is the race check; in an ordinary
// build it also measures how long a mixing holds the device lock.
//
// Only the feed is compiled in, not the rest of the show: racing the audio
// thread needs no pictures or scenes, and building them all under
// ThreadSanitizer would take minutes. This file therefore owns the show state
// the feed reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "containers/array.h"
#include "music/music.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

QUOMBRAX_STATE QUOMBRAX_state = {};
// Every program names its video flags; this one never opens a screen.
const uint32_t SDLDPY_program_video_flags = SDLDPY_window_flags;

namespace {

using Clock = std::chrono::steady_clock;

// SDL's dummy drivers: the dummy audio device calls back on its own thread
// at the real rate, with no sound card needed.
void use_dummy_devices() {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
}

int32_t queued_entries(SDLDPY_AUDIO* audio) {
  SDLDPY_audio_lock(audio);
  const int32_t entries = audio->queue->length;
  SDLDPY_audio_unlock(audio);
  return entries;
}

class MusicThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    use_dummy_devices();
    QUOMBRAX_state.audio = SDLDPY_audio_open();
    std::srand(QUOMBRAX_seed);
    QUOMBRAX_set_up_music();
  }

  void TearDown() override {
    if (QUOMBRAX_state.audio != nullptr) {
      SDLDPY_audio_close(&QUOMBRAX_state.audio);
    }
    // Only once nothing plays the loop any more.
    MUSIC_destroy(&QUOMBRAX_state.music);
    MUSIC_set_loop_guard(nullptr, nullptr, nullptr);
  }
};

TEST_F(MusicThreadTest, FeedingWhileTheDevicePlaysIsRaceFree) {
  ASSERT_NE(QUOMBRAX_state.audio, nullptr);
  ASSERT_NE(QUOMBRAX_state.music, nullptr);
  // A mixing every 20 calls instead of every 300 rewrites the loop dozens
  // of times while it plays.
  QUOMBRAX_state.music->period = 20;
  int32_t refills = 0;
  bool was_full = false;
  // A few seconds of racing; on a starved machine, on until the device has
  // played through at least one entry.
  const Clock::time_point start = Clock::now();
  const Clock::time_point enough = start + std::chrono::milliseconds(2500);
  const Clock::time_point give_up = start + std::chrono::seconds(30);
  while ((Clock::now() < enough || refills == 0) && Clock::now() < give_up) {
    const int32_t before = queued_entries(QUOMBRAX_state.audio);
    refills += was_full && before < 4 ? 1 : 0;
    was_full = before == 4;
    QUOMBRAX_feed_music();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  // The device did play: it dropped entries that the feed then replaced.
  EXPECT_GE(refills, 1);
  EXPECT_LE(queued_entries(QUOMBRAX_state.audio), 4);
}

// Timing the copy the guard protects, with the same lock calls the feed's
// guard makes. Printed, not asserted: timings depend on the machine.
struct HoldTimes {
  SDLDPY_AUDIO* audio = nullptr;
  Clock::time_point taken;
  Clock::duration longest = Clock::duration::zero();
  Clock::duration total = Clock::duration::zero();
  int32_t holds = 0;
};

void timed_lock(void* context) {
  auto* times = static_cast<HoldTimes*>(context);
  SDLDPY_audio_lock(times->audio);
  times->taken = Clock::now();
}

void timed_unlock(void* context) {
  auto* times = static_cast<HoldTimes*>(context);
  const Clock::duration held = Clock::now() - times->taken;
  SDLDPY_audio_unlock(times->audio);
  times->total += held;
  times->longest = std::max(times->longest, held);
  times->holds += 1;
}

TEST_F(MusicThreadTest, AMixingHoldsTheDeviceLockOnceForOneCopy) {
  ASSERT_NE(QUOMBRAX_state.audio, nullptr);
  HoldTimes times;
  times.audio = QUOMBRAX_state.audio;
  MUSIC_set_loop_guard(timed_lock, timed_unlock, &times);
  const int32_t mixings = 200;
  QUOMBRAX_state.music->period = 1;
  const Clock::time_point start = Clock::now();
  for (int32_t i = 0; i < mixings; ++i) {
    MUSIC_step(QUOMBRAX_state.music);
  }
  const Clock::duration mixing = Clock::now() - start;
  EXPECT_EQ(times.holds, mixings);
  const auto microseconds = [](Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
  };
  std::printf(
      "device lock held per mixing: mean %.1f us, longest %.1f us over %d mixings"
      " (a whole mixing: mean %.1f us)\n",
      microseconds(times.total) / times.holds, microseconds(times.longest), times.holds,
      microseconds(mixing) / mixings);
}

}  // namespace
