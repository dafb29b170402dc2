#pragma once

#include <cstdint>

#include "containers/module_id.h"

struct ARRAY;
struct IMG;
struct SAMPLE;

// The screen, the keyboard and the sound device. The show never sees which
// back end stands behind these operations: the SDL one for the programs, the
// capture one for tests and offline rendering; the choice is made at link time.

// The display: one open video mode that a 32-bit image is shown on.
struct SDLDPY {
  int32_t width;  // of the open video mode, in pixels
  int32_t height;
  int32_t bits_per_pixel;  // of the screen surface, as the device reports it
};

// The key state: byte 0 of `buffer` holds the code of the last key pressed,
// 0 for none; bytes 1 to 7 stay 0.
struct SDLDPY_KEYS {
  uint8_t* buffer;  // 8 bytes, owned
};

// The sound device and its queue of sound buffers (SAMPLE handles, front
// first). The queue owns its handles' slots, never the buffers behind them.
struct SDLDPY_AUDIO {
  int32_t rate;      // 44100
  int32_t depth;     // 16
  int32_t position;  // next value to play in the front buffer
  ARRAY* queue;
  char signedness;  // 's'
  char byte_order;  // 'l'
  uint8_t mute;     // 1: the device plays silence
};

extern const MODULE_ID SDLDPY_id;

// Each program names the video flag word it opens its screen with; this is
// the one thing in which the fullscreen and the windowed program differ.
// The capture back end defines it itself.
extern const uint32_t SDLDPY_program_video_flags;

constexpr uint32_t SDLDPY_fullscreen_flags = 0x90000005u;
constexpr uint32_t SDLDPY_window_flags = 0x10000005u;

// Both error hooks are deliberately silent.
void SDLDPY_error();
void SDLDPY_audio_error();

// Display. One display at most; a second create returns the first.
SDLDPY* SDLDPY_create();
void SDLDPY_set_mode(SDLDPY* display, int32_t width, int32_t height);
// 1 while the display has a screen to show on: its last mode change worked.
int32_t SDLDPY_screen_is_open(const SDLDPY* display);
void SDLDPY_present(SDLDPY* display, const IMG* image);
void SDLDPY_present_direct(SDLDPY* display, const IMG* image);
void SDLDPY_present_converted(SDLDPY* display, const IMG* image);
void SDLDPY_destroy(SDLDPY** display);
const char* SDLDPY_to_text(const SDLDPY* display);
SDLDPY* SDLDPY_from_text(const char* text);
int32_t SDLDPY_equal(const SDLDPY* a, const SDLDPY* b);
SDLDPY* SDLDPY_clone(SDLDPY* display);

// Keyboard. Needs a display; one key state at most. A poll takes every
// pending event: a key pressed since the last poll is seen, even when it was
// released before the poll; a release clears the byte only when the same
// poll delivered no press; of two keys pressed within one poll, the last one
// pressed is the one seen. Key repeat is off, so a held key is seen once.
SDLDPY_KEYS* SDLDPY_keys_create();
void SDLDPY_keys_poll(SDLDPY_KEYS* keys);
void SDLDPY_keys_destroy(SDLDPY_KEYS** keys);
const char* SDLDPY_keys_to_text(const SDLDPY_KEYS* keys);
SDLDPY_KEYS* SDLDPY_keys_from_text(const char* text);
int32_t SDLDPY_keys_equal(const SDLDPY_KEYS* a, const SDLDPY_KEYS* b);
SDLDPY_KEYS* SDLDPY_keys_clone(const SDLDPY_KEYS* keys);

// The key code a quit request from the window system (window closed, Ctrl+C,
// SIGTERM) reads as: the show leaves through its one quit path, Escape's.
constexpr uint8_t SDLDPY_quit_key = 27;

// Sound. 44100 Hz, signed 16-bit little-endian, one channel.
constexpr int32_t SDLDPY_audio_rate = 44100;
constexpr int32_t SDLDPY_audio_device_samples = 4096;

SDLDPY_AUDIO* SDLDPY_audio_open();
void SDLDPY_audio_queue(SDLDPY_AUDIO* audio, SAMPLE* buffer);
// The device callback: runs on the device's thread under the device lock.
void SDLDPY_audio_fill(void* user_data, uint8_t* stream, int32_t length);
void SDLDPY_audio_close(SDLDPY_AUDIO** audio);
// The device lock: hold it while changing anything the callback reads (the
// queue, `position`, the values of a queued buffer). A null handle is
// reported and the lock is not taken.
void SDLDPY_audio_lock(SDLDPY_AUDIO* audio);
void SDLDPY_audio_unlock(SDLDPY_AUDIO* audio);
const char* SDLDPY_audio_to_text(const SDLDPY_AUDIO* audio);
SDLDPY_AUDIO* SDLDPY_audio_from_text(const char* text);
int32_t SDLDPY_audio_equal(const SDLDPY_AUDIO* a, const SDLDPY_AUDIO* b);
SDLDPY_AUDIO* SDLDPY_audio_clone(const SDLDPY_AUDIO* audio);
void SDLDPY_audio_check(const SDLDPY_AUDIO* audio);
