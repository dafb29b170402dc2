// The platform back end of the web page: the show's screen is the page's
// canvas, its keys come from the page, its sound goes through the browser's
// audio and its frame timer sleeps by handing control back to the browser.
// The page (web/quombrax.js) supplies the other half as `Module.page`.
#include <emscripten.h>

#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/canvas_pixels.h"
#include "platform/frame_costs.h"
#include "platform/sdldpy.h"

namespace {

constexpr int32_t canvas_depth = 32;
constexpr int32_t audio_fill_bytes = SDLDPY_audio_device_samples * 2;

struct SCREEN {
  uint8_t* rgba;  // the canvas's copy of the picture, width x height x 4 bytes
  int32_t width;
  int32_t height;
};

SCREEN screen = {};
SDLDPY_AUDIO* playing = nullptr;
uint8_t audio_bytes[audio_fill_bytes];
FRAME_COSTS costs = {};
double clock_start = -1;

}  // namespace

EM_JS(int, page_open_screen, (int width, int height),
      { return Module.page.openScreen(width, height) ? 1 : 0; });
EM_JS(void, page_draw, (const uint8_t* rgba, int width, int height),
      { Module.page.draw(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height); });
EM_JS(void, page_frame_drawn, (int scene_run, double milliseconds),
      { Module.page.frameDrawn(scene_run, milliseconds); });
// The next key event as kind | symbol << 8; 0 when none is waiting.
EM_JS(int, page_next_event, (), { return Module.page.nextEvent(); });
// The page is handed the way to ask for sound: a view of the bytes
// WEB_audio_fill wrote, read at once (the memory may move after).
EM_JS(int, page_open_audio, (int rate, int samples), {
  const fill = function(bytes) {
    const at = Module["_WEB_audio_fill"](bytes) >> 1;
    return HEAP16.subarray(at, at + (bytes >> 1));
  };
  return Module.page.openAudio(rate, samples, fill) ? 1 : 0;
});
EM_JS(void, page_close_audio, (), { Module.page.closeAudio(); });

namespace {

void draw_screen() {
  FRAME_COSTS_present(&costs);
  page_draw(screen.rgba, screen.width, screen.height);
}

void free_screen() {
  std::free(screen.rgba);
  screen = SCREEN{};
}

double now_milliseconds() {
  const double now = emscripten_get_now();
  if (clock_start < 0) clock_start = now;
  return now - clock_start;
}

}  // namespace

// The page calls this for every block of sound the browser asks for: the
// bytes are signed 16-bit little-endian mono, as the device callback writes.
extern "C" EMSCRIPTEN_KEEPALIVE uint8_t* WEB_audio_fill(int32_t length) {
  if (length > audio_fill_bytes) length = audio_fill_bytes;
  if (playing == nullptr) {
    std::memset(audio_bytes, 0, sizeof audio_bytes);
  } else {
    SDLDPY_audio_fill(playing, audio_bytes, length);
  }
  return audio_bytes;
}

int32_t BACKEND_screen_open(int32_t width, int32_t height, uint32_t, int32_t* bits_per_pixel) {
  free_screen();
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  screen.rgba = static_cast<uint8_t*>(std::calloc(bytes > 0 ? bytes : 1, 1));
  if (screen.rgba == nullptr || !page_open_screen(width, height)) {
    free_screen();
    return 0;
  }
  screen.width = width;
  screen.height = height;
  *bits_per_pixel = canvas_depth;
  return 1;
}

void BACKEND_screen_close() { free_screen(); }

void BACKEND_screen_show(const uint32_t* pixels, int32_t width, int32_t height) {
  if (screen.rgba == nullptr) return;
  CANVAS_PIXELS_from_xrgb(pixels, screen.rgba,
                          static_cast<size_t>(width) * static_cast<size_t>(height));
  draw_screen();
}

// A canvas cannot show the show's pixels in place: they are converted too.
void BACKEND_screen_show_direct(uint32_t* pixels, int32_t width, int32_t height) {
  BACKEND_screen_show(pixels, width, height);
}

void BACKEND_screen_show_converted(const uint32_t* pixels, int32_t stride, int32_t width,
                                   int32_t height) {
  if (screen.rgba == nullptr) return;
  for (int32_t y = 0; y < height; ++y) {
    CANVAS_PIXELS_from_xrgb(pixels + static_cast<size_t>(y) * stride,
                            screen.rgba + static_cast<size_t>(y) * screen.width * 4,
                            static_cast<size_t>(width));
  }
  draw_screen();
}

int32_t BACKEND_next_event(BACKEND_EVENT* event) {
  const int packed = page_next_event();
  if (packed == 0) {
    // The poll ends here; the next frame's drawing starts.
    FRAME_COSTS_poll_done(&costs, now_milliseconds());
    return 0;
  }
  event->kind = packed & 0xFF;
  event->symbol = packed >> 8;
  return 1;
}

int32_t BACKEND_audio_open(SDLDPY_AUDIO* audio) {
  if (!page_open_audio(SDLDPY_audio_rate, SDLDPY_audio_device_samples)) return 0;
  playing = audio;
  return 1;
}

void BACKEND_audio_close() {
  page_close_audio();
  playing = nullptr;
}

// The page asks for sound only between turns of the browser's event loop,
// that is while the show sleeps in its frame timer: never in the middle of
// anything the show does, so there is nothing to lock against.
void BACKEND_audio_lock() {}
void BACKEND_audio_unlock() {}

// Only the frame timer's tick reads the clock: that is where a frame's
// drawing ends.
uint32_t BACKEND_milliseconds() {
  const double now = now_milliseconds();
  FRAME_COST cost{};
  if (FRAME_COSTS_tick(&costs, now, &cost)) page_frame_drawn(cost.scene_run, cost.milliseconds);
  return static_cast<uint32_t>(now);
}

void BACKEND_sleep(uint32_t milliseconds) { emscripten_sleep(milliseconds); }
