// The sound queue and the device callback, on the capture back end.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "containers/array.h"
#include "containers/sample.h"
#include "platform/capture.h"
#include "platform/sdldpy.h"

namespace {

constexpr uint8_t unwritten = 0xAA;

SAMPLE* sample_of(const std::vector<int32_t>& values) {
  SAMPLE* sample = SAMPLE_create();
  SAMPLE_set_length(sample, static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    SAMPLE_set(sample, values[i], static_cast<int32_t>(i));
  }
  return sample;
}

std::vector<uint8_t> little_endian(const std::vector<int32_t>& values) {
  std::vector<uint8_t> bytes;
  for (int32_t v : values) {
    bytes.push_back(static_cast<uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  return bytes;
}

// An open device on the capture back end, with buffers the test owns.
class AudioTest : public testing::Test {
 protected:
  void SetUp() override {
    CAPTURE_reset();
    audio = SDLDPY_audio_open();
    ASSERT_NE(audio, nullptr);
  }
  void TearDown() override {
    SDLDPY_audio_close(&audio);
    for (SAMPLE*& buffer : buffers) SAMPLE_destroy(&buffer);
  }
  SAMPLE* buffer(const std::vector<int32_t>& values) {
    buffers.push_back(sample_of(values));
    return buffers.back();
  }
  std::vector<uint8_t> fill(int32_t length) {
    std::vector<uint8_t> stream(static_cast<size_t>(length), unwritten);
    SDLDPY_audio_fill(audio, stream.data(), length);
    return stream;
  }

  SDLDPY_AUDIO* audio = nullptr;
  std::vector<SAMPLE*> buffers;
};

TEST_F(AudioTest, OpenDescribesTheStreamAndStartsWithAnEmptyQueue) {
  EXPECT_EQ(audio->rate, 44100);
  EXPECT_EQ(audio->depth, 16);
  EXPECT_EQ(audio->signedness, 's');
  EXPECT_EQ(audio->byte_order, 'l');
  EXPECT_EQ(audio->mute, 0);
  EXPECT_EQ(audio->position, 0);
  ASSERT_NE(audio->queue, nullptr);
  EXPECT_EQ(audio->queue->length, 0);
  EXPECT_EQ(CAPTURE_sound_open(), 1);
}

TEST_F(AudioTest, ValuesBecomeLittleEndianSixteenBitUnitsThatWrap) {
  SDLDPY_audio_queue(audio, buffer({1000, -1, 40000}));
  EXPECT_EQ(fill(6), (std::vector<uint8_t>{0xE8, 0x03, 0xFF, 0xFF, 0x40, 0x9C}));
}

TEST_F(AudioTest, OneBufferQueuedTwicePlaysTwiceThenSilence) {
  std::vector<int32_t> values = {1, -2, 3, -4, 5, -6, 7, -8, 9, -10};
  SAMPLE* loop = buffer(values);
  SDLDPY_audio_queue(audio, loop);
  SDLDPY_audio_queue(audio, loop);
  std::vector<uint8_t> expected = little_endian(values);
  std::vector<uint8_t> twice = expected;
  twice.insert(twice.end(), expected.begin(), expected.end());
  twice.insert(twice.end(), 8, 0);  // the queue ran dry: silence, not stale bytes
  EXPECT_EQ(fill(48), twice);
  EXPECT_EQ(audio->queue->length, 0);
  EXPECT_EQ(audio->position, 0);
}

TEST_F(AudioTest, ABufferQueuedAfterTheQueueRanDryStartsAtItsFirstValue) {
  SDLDPY_audio_queue(audio, buffer({7, 8}));
  EXPECT_EQ(fill(8), (std::vector<uint8_t>{7, 0, 8, 0, 0, 0, 0, 0}));
  SDLDPY_audio_queue(audio, buffer({300, 301, 302}));
  EXPECT_EQ(fill(4), little_endian({300, 301}));
  EXPECT_EQ(fill(2), little_endian({302}));
}

TEST_F(AudioTest, APlayedBufferIsContinuedByTheNextCallback) {
  SDLDPY_audio_queue(audio, buffer({1, 2, 3, 4, 5}));
  EXPECT_EQ(fill(4), little_endian({1, 2}));
  EXPECT_EQ(audio->position, 2);
  EXPECT_EQ(fill(6), little_endian({3, 4, 5}));
  EXPECT_EQ(audio->queue->length, 0);
}

TEST_F(AudioTest, AnOddLengthWritesWholeSamplesAndSilencesTheLastByte) {
  SDLDPY_audio_queue(audio, buffer({0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C}));
  std::vector<uint8_t> expected = little_endian({0x0102, 0x0304, 0x0506, 0x0708});
  expected.push_back(0);
  EXPECT_EQ(fill(9), expected);
  EXPECT_EQ(audio->position, 4);
}

TEST_F(AudioTest, SilenceWhereverNothingIsPlayed) {
  std::vector<uint8_t> silence(64, 0);
  EXPECT_EQ(fill(64), silence) << "empty queue";

  SDLDPY_audio_queue(audio, buffer({5, 6}));
  audio->mute = 1;
  EXPECT_EQ(fill(64), silence) << "muted";
  EXPECT_EQ(audio->queue->length, 1) << "muting keeps the queue";

  std::vector<uint8_t> stream(16, unwritten);
  SDLDPY_audio_fill(nullptr, stream.data(), 16);
  EXPECT_EQ(stream, std::vector<uint8_t>(16, 0)) << "no record";
}

TEST_F(AudioTest, RefusedCallsChangeNothing) {
  SDLDPY_audio_queue(audio, buffer({5}));
  SDLDPY_audio_fill(audio, nullptr, 8);
  std::array<uint8_t, 4> stream = {1, 2, 3, 4};
  SDLDPY_audio_fill(audio, stream.data(), 0);
  SDLDPY_audio_fill(audio, stream.data(), -2);
  EXPECT_EQ(stream, (std::array<uint8_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(audio->queue->length, 1);
  EXPECT_EQ(audio->position, 0);

  SDLDPY_audio_queue(audio, nullptr);
  SDLDPY_audio_queue(nullptr, buffers.back());
  EXPECT_EQ(audio->queue->length, 1);
}

TEST_F(AudioTest, QueueingRecreatesAMissingQueue) {
  ARRAY_destroy(&audio->queue);
  SDLDPY_audio_queue(audio, buffer({42}));
  ASSERT_NE(audio->queue, nullptr);
  EXPECT_EQ(audio->queue->length, 1);
  EXPECT_EQ(fill(2), little_endian({42}));
}

TEST_F(AudioTest, ClosingWithBuffersQueuedLeavesTheBuffersAlone) {
  SAMPLE* loop = buffer({11, 12, 13});
  SDLDPY_audio_queue(audio, loop);
  SDLDPY_audio_queue(audio, loop);
  SDLDPY_audio_close(&audio);
  EXPECT_EQ(audio, nullptr);
  EXPECT_EQ(CAPTURE_sound_open(), 0);
  // Still ours and intact (the sanitizer build would catch a free).
  EXPECT_EQ(loop->length, 3);
  EXPECT_EQ(SAMPLE_get(loop, 2), 13);
}

TEST_F(AudioTest, TheSimulatedDevicePlays882SamplesPerTwentyMilliseconds) {
  std::vector<int32_t> ramp(2000);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int32_t>(i) - 1000;
  SDLDPY_audio_queue(audio, buffer(ramp));
  std::vector<uint8_t> heard;
  CAPTURE_on_sound(
      [](void* context, const uint8_t* bytes, int32_t length) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        out->insert(out->end(), bytes, bytes + length);
      },
      &heard);
  CAPTURE_advance(19);
  EXPECT_TRUE(heard.empty()) << "less than one step of virtual time";
  CAPTURE_advance(41);  // 60 ms in all: three steps
  ASSERT_EQ(heard.size(), 3u * 882u * 2u);
  std::vector<uint8_t> expected = little_endian(ramp);
  expected.resize(3 * 882 * 2, 0);  // 2000 values, then silence
  EXPECT_EQ(heard, expected);
}

TEST(AudioDevice, NoDeviceGivesNoHandle) {
  CAPTURE_reset();
  CAPTURE_set_sound_available(0);
  EXPECT_EQ(SDLDPY_audio_open(), nullptr);
  EXPECT_EQ(CAPTURE_sound_open(), 0);
  SDLDPY_AUDIO* none = nullptr;
  SDLDPY_audio_close(&none);
  SDLDPY_audio_close(nullptr);
}

TEST(AudioDevice, TheLockIsTheDeviceLock) {
  CAPTURE_reset();
  SDLDPY_AUDIO* audio = SDLDPY_audio_open();
  ASSERT_NE(audio, nullptr);
  // Queueing takes the lock itself, so it must not be held around it; held
  // around other work, it is released again for the device.
  SDLDPY_audio_lock(audio);
  audio->mute = 1;
  SDLDPY_audio_unlock(audio);
  SAMPLE* one = sample_of({1});
  SDLDPY_audio_queue(audio, one);
  CAPTURE_advance(20);  // the device takes the lock for its step
  EXPECT_EQ(audio->queue->length, 1) << "muted: nothing played";
  SDLDPY_audio_lock(nullptr);
  SDLDPY_audio_unlock(nullptr);
  SDLDPY_audio_close(&audio);
  SAMPLE_destroy(&one);
}

TEST(AudioAccessors, EmptyTextEqualityAndNoClone) {
  SDLDPY_AUDIO a{};
  SDLDPY_AUDIO b{};
  ASSERT_NE(SDLDPY_audio_to_text(&a), nullptr);
  EXPECT_STREQ(SDLDPY_audio_to_text(&a), "");
  EXPECT_EQ(SDLDPY_audio_to_text(nullptr), nullptr);
  EXPECT_EQ(SDLDPY_audio_from_text(""), nullptr);
  EXPECT_EQ(SDLDPY_audio_from_text(nullptr), nullptr);
  EXPECT_EQ(SDLDPY_audio_clone(&a), nullptr);
  EXPECT_EQ(SDLDPY_audio_equal(&a, &b), 1);
  EXPECT_EQ(SDLDPY_audio_equal(&a, nullptr), 0);
  EXPECT_EQ(SDLDPY_audio_equal(nullptr, &b), 0);
  SDLDPY_audio_check(nullptr);
  SDLDPY_audio_check(&a);
}

}  // namespace
