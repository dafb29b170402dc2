// The platform back end of tests and offline rendering: no SDL, a virtual
// clock, scripted keys, frames and sound handed to callbacks.
#include "platform/capture.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/backend.h"
#include "platform/sdldpy.h"

// Captured frames are taken as shown in a window.
const uint32_t SDLDPY_program_video_flags = SDLDPY_window_flags;

// Scripted events are handed to the key state as they are.
static_assert(int32_t{CAPTURE_KEY_DOWN} == int32_t{BACKEND_EVENT_KEY_DOWN} &&
              int32_t{CAPTURE_KEY_UP} == int32_t{BACKEND_EVENT_KEY_UP} &&
              int32_t{CAPTURE_QUIT} == int32_t{BACKEND_EVENT_QUIT});

namespace {

constexpr int32_t capture_depth = 32;
constexpr int32_t sound_step_bytes = CAPTURE_sound_step_samples * 2;
constexpr int32_t max_held_keys = 64;

struct SCRIPTED_EVENT {
  int32_t frame;
  int32_t kind;
  int32_t symbol;
};

// A pressed key waiting for the poll at which it is let go.
struct HELD_KEY {
  int32_t symbol;
  int32_t release_poll;
};

struct SCREEN {
  uint32_t* pixels;  // width x height, owned
  int32_t width;
  int32_t height;
  uint32_t flags;
};

struct SOUND_DEVICE {
  SDLDPY_AUDIO* audio;    // the record the device plays; null while closed
  uint32_t played_until;  // virtual time up to which sound has been made
  uint8_t step[sound_step_bytes];
};

struct CAPTURE {
  uint32_t clock;
  int32_t frames;
  int32_t sleeps;
  bool screen_available;
  bool sound_available;
  SCREEN screen;
  SOUND_DEVICE sound;
  SCRIPTED_EVENT script[CAPTURE_max_scripted_events];
  int32_t scripted;   // events in `script`, ordered by frame
  int32_t delivered;  // events of `script` already taken
  int32_t polls;      // key polls finished
  HELD_KEY held[max_held_keys];
  int32_t held_count;
  CAPTURE_FRAME_HOOK frame_hook;
  void* frame_context;
  CAPTURE_SOUND_HOOK sound_hook;
  void* sound_context;
};

CAPTURE capture = {0, 0, 0,  true, true,    {},      {},      {},     0,
                   0, 0, {}, 0,    nullptr, nullptr, nullptr, nullptr};
// Held around each callback, as a real device holds its lock.
std::mutex device_lock;

void hand_over_frame(const uint32_t* pixels, int32_t width, int32_t height) {
  capture.frames += 1;
  if (capture.frame_hook != nullptr) {
    capture.frame_hook(capture.frame_context, capture.frames, pixels, width, height);
  }
}

// Plays every whole 20 ms step of virtual time not yet played.
void play_sound_until(uint32_t now) {
  SOUND_DEVICE& sound = capture.sound;
  while (sound.audio != nullptr && now - sound.played_until >= CAPTURE_sound_step_milliseconds) {
    sound.played_until += CAPTURE_sound_step_milliseconds;
    {
      std::lock_guard<std::mutex> hold(device_lock);
      SDLDPY_audio_fill(sound.audio, sound.step, sound_step_bytes);
    }
    if (capture.sound_hook != nullptr) {
      capture.sound_hook(capture.sound_context, sound.step, sound_step_bytes);
    }
  }
}

void free_screen() {
  std::free(capture.screen.pixels);
  capture.screen = SCREEN{};
}

}  // namespace

void CAPTURE_reset() {
  std::free(capture.screen.pixels);
  capture.clock = 0;
  capture.frames = 0;
  capture.sleeps = 0;
  capture.screen_available = true;
  capture.sound_available = true;
  capture.screen = SCREEN{};
  capture.sound.audio = nullptr;
  capture.sound.played_until = 0;
  capture.scripted = 0;
  capture.delivered = 0;
  capture.polls = 0;
  capture.held_count = 0;
  capture.frame_hook = nullptr;
  capture.frame_context = nullptr;
  capture.sound_hook = nullptr;
  capture.sound_context = nullptr;
}

void CAPTURE_on_frame(CAPTURE_FRAME_HOOK hook, void* context) {
  capture.frame_hook = hook;
  capture.frame_context = context;
}

void CAPTURE_on_sound(CAPTURE_SOUND_HOOK hook, void* context) {
  capture.sound_hook = hook;
  capture.sound_context = context;
}

int32_t CAPTURE_schedule(int32_t frame, int32_t kind, int32_t symbol) {
  if (capture.scripted == CAPTURE_max_scripted_events) return 0;
  if (kind < CAPTURE_KEY_DOWN || kind > CAPTURE_KEY_PRESS) return 0;
  // Keep the script ordered by frame, later entries of a frame after earlier ones.
  int32_t at = capture.scripted;
  while (at > capture.delivered && capture.script[at - 1].frame > frame) {
    capture.script[at] = capture.script[at - 1];
    at -= 1;
  }
  capture.script[at] = SCRIPTED_EVENT{frame, kind, symbol};
  capture.scripted += 1;
  return 1;
}

int32_t CAPTURE_press(int32_t frame, int32_t symbol) {
  return CAPTURE_schedule(frame, CAPTURE_KEY_PRESS, symbol);
}

void CAPTURE_set_screen_available(int32_t available) { capture.screen_available = available != 0; }
void CAPTURE_set_sound_available(int32_t available) { capture.sound_available = available != 0; }

void CAPTURE_advance(uint32_t milliseconds) {
  capture.clock += milliseconds;
  play_sound_until(capture.clock);
}

uint32_t CAPTURE_milliseconds() { return capture.clock; }
int32_t CAPTURE_frames_presented() { return capture.frames; }
int32_t CAPTURE_sleeps() { return capture.sleeps; }
uint32_t CAPTURE_video_flags() { return capture.screen.flags; }
int32_t CAPTURE_screen_width() { return capture.screen.width; }
int32_t CAPTURE_screen_height() { return capture.screen.height; }
int32_t CAPTURE_sound_open() { return capture.sound.audio != nullptr ? 1 : 0; }

int32_t BACKEND_screen_open(int32_t width, int32_t height, uint32_t flags,
                            int32_t* bits_per_pixel) {
  free_screen();
  if (!capture.screen_available) return 0;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  capture.screen.pixels = static_cast<uint32_t*>(std::calloc(count > 0 ? count : 1, 4));
  if (capture.screen.pixels == nullptr) return 0;
  capture.screen.width = width;
  capture.screen.height = height;
  capture.screen.flags = flags;
  *bits_per_pixel = capture_depth;
  return 1;
}

void BACKEND_screen_close() { free_screen(); }

void BACKEND_screen_show(const uint32_t* pixels, int32_t width, int32_t height) {
  if (capture.screen.pixels == nullptr) return;
  std::memcpy(capture.screen.pixels, pixels,
              static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  hand_over_frame(capture.screen.pixels, width, height);
}

void BACKEND_screen_show_direct(uint32_t* pixels, int32_t width, int32_t height) {
  if (capture.screen.pixels == nullptr) return;
  hand_over_frame(pixels, width, height);
}

void BACKEND_screen_show_converted(const uint32_t* pixels, int32_t stride, int32_t width,
                                   int32_t height) {
  SCREEN& screen = capture.screen;
  if (screen.pixels == nullptr) return;
  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(screen.pixels + static_cast<size_t>(y) * screen.width,
                pixels + static_cast<size_t>(y) * stride, static_cast<size_t>(width) * 4);
  }
  hand_over_frame(screen.pixels, screen.width, screen.height);
}

namespace {

// Keys held since an earlier poll are let go first: that happened earlier.
bool take_release(BACKEND_EVENT* event) {
  for (int32_t i = 0; i < capture.held_count; ++i) {
    if (capture.held[i].release_poll > capture.polls) continue;
    event->kind = BACKEND_EVENT_KEY_UP;
    event->symbol = capture.held[i].symbol;
    capture.held[i] = capture.held[--capture.held_count];
    return true;
  }
  return false;
}

bool take_scripted(BACKEND_EVENT* event) {
  if (capture.delivered == capture.scripted) return false;
  const SCRIPTED_EVENT& next = capture.script[capture.delivered];
  if (next.frame > capture.frames) return false;
  capture.delivered += 1;
  event->kind = next.kind;
  event->symbol = next.symbol;
  if (next.kind == CAPTURE_KEY_PRESS) {
    event->kind = BACKEND_EVENT_KEY_DOWN;
    if (capture.held_count < max_held_keys) {
      capture.held[capture.held_count++] = HELD_KEY{next.symbol, capture.polls + 1};
    }
  }
  return true;
}

}  // namespace

// A poll takes events until there are none; that is where it ends.
int32_t BACKEND_next_event(BACKEND_EVENT* event) {
  if (take_release(event) || take_scripted(event)) return 1;
  capture.polls += 1;
  return 0;
}

int32_t BACKEND_audio_open(SDLDPY_AUDIO* audio) {
  if (!capture.sound_available) return 0;
  capture.sound.audio = audio;
  capture.sound.played_until = capture.clock;
  return 1;
}

void BACKEND_audio_close() {
  std::lock_guard<std::mutex> hold(device_lock);
  capture.sound.audio = nullptr;
}

void BACKEND_audio_lock() { device_lock.lock(); }

void BACKEND_audio_unlock() { device_lock.unlock(); }

uint32_t BACKEND_milliseconds() { return capture.clock; }

void BACKEND_sleep(uint32_t milliseconds) {
  capture.sleeps += 1;
  CAPTURE_advance(milliseconds);
}
