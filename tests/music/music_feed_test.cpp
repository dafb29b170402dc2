#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "containers/array.h"
#include "music/music.h"
#include "platform/capture.h"
#include "platform/sdldpy.h"
#include "show/assets/instruments.h"
#include "show/quombrax.h"
#include "tests/music/placement.h"

namespace {

constexpr uint32_t frame_milliseconds = 20;

void collect_sound(void* context, const uint8_t* bytes, int32_t length) {
  auto* sound = static_cast<std::vector<uint8_t>*>(context);
  sound->insert(sound->end(), bytes, bytes + length);
}

// The sound the device must have played: `loop` end to end, again and again,
// as 16-bit little-endian units.
std::vector<uint8_t> loop_played(const SAMPLE* loop, size_t byte_count) {
  std::vector<uint8_t> bytes(byte_count);
  for (size_t i = 0; i + 1 < byte_count; i += 2) {
    const int32_t value = loop->values[(i / 2) % static_cast<size_t>(loop->length)];
    bytes[i] = static_cast<uint8_t>(value & 0xFF);
    bytes[i + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
  }
  return bytes;
}

int32_t queue_length(const SDLDPY_AUDIO* audio) {
  return audio->queue != nullptr ? audio->queue->length : 0;
}

// The show state's sound fields around each test, on the capture back end.
class MusicFeedTest : public ::testing::Test {
 protected:
  std::vector<uint8_t> sound;

  void SetUp() override {
    CAPTURE_reset();
    CAPTURE_on_sound(collect_sound, &sound);
    QUOMBRAX_state.audio = nullptr;
    QUOMBRAX_state.music = nullptr;
  }

  void TearDown() override {
    if (QUOMBRAX_state.audio != nullptr) {
      SDLDPY_audio_close(&QUOMBRAX_state.audio);
    }
    // Safe although the show never does it: the compiled-in instruments
    // are borrowed, so only the generator's own parts are freed.
    if (QUOMBRAX_state.music != nullptr) {
      MUSIC_destroy(&QUOMBRAX_state.music);
    }
    MUSIC_set_loop_guard(nullptr, nullptr, nullptr);
    CAPTURE_reset();
  }

  // One frame as the show ends it: the feed after the present, then the
  // time until the next frame, during which the device plays.
  void run_frame() {
    QUOMBRAX_feed_music();
    CAPTURE_advance(frame_milliseconds);
  }
};

TEST_F(MusicFeedTest, SetUpHandsTheGeneratorTheInstrumentTableInOrder) {
  QUOMBRAX_set_up_music();
  const MUSIC* music = QUOMBRAX_state.music;
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->countdown, 0);
  ASSERT_EQ(music->instruments->length, instrument_count);
  for (int32_t i = 0; i < instrument_count; ++i) {
    EXPECT_EQ(ARRAY_get(music->instruments, i), &instrument_table[i]) << "record " << i;
  }
}

TEST_F(MusicFeedTest, TheFirstMixingPlacesTheInstrumentTheSeedsDrawsChoose) {
  const Placement at = placement_from_seed(QUOMBRAX_seed, instrument_count, music_loop_length);
  std::srand(QUOMBRAX_seed);
  QUOMBRAX_set_up_music();
  QUOMBRAX_feed_music();

  const SAMPLE& instrument = instrument_table[at.pick];
  ASSERT_EQ(instrument.length, instrument_length);
  std::vector<int32_t> expected(music_loop_length, 0);
  for (int32_t j = 0; j < instrument_length; ++j) {
    // A quarter, rounded towards minus infinity.
    expected[static_cast<size_t>((at.offset + j) % music_loop_length)] = instrument.values[j] >> 2;
  }
  const SAMPLE* loop = QUOMBRAX_state.music->loop;
  EXPECT_EQ(std::vector<int32_t>(loop->values, loop->values + loop->length), expected)
      << "instrument " << at.pick << " at " << at.offset;
}

TEST_F(MusicFeedTest, TheDevicePlaysTheLoopEndToEndFourEntriesAhead) {
  QUOMBRAX_state.audio = SDLDPY_audio_open();
  ASSERT_NE(QUOMBRAX_state.audio, nullptr);
  std::srand(QUOMBRAX_seed);
  QUOMBRAX_set_up_music();
  const SAMPLE* loop = QUOMBRAX_state.music->loop;

  for (int32_t frame = 1; frame <= 4; ++frame) {
    QUOMBRAX_feed_music();
    ASSERT_EQ(queue_length(QUOMBRAX_state.audio), frame);
    for (int32_t entry = 0; entry < frame; ++entry) {
      EXPECT_EQ(ARRAY_get(QUOMBRAX_state.audio->queue, entry), loop);
    }
    CAPTURE_advance(frame_milliseconds);
  }
  // Fewer frames than a mixing period, enough for the loop to play through
  // five times: the queue stays full, refilled as entries are played.
  for (int32_t frame = 5; frame <= 250; ++frame) {
    QUOMBRAX_feed_music();
    ASSERT_EQ(queue_length(QUOMBRAX_state.audio), 4) << "frame " << frame;
    CAPTURE_advance(frame_milliseconds);
  }

  ASSERT_EQ(sound.size(), static_cast<size_t>(250 * CAPTURE_sound_step_samples * 2));
  EXPECT_NE(SAMPLE_min(loop), SAMPLE_max(loop)) << "the loop should hold a sound";
  EXPECT_EQ(sound, loop_played(loop, sound.size()));
}

TEST_F(MusicFeedTest, WithoutADeviceTheGeneratorStillStepsAndNothingIsQueued) {
  // A device the show does not know about would hear anything queued.
  SDLDPY_AUDIO* listener = SDLDPY_audio_open();
  ASSERT_NE(listener, nullptr);
  CAPTURE_set_sound_available(0);
  QUOMBRAX_state.audio = SDLDPY_audio_open();
  ASSERT_EQ(QUOMBRAX_state.audio, nullptr);
  std::srand(QUOMBRAX_seed);
  QUOMBRAX_set_up_music();

  run_frame();
  const SAMPLE* loop = QUOMBRAX_state.music->loop;
  const std::vector<int32_t> first(loop->values, loop->values + loop->length);
  EXPECT_EQ(QUOMBRAX_state.music->countdown, 300);
  EXPECT_NE(first, std::vector<int32_t>(music_loop_length, 0));
  for (int32_t frame = 2; frame <= 301; ++frame) {
    run_frame();
  }
  EXPECT_EQ(QUOMBRAX_state.music->countdown, 300);
  EXPECT_NE(std::vector<int32_t>(loop->values, loop->values + loop->length), first);

  EXPECT_EQ(queue_length(listener), 0);
  EXPECT_EQ(sound, std::vector<uint8_t>(sound.size(), 0));
  EXPECT_FALSE(sound.empty());
  SDLDPY_audio_close(&listener);
}

}  // namespace
