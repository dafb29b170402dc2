// One mixing of the music loop against a memcpy of the loop's bytes, and one
// sound-device callback of 4096 samples against a memcpy of its bytes.
#include <cstdint>
#include <vector>

#include "bench/yardstick.h"
#include "containers/array.h"
#include "music/music.h"
#include "platform/sdldpy.h"
#include "show/assets/instruments.h"

namespace {

MUSIC* music_with_instruments() {
  MUSIC* music = MUSIC_create();
  for (int32_t i = 0; i < instrument_count; ++i) {
    MUSIC_add_instrument(music, &instrument_table[i]);
  }
  return music;
}

void BM_music_mixing(benchmark::State& state) {
  MUSIC* music = music_with_instruments();
  const size_t loop_bytes = static_cast<size_t>(music->loop->length) * sizeof(int32_t);
  measure_against_memcpy(state, loop_bytes, [&] {
    music->countdown = 0;  // the next step mixes
    MUSIC_step(music);
  });
  state.counters["loop_values"] = music->loop->length;
  MUSIC_destroy(&music);
}

void BM_audio_callback_4096(benchmark::State& state) {
  MUSIC* music = music_with_instruments();
  MUSIC_step(music);
  SDLDPY_AUDIO* audio = SDLDPY_audio_open();
  if (audio == nullptr) {
    state.SkipWithError("no sound device record");
    return;
  }
  constexpr int32_t bytes = SDLDPY_audio_device_samples * 2;
  std::vector<uint8_t> stream(bytes);
  measure_against_memcpy(state, bytes, [&] {
    // Kept as the show keeps it: the loop queued ahead of the device.
    if (audio->queue->length < 2) SDLDPY_audio_queue(audio, music->loop);
    SDLDPY_audio_fill(audio, stream.data(), bytes);
  });
  SDLDPY_audio_close(&audio);
  MUSIC_destroy(&music);
}

}  // namespace

BENCHMARK(BM_music_mixing)->UseManualTime();
BENCHMARK(BM_audio_callback_4096)->UseManualTime();
