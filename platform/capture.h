#pragma once

#include <cstdint>

// The capture back end: the SDLDPY and FPS interface with no SDL behind it,
// for tests and offline rendering. Everything it does is deterministic:
// - a virtual millisecond clock that starts at 0 and moves only when the
//   frame timer sleeps (or a caller advances it), so paced frames come
//   exactly 20 ms apart;
// - key events scripted by frame number;
// - every presented frame handed to a callback;
// - a simulated sound device that, while open, plays 882 samples
//   (20 ms) for every 20 ms of virtual time through SDLDPY_audio_fill,
//   under its device lock, into a callback.
// Link platform_capture instead of platform_sdl to get it.

// Frames are numbered from 1 in the order they are presented.
using CAPTURE_FRAME_HOOK = void (*)(void* context, int32_t frame, const uint32_t* pixels,
                                    int32_t width, int32_t height);
// `bytes` holds `length` bytes of signed 16-bit little-endian mono sound.
using CAPTURE_SOUND_HOOK = void (*)(void* context, const uint8_t* bytes, int32_t length);

enum CAPTURE_EVENT_KIND : int32_t {
  CAPTURE_KEY_DOWN = 1,
  CAPTURE_KEY_UP = 2,
  CAPTURE_QUIT = 3,  // the window closed, Ctrl+C or SIGTERM
  // A key pressed, and released at the next key poll: a key held for one
  // frame.
  CAPTURE_KEY_PRESS = 4,
};

constexpr int32_t CAPTURE_sound_step_milliseconds = 20;
constexpr int32_t CAPTURE_sound_step_samples = 882;
constexpr int32_t CAPTURE_max_scripted_events = 4096;

// Back to the start: clock 0, no frames, no script, no hooks, a screen and a
// sound device that can be opened. Open screens and devices are forgotten,
// not closed: close them first.
void CAPTURE_reset();

void CAPTURE_on_frame(CAPTURE_FRAME_HOOK hook, void* context);
void CAPTURE_on_sound(CAPTURE_SOUND_HOOK hook, void* context);

// Schedules an event for the first key poll after frame `frame` has been
// presented (0: the first poll of all). Events of one frame arrive in the
// order scheduled. Returns 0 when the script is full or the kind unknown.
int32_t CAPTURE_schedule(int32_t frame, int32_t kind, int32_t symbol);
// CAPTURE_KEY_PRESS of `symbol` after frame `frame`.
int32_t CAPTURE_press(int32_t frame, int32_t symbol);

// Whether opening a video mode or the sound device succeeds (1, the start)
// or fails (0), as on a machine without them.
void CAPTURE_set_screen_available(int32_t available);
void CAPTURE_set_sound_available(int32_t available);

// Time spent outside the frame timer's sleep, such as a test's simulated
// drawing. The sound device plays along as it does during a sleep.
void CAPTURE_advance(uint32_t milliseconds);

uint32_t CAPTURE_milliseconds();
int32_t CAPTURE_frames_presented();
int32_t CAPTURE_sleeps();        // frame timer sleeps so far, 0 ms ones included
uint32_t CAPTURE_video_flags();  // the flag word of the last mode opened
int32_t CAPTURE_screen_width();  // of the open screen; 0 when none is open
int32_t CAPTURE_screen_height();
int32_t CAPTURE_sound_open();  // 1 while the simulated device plays
