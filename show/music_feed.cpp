// The music feed: the generator fed from the compiled-in instruments, stepped
// once per frame, its loop kept queued on the sound device.
//
// The device's callback runs on SDL's audio thread and shares two things with
// this file: the audio queue, which the callback drains while the feed
// appends, and the loop's values, which a mixing rewrites while the callback
// may be playing them. Both are touched only under the device lock, each time
// for a few instructions or one copy of the loop: the queue is counted and
// appended under it (the append locks inside SDLDPY_audio_queue), and the
// generator takes it, through the guard installed here, just to publish a
// finished mixing. The mixing itself is computed beside the loop, unlocked.
#include <cstdint>

#include "containers/array.h"
#include "music/music.h"
#include "platform/sdldpy.h"
#include "show/assets/instruments.h"
#include "show/quombrax.h"

namespace {

// About 3.6 s of sound waiting ahead of the device.
constexpr int32_t queue_ahead = 4;

// The guard follows the show's device field, so it stays right when the
// device is closed or was never opened.
void lock_show_audio(void* audio_field) {
  SDLDPY_AUDIO* audio = *static_cast<SDLDPY_AUDIO**>(audio_field);
  if (audio != nullptr) SDLDPY_audio_lock(audio);
}

void unlock_show_audio(void* audio_field) {
  SDLDPY_AUDIO* audio = *static_cast<SDLDPY_AUDIO**>(audio_field);
  if (audio != nullptr) SDLDPY_audio_unlock(audio);
}

int32_t queued_entries(SDLDPY_AUDIO* audio) {
  SDLDPY_audio_lock(audio);
  const int32_t entries = audio->queue != nullptr ? audio->queue->length : 0;
  SDLDPY_audio_unlock(audio);
  return entries;
}

}  // namespace

void QUOMBRAX_set_up_music() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  MUSIC_set_loop_guard(lock_show_audio, unlock_show_audio, &state.audio);
  state.music = MUSIC_create();
  // Borrowed, never freed: the generator does not destroy its instruments.
  for (int32_t i = 0; i < instrument_count; ++i) {
    MUSIC_add_instrument(state.music, &instrument_table[i]);
  }
}

void QUOMBRAX_feed_music() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  MUSIC_step(state.music);
  if (state.audio == nullptr || state.music == nullptr) return;
  // The callback only ever shortens the queue, so a count taken under the
  // lock still holds when the append takes the lock again.
  if (queued_entries(state.audio) < queue_ahead) {
    SDLDPY_audio_queue(state.audio, state.music->loop);
  }
}
