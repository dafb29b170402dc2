#pragma once

#include <cstdint>

struct SDLDPY_AUDIO;

// What a platform back end provides to the shared SDLDPY and FPS logic: a
// screen, an event source, a sound device and a millisecond clock. Exactly
// one back end is linked into a program. Not for use outside platform/.

// Screen. `open` replaces any screen open before; it returns 1 and the depth
// of the new screen, or 0 (and no screen) when no mode can be had.
int32_t BACKEND_screen_open(int32_t width, int32_t height, uint32_t flags, int32_t* bits_per_pixel);
void BACKEND_screen_close();
// The image is exactly the screen's size: `pixels` holds width x height
// 0x00RRGGBB values, rows packed.
void BACKEND_screen_show(const uint32_t* pixels, int32_t width, int32_t height);
void BACKEND_screen_show_direct(uint32_t* pixels, int32_t width, int32_t height);
// Shows the top-left width x height of an image whose rows are `stride`
// pixels long, whatever the screen's own format.
void BACKEND_screen_show_converted(const uint32_t* pixels, int32_t stride, int32_t width,
                                   int32_t height);

// Events, already reduced to what the key state needs.
enum BACKEND_EVENT_KIND : int32_t {
  BACKEND_EVENT_OTHER = 0,
  BACKEND_EVENT_KEY_DOWN = 1,
  BACKEND_EVENT_KEY_UP = 2,
  BACKEND_EVENT_QUIT = 3,
};
struct BACKEND_EVENT {
  int32_t kind;
  int32_t symbol;  // the key symbol, whole, for key events
};
// Takes the next pending event; 0 when none is pending.
int32_t BACKEND_next_event(BACKEND_EVENT* event);

// Sound device. `open` starts the device playing with SDLDPY_audio_fill and
// the record as its callback; 0 when the device cannot be had. `close`
// stops it and waits for a running callback to finish.
int32_t BACKEND_audio_open(SDLDPY_AUDIO* audio);
void BACKEND_audio_close();
void BACKEND_audio_lock();
void BACKEND_audio_unlock();

// Clock.
uint32_t BACKEND_milliseconds();
void BACKEND_sleep(uint32_t milliseconds);
