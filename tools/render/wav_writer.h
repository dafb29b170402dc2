#pragma once

#include <cstdint>
#include <cstdio>

// A RIFF WAVE file of 44100 Hz, 16-bit, mono sound. The header is written
// first with the sizes of an empty file and completed when the sound ends;
// a stream that cannot seek back (a pipe) keeps the largest sizes, which
// players take as "read to the end".
struct WAV_WRITER {
  std::FILE* stream = nullptr;  // not owned
  int64_t bytes = 0;            // of sound written so far
};

constexpr int32_t WAV_rate = 44100;
constexpr int64_t WAV_max_bytes = 0xFFFFFFFFll - 36;

bool wav_start(WAV_WRITER* writer, std::FILE* stream);
// `bytes` of signed 16-bit little-endian mono sound, as the device takes it.
bool wav_write_sound(WAV_WRITER* writer, const uint8_t* bytes, int32_t length);
// Writes the final sizes into the header.
bool wav_finish(WAV_WRITER* writer);
