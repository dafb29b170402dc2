#include "music/music.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

const MODULE_ID MUSIC_id = {"MUSIC   ", "Kadwelon", "20101019", "C       ", "CODE    "};

namespace {

constexpr int32_t loop_length = 40000;
constexpr int32_t mixing_period = 300;

uint8_t error_report = 0;

// Kept between mixings so that a mixing does not allocate the loop's length
// every time; it lives as long as the process.
SAMPLE* scratch = nullptr;

struct LoopGuard {
  MUSIC_LOCK lock;
  MUSIC_LOCK unlock;
  void* context;
};
LoopGuard loop_guard = {nullptr, nullptr, nullptr};

struct Placement {
  int32_t pick;    // index into the instrument list, -1 when it is empty
  int32_t offset;  // where the sound starts in the loop
};

// Five draws per mixing, whatever the list holds, so that the other users of
// rand see the same sequence whether or not a mixing finds an instrument.
Placement draw_placement(int32_t instrument_count, int32_t length) {
  const int32_t r1 = std::rand();
  const int32_t r2 = std::rand();
  const int32_t r3 = std::rand();
  const int32_t r4 = std::rand();
  const int32_t r5 = std::rand();
  const int32_t pick = instrument_count > 0 ? r1 % instrument_count : -1;
  const int32_t offset = (r2 % 2) * (length >> 3) + (r3 % 2) * (length >> 4) +
                         (r4 % 2) * (length >> 1) + (r5 % 2) * (length >> 2);
  return {pick, offset};
}

int32_t instrument_count(const MUSIC* music) {
  return music->instruments != nullptr ? music->instruments->length : 0;
}

// The scratch vector with `length` values, or null when memory ran out
// (then it is dropped, and the next mixing tries again). Its values are
// stale: a mixing writes every one of them.
SAMPLE* scratch_of_length(int32_t length) {
  if (scratch != nullptr && scratch->length != length) {
    SAMPLE_destroy(&scratch);
  }
  if (scratch == nullptr) {
    scratch = SAMPLE_create();
    SAMPLE_set_length(scratch, length);
  }
  if (scratch == nullptr || scratch->length != length || scratch->capacity < length) {
    if (scratch != nullptr) {
      SAMPLE_destroy(&scratch);
    }
    return nullptr;
  }
  return scratch;
}

// floor((3 x old + sound) / 4), the sum wrapping modulo 2^32 before the
// arithmetic shift, exactly as tripling the loop into the placed sound would.
int32_t blended(int32_t old_value, int32_t sound) {
  const uint32_t sum = 3u * static_cast<uint32_t>(old_value) + static_cast<uint32_t>(sound);
  return static_cast<int32_t>(sum) >> 2;
}

// One plain loop per run of values, so the compiler can vectorise each.
void blend_silence(int32_t* mix, const int32_t* loop, int32_t from, int32_t to) {
  for (int32_t i = from; i < to; ++i) {
    mix[i] = blended(loop[i], 0);
  }
}

void blend_sound(int32_t* mix, const int32_t* loop, const int32_t* sound, int32_t at,
                 int32_t count) {
  for (int32_t j = 0; j < count; ++j) {
    mix[at + j] = blended(loop[at + j], sound[j]);
  }
}

// The loop blended with the instrument placed at `offset`, wrapping past the
// loop's end to its start, in one pass and without allocating: what adding
// the sound into silence, rotating it by `offset` and blending the loop in
// would give. A sound longer than the loop is cut to the loop's length.
void blend_placed(SAMPLE* mix, const SAMPLE* loop, const SAMPLE* instrument, int32_t offset) {
  const int32_t length = loop->length;
  const bool audible = instrument->values != nullptr;
  const int32_t sound_length = audible ? std::min(instrument->length, length) : 0;
  const int32_t head = std::min(sound_length, length - offset);  // from offset on
  const int32_t tail = sound_length - head;                      // wrapped to index 0
  blend_sound(mix->values, loop->values, instrument->values + head, 0, tail);
  blend_silence(mix->values, loop->values, tail, offset);
  blend_sound(mix->values, loop->values, instrument->values, offset, head);
  blend_silence(mix->values, loop->values, offset + head, length);
}

// The finished mixing becomes the loop by trading value arrays with it, the
// only change to the loop's values and the only time the guard is held; the
// loop's old values become the scratch the next mixing overwrites.
void publish(SAMPLE* mix, SAMPLE* loop) {
  if (loop_guard.lock != nullptr) {
    loop_guard.lock(loop_guard.context);
  }
  std::swap(mix->values, loop->values);
  std::swap(mix->capacity, loop->capacity);
  if (loop_guard.unlock != nullptr) {
    loop_guard.unlock(loop_guard.context);
  }
}

void mix_one_instrument(MUSIC* music) {
  const int32_t length = music->loop != nullptr ? music->loop->length : 0;
  SAMPLE* mix = length > 0 && music->loop->values != nullptr ? scratch_of_length(length) : nullptr;
  const Placement at = draw_placement(instrument_count(music), length);
  if (mix == nullptr || at.pick < 0) {
    return;
  }
  const SAMPLE* instrument = static_cast<const SAMPLE*>(ARRAY_get(music->instruments, at.pick));
  if (instrument == nullptr) {
    return;
  }
  blend_placed(mix, music->loop, instrument, at.offset);
  publish(mix, music->loop);
}

}  // namespace

void MUSIC_error() {
  if (error_report != 0) {
    std::fputs("MUSIC ERROR\n", stdout);
  }
}

void MUSIC_set_error_report(int32_t on) { error_report = on != 0 ? 1 : 0; }

MUSIC* MUSIC_create() {
  auto* music = static_cast<MUSIC*>(std::calloc(1, sizeof(MUSIC)));
  if (music == nullptr) {
    return nullptr;
  }
  music->loop = SAMPLE_create();
  SAMPLE_set_length(music->loop, loop_length);
  music->instruments = ARRAY_create();
  const bool complete = music->loop != nullptr && music->loop->length == loop_length &&
                        music->loop->capacity >= loop_length && music->instruments != nullptr;
  if (!complete) {
    MUSIC_destroy(&music);
    return nullptr;
  }
  music->period = mixing_period;
  music->countdown = 0;
  return music;
}

void MUSIC_add_instrument(MUSIC* music, SAMPLE* instrument) {
  if (music == nullptr || instrument == nullptr || music->instruments == nullptr) {
    return;
  }
  ARRAY_push(music->instruments, instrument);
}

void MUSIC_step(MUSIC* music) {
  if (music == nullptr) {
    return;
  }
  // Counting down from 1 or less is the mixing call; testing before the
  // decrement keeps a countdown of any value from overflowing.
  if (music->countdown > 1) {
    music->countdown -= 1;
    return;
  }
  music->countdown = music->period;
  mix_one_instrument(music);
}

void MUSIC_destroy(MUSIC** music) {
  if (music == nullptr || *music == nullptr) {
    MUSIC_error();
    return;
  }
  MUSIC* record = *music;
  if (record->loop != nullptr) {
    SAMPLE_destroy(&record->loop);
  }
  // The instruments are borrowed: only the list goes, never what it holds.
  if (record->instruments != nullptr) {
    ARRAY_destroy(&record->instruments);
  }
  std::free(record);
  *music = nullptr;
}

void MUSIC_set_loop_guard(MUSIC_LOCK lock, MUSIC_LOCK unlock, void* context) {
  if ((lock == nullptr) != (unlock == nullptr)) {
    MUSIC_error();
    return;
  }
  loop_guard = {lock, unlock, context};
}
