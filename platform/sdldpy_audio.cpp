#include <cstdlib>
#include <cstring>

#include "containers/array.h"
#include "containers/sample.h"
#include "platform/backend.h"
#include "platform/sdldpy.h"

namespace {

const char empty_text[] = "";

void write_silence(uint8_t* bytes, int32_t count) {
  if (count > 0) std::memset(bytes, 0, static_cast<size_t>(count));
}

// One value as a 16-bit little-endian unit: values outside the 16-bit range
// wrap rather than clip.
void write_value(uint8_t* bytes, int32_t value) {
  bytes[0] = static_cast<uint8_t>(value & 0xFF);
  bytes[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Plays the queue into `stream` from the front buffer on, dropping each
// buffer when it has been played; returns the bytes written.
int32_t play_queue(SDLDPY_AUDIO* audio, uint8_t* stream, int32_t samples) {
  auto* front = static_cast<const SAMPLE*>(ARRAY_get(audio->queue, 0));
  for (int32_t i = 0; i < samples; ++i) {
    write_value(stream + 2 * i, SAMPLE_get(front, audio->position));
    audio->position += 1;
    if (audio->position >= front->length) {
      ARRAY_remove(audio->queue, 0);
      audio->position = 0;
      if (audio->queue->length == 0) return 2 * (i + 1);
      front = static_cast<const SAMPLE*>(ARRAY_get(audio->queue, 0));
      if (front == nullptr) return 2 * (i + 1);
    }
  }
  return 2 * samples;
}

}  // namespace

void SDLDPY_audio_error() {}

SDLDPY_AUDIO* SDLDPY_audio_open() {
  auto* audio = static_cast<SDLDPY_AUDIO*>(std::calloc(1, sizeof(SDLDPY_AUDIO)));
  if (audio == nullptr) {
    SDLDPY_audio_error();
    return nullptr;
  }
  audio->rate = SDLDPY_audio_rate;
  audio->depth = 16;
  audio->signedness = 's';
  audio->byte_order = 'l';
  audio->queue = ARRAY_create();
  // The record is complete before the device starts calling back into it.
  if (audio->queue == nullptr || !BACKEND_audio_open(audio)) {
    ARRAY_destroy(&audio->queue);
    std::free(audio);
    SDLDPY_audio_error();
    return nullptr;
  }
  return audio;
}

void SDLDPY_audio_queue(SDLDPY_AUDIO* audio, SAMPLE* buffer) {
  if (audio == nullptr || buffer == nullptr) {
    SDLDPY_audio_error();
    return;
  }
  SDLDPY_audio_lock(audio);
  if (audio->queue == nullptr) audio->queue = ARRAY_create();
  ARRAY_push(audio->queue, buffer);
  SDLDPY_audio_unlock(audio);
}

// The device does not preset the stream, so every byte not played is
// written as silence here.
void SDLDPY_audio_fill(void* user_data, uint8_t* stream, int32_t length) {
  auto* audio = static_cast<SDLDPY_AUDIO*>(user_data);
  if (stream == nullptr || length <= 0) {
    SDLDPY_audio_error();
    return;
  }
  if (audio == nullptr || audio->queue == nullptr || audio->queue->length == 0) {
    SDLDPY_audio_error();
    write_silence(stream, length);
    return;
  }
  if (audio->mute == 1 || ARRAY_get(audio->queue, 0) == nullptr) {
    write_silence(stream, length);
    return;
  }
  int32_t written = play_queue(audio, stream, length / 2);
  write_silence(stream + written, length - written);
}

void SDLDPY_audio_close(SDLDPY_AUDIO** audio) {
  if (audio == nullptr || *audio == nullptr) {
    SDLDPY_audio_error();
    return;
  }
  BACKEND_audio_close();
  ARRAY_destroy(&(*audio)->queue);
  std::free(*audio);
  *audio = nullptr;
}

void SDLDPY_audio_lock(SDLDPY_AUDIO* audio) {
  if (audio == nullptr) {
    SDLDPY_audio_error();
    return;
  }
  BACKEND_audio_lock();
}

void SDLDPY_audio_unlock(SDLDPY_AUDIO* audio) {
  if (audio == nullptr) {
    SDLDPY_audio_error();
    return;
  }
  BACKEND_audio_unlock();
}

const char* SDLDPY_audio_to_text(const SDLDPY_AUDIO* audio) {
  if (audio == nullptr) {
    SDLDPY_audio_error();
    return nullptr;
  }
  return empty_text;
}

SDLDPY_AUDIO* SDLDPY_audio_from_text(const char* text) {
  if (text == nullptr) SDLDPY_audio_error();
  return nullptr;
}

int32_t SDLDPY_audio_equal(const SDLDPY_AUDIO* a, const SDLDPY_AUDIO* b) {
  if (a == nullptr || b == nullptr) {
    SDLDPY_audio_error();
    return 0;
  }
  return 1;
}

SDLDPY_AUDIO* SDLDPY_audio_clone(const SDLDPY_AUDIO* audio) {
  if (audio == nullptr) SDLDPY_audio_error();
  return nullptr;
}

void SDLDPY_audio_check(const SDLDPY_AUDIO* audio) {
  if (audio == nullptr) SDLDPY_audio_error();
}
