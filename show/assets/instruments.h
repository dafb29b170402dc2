#pragma once

#include <cstdint>

#include "containers/sample.h"

// The sixteen instrument sounds the music generator mixes from: short hits of
// 11025 values (0.25 s at 44100 Hz) in the signed 16-bit range, each record
// with length = capacity = 11025.
//
// The records and their value arrays live in static storage, initialised at
// compile time. They are not const because the sample operations take
// writable handles and may change values in place, but they were never
// allocated: nothing may free them, so never hand one of them to
// SAMPLE_destroy or to a generator that is destroyed with MUSIC_destroy.
extern SAMPLE instrument_table[16];
constexpr int32_t instrument_count = 16;
constexpr int32_t instrument_length = 11025;
