// The platform back end of the programs: SDL 1.2.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "platform/backend.h"
#include "platform/sdl_backend.h"
#include "platform/sdldpy.h"

namespace {

constexpr int32_t full_colour_depth = 32;
constexpr Uint32 red_mask = 0x00FF0000;
constexpr Uint32 green_mask = 0x0000FF00;
constexpr Uint32 blue_mask = 0x000000FF;

SDL_Surface* screen_surface = nullptr;
int32_t requested_depth = full_colour_depth;
bool use_flip = false;
// True when the screen holds 0x00RRGGBB pixels, so rows can be copied as
// they are; any other screen is drawn through SDL's conversion.
bool screen_is_xrgb = false;
// The image's pixels seen as an SDL surface, kept from frame to frame so the
// converting present allocates nothing while the image stays the same.
SDL_Surface* image_view = nullptr;

const char* const unseen_drivers[] = {"offscreen", "dummy"};

void forget_image_view() {
  if (image_view != nullptr) SDL_FreeSurface(image_view);
  image_view = nullptr;
}

SDL_Surface* view_of(const uint32_t* pixels, int32_t stride, int32_t width, int32_t height) {
  if (image_view == nullptr || image_view->pixels != pixels || image_view->w != width ||
      image_view->h != height || image_view->pitch != stride * 4) {
    forget_image_view();
    image_view = SDL_CreateRGBSurfaceFrom(const_cast<uint32_t*>(pixels), width, height,
                                          full_colour_depth, stride * 4, red_mask, green_mask,
                                          blue_mask, 0);
  }
  return image_view;
}

void update_screen() {
  if (use_flip) {
    SDL_Flip(screen_surface);
  } else {
    SDL_UpdateRect(screen_surface, 0, 0, 0, 0);
  }
}

bool driver_was_asked_for(const char* driver) {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  return asked != nullptr && strcasecmp(asked, driver) == 0;
}

// With no display and no driver named, SDL falls back to a driver that
// shows nothing; the show would then run unseen for ever.
void refuse_unseen_screen() {
  char name[32] = "";
  if (SDL_VideoDriverName(name, sizeof name) == nullptr) return;
  for (const char* unseen : unseen_drivers) {
    if (strcasecmp(name, unseen) == 0 && !driver_was_asked_for(name)) {
      std::fprintf(stderr,
                   "quombrax: no display: SDL found no screen to open (only its \"%s\" "
                   "driver); set DISPLAY or run it under an X server\n",
                   name);
      std::exit(1);
    }
  }
}

bool is_xrgb(const SDL_Surface* surface) {
  const SDL_PixelFormat* format = surface->format;
  return format->BitsPerPixel == full_colour_depth && format->Rmask == red_mask &&
         format->Gmask == green_mask && format->Bmask == blue_mask;
}

}  // namespace

void SDL_BACKEND_request_depth(int32_t depth) { requested_depth = depth; }

int32_t BACKEND_screen_open(int32_t width, int32_t height, uint32_t flags,
                            int32_t* bits_per_pixel) {
  forget_image_view();
  if (screen_surface != nullptr) SDL_FreeSurface(screen_surface);
  screen_surface = SDL_SetVideoMode(width, height, requested_depth, flags);
  if (screen_surface == nullptr) return 0;
  refuse_unseen_screen();
  SDL_WM_SetCaption("QUOMBRAX", "QUOMBRAX");
  *bits_per_pixel = screen_surface->format->BitsPerPixel;
  use_flip = (screen_surface->flags & SDL_DOUBLEBUF) != 0;
  screen_is_xrgb = is_xrgb(screen_surface);
  return 1;
}

void BACKEND_screen_close() {
  forget_image_view();
  if (screen_surface != nullptr) SDL_FreeSurface(screen_surface);
  screen_surface = nullptr;
}

void BACKEND_screen_show(const uint32_t* pixels, int32_t width, int32_t height) {
  if (screen_surface == nullptr) return;
  if (!screen_is_xrgb) {
    BACKEND_screen_show_converted(pixels, width, width, height);
    return;
  }
  SDL_LockSurface(screen_surface);
  auto* rows = static_cast<uint8_t*>(screen_surface->pixels);
  const size_t row_bytes = static_cast<size_t>(width) * 4;
  if (screen_surface->pitch == static_cast<int>(row_bytes)) {
    std::memcpy(rows, pixels, row_bytes * static_cast<size_t>(height));
  } else {
    for (int32_t y = 0; y < height; ++y) {
      std::memcpy(rows + static_cast<size_t>(y) * screen_surface->pitch,
                  pixels + static_cast<size_t>(y) * width, row_bytes);
    }
  }
  SDL_UnlockSurface(screen_surface);
  update_screen();
}

void BACKEND_screen_show_direct(uint32_t* pixels, int32_t width, int32_t height) {
  if (screen_surface == nullptr) return;
  if (!screen_is_xrgb || screen_surface->pitch != width * 4) {
    BACKEND_screen_show_converted(pixels, width, width, height);
    return;
  }
  SDL_LockSurface(screen_surface);
  void* own_pixels = screen_surface->pixels;
  screen_surface->pixels = pixels;
  update_screen();
  screen_surface->pixels = own_pixels;
  SDL_UnlockSurface(screen_surface);
}

void BACKEND_screen_show_converted(const uint32_t* pixels, int32_t stride, int32_t width,
                                   int32_t height) {
  if (screen_surface == nullptr) return;
  SDL_Surface* view = view_of(pixels, stride, width, height);
  if (view == nullptr) return;
  SDL_UpperBlit(view, nullptr, screen_surface, nullptr);
  update_screen();
}

int32_t BACKEND_next_event(BACKEND_EVENT* event) {
  SDL_Event sdl_event;
  if (!SDL_PollEvent(&sdl_event)) return 0;
  event->symbol = 0;
  switch (sdl_event.type) {
    case SDL_KEYDOWN:
      event->kind = BACKEND_EVENT_KEY_DOWN;
      event->symbol = static_cast<int32_t>(sdl_event.key.keysym.sym);
      break;
    case SDL_KEYUP:
      event->kind = BACKEND_EVENT_KEY_UP;
      event->symbol = static_cast<int32_t>(sdl_event.key.keysym.sym);
      break;
    case SDL_QUIT:
      event->kind = BACKEND_EVENT_QUIT;
      break;
    default:
      event->kind = BACKEND_EVENT_OTHER;
      break;
  }
  return 1;
}

int32_t BACKEND_audio_open(SDLDPY_AUDIO* audio) {
  if (SDL_Init(SDL_INIT_EVERYTHING) != 0) return 0;
  SDL_AudioSpec desired{};
  desired.freq = SDLDPY_audio_rate;
  desired.format = AUDIO_S16LSB;
  desired.channels = 1;
  desired.samples = SDLDPY_audio_device_samples;
  desired.callback = SDLDPY_audio_fill;
  desired.userdata = audio;
  if (SDL_OpenAudio(&desired, nullptr) < 0) return 0;
  SDL_PauseAudio(0);
  return 1;
}

// SDL_CloseAudio joins the device thread, which takes the device lock on
// every turn, paused or not: closing while holding the lock deadlocks. The
// lock is taken and given back first, so a callback that was running has
// finished, then the device is closed unlocked; it calls back no more.
void BACKEND_audio_close() {
  SDL_PauseAudio(1);
  SDL_LockAudio();
  SDL_UnlockAudio();
  SDL_CloseAudio();
}

void BACKEND_audio_lock() { SDL_LockAudio(); }

void BACKEND_audio_unlock() { SDL_UnlockAudio(); }

uint32_t BACKEND_milliseconds() { return SDL_GetTicks(); }

void BACKEND_sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }
