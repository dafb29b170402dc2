// The platform back end of the programs: SDL 1.2.
#include <SDL.h>

#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/enlarge.h"
#include "platform/sdl_backend.h"
#include "platform/sdldpy.h"

namespace {

constexpr int32_t full_colour_depth = 32;
constexpr Uint32 red_mask = 0x00FF0000;
constexpr Uint32 green_mask = 0x0000FF00;
constexpr Uint32 blue_mask = 0x000000FF;

// The screen the show asked for: its picture's size and the flag word. Kept
// so that Alt+Enter can open the other kind of screen for the same picture.
struct REQUEST {
  int32_t width;
  int32_t height;
  uint32_t flags;
};

// Where the picture stands on the screen: enlarged `factor` times, its
// top-left corner at (x, y). A window holds it as it is; a full screen at
// the desktop's size holds it as large as whole pixels allow, centred.
struct PLACEMENT {
  int32_t factor;
  int32_t x;
  int32_t y;
};

struct DESKTOP {
  bool known;
  int32_t width;  // 0 x 0 when SDL could not tell
  int32_t height;
};

SDL_Surface* screen_surface = nullptr;
int32_t requested_depth = full_colour_depth;
bool use_flip = false;
// True when the screen holds 0x00RRGGBB pixels, so rows can be written
// straight in; any other screen is drawn through SDL's conversion.
bool screen_is_xrgb = false;
// The image's pixels seen as an SDL surface, kept from frame to frame so the
// converting present allocates nothing while the image stays the same.
SDL_Surface* image_view = nullptr;
// On a screen that is not XRGB the picture is enlarged here first, then
// converted by SDL; made with the screen, so no frame allocates.
SDL_Surface* enlarged_picture = nullptr;
REQUEST request = {0, 0, 0};
PLACEMENT placement = {1, 0, 0};
DESKTOP desktop = {false, 0, 0};
// The press of Alt+Enter was the screen's, not a key; so is its release.
bool return_release_is_ours = false;

const char* const unseen_drivers[] = {"offscreen", "dummy"};

void forget_surface(SDL_Surface*& surface) {
  if (surface != nullptr) SDL_FreeSurface(surface);
  surface = nullptr;
}

SDL_Surface* view_of(const uint32_t* pixels, int32_t stride, int32_t width, int32_t height) {
  if (image_view == nullptr || image_view->pixels != pixels || image_view->w != width ||
      image_view->h != height || image_view->pitch != stride * 4) {
    forget_surface(image_view);
    image_view =
        SDL_CreateRGBSurfaceFrom(const_cast<uint32_t*>(pixels), width, height, full_colour_depth,
                                 stride * 4, red_mask, green_mask, blue_mask, 0);
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

bool is_fullscreen(uint32_t flags) { return (flags & SDL_FULLSCREEN) != 0; }

// Where the SDL 1.2 layer scales the screen itself (a bigger window through
// SDL12COMPAT_WINDOW_SCALING) it filters unless told otherwise, which blurs
// the show's hard pixel edges. A choice the user made stays.
void prefer_sharp_scaling() { setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0); }

// SDL reports the desktop's size only before the first mode is set; later
// it may report the mode instead.
void learn_desktop_size() {
  if (desktop.known) return;
  desktop.known = true;
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  if (info == nullptr) return;
  desktop.width = info->current_w;
  desktop.height = info->current_h;
}

// A full screen at the desktop's own size covers it with or without a window
// manager, and leaves the enlarging to us: whole pixels, never filtered.
SDL_Surface* set_desktop_sized_mode(const REQUEST& asked) {
  if (ENLARGE_fit(desktop.width, desktop.height, asked.width, asked.height) < 1) return nullptr;
  return SDL_SetVideoMode(desktop.width, desktop.height, requested_depth, asked.flags);
}

PLACEMENT centred(int32_t factor, const REQUEST& asked) {
  return PLACEMENT{factor, (screen_surface->w - asked.width * factor) / 2,
                   (screen_surface->h - asked.height * factor) / 2};
}

// False when the screen cannot hold the picture even once.
bool place_picture(const REQUEST& asked) {
  const int32_t factor =
      ENLARGE_fit(screen_surface->w, screen_surface->h, asked.width, asked.height);
  if (factor < 1) return false;
  placement = centred(factor, asked);
  if (factor > 1 && !screen_is_xrgb) {
    enlarged_picture =
        SDL_CreateRGBSurface(SDL_SWSURFACE, asked.width * factor, asked.height * factor,
                             full_colour_depth, red_mask, green_mask, blue_mask, 0);
    if (enlarged_picture == nullptr) placement = centred(1, asked);
  }
  return true;
}

bool picture_covers_screen(const REQUEST& asked) {
  return asked.width * placement.factor == screen_surface->w &&
         asked.height * placement.factor == screen_surface->h;
}

// Presents draw the picture only: the border round it is made black once,
// in every buffer of the screen.
void blacken_border(const REQUEST& asked) {
  if (picture_covers_screen(asked)) return;
  for (int buffer = 0; buffer < (use_flip ? 2 : 1); ++buffer) {
    SDL_FillRect(screen_surface, nullptr, 0);
    update_screen();
  }
}

bool open_screen(const REQUEST& asked) {
  forget_surface(image_view);
  forget_surface(enlarged_picture);
  forget_surface(screen_surface);
  if (is_fullscreen(asked.flags)) screen_surface = set_desktop_sized_mode(asked);
  if (screen_surface == nullptr) {
    screen_surface = SDL_SetVideoMode(asked.width, asked.height, requested_depth, asked.flags);
  }
  if (screen_surface == nullptr) return false;
  refuse_unseen_screen();
  SDL_WM_SetCaption("QUOMBRAX", "QUOMBRAX");
  use_flip = (screen_surface->flags & SDL_DOUBLEBUF) != 0;
  screen_is_xrgb = is_xrgb(screen_surface);
  if (!place_picture(asked)) {
    screen_surface = nullptr;
    return false;
  }
  SDL_ShowCursor(is_fullscreen(asked.flags) ? SDL_DISABLE : SDL_ENABLE);
  blacken_border(asked);
  return true;
}

// Alt+Enter: the other kind of screen for the same picture. Where it cannot
// be had, the screen is opened again as it was, without a word.
void switch_fullscreen() {
  if (screen_surface == nullptr) return;
  REQUEST other = request;
  other.flags ^= SDL_FULLSCREEN;
  if (open_screen(other)) {
    request = other;
  } else {
    open_screen(request);
  }
}

bool is_alt_enter(const SDL_KeyboardEvent& key) {
  return key.keysym.sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT) != 0;
}

// Whole screen pixels into place: straight into the screen's memory when it
// holds XRGB pixels, else enlarged apart and converted by SDL.
void draw_enlarged(const uint32_t* pixels, int32_t stride, int32_t width, int32_t height) {
  const int32_t factor = placement.factor;
  if (enlarged_picture != nullptr) {
    ENLARGE_copy(pixels, stride, width, height, factor,
                 static_cast<uint8_t*>(enlarged_picture->pixels),
                 static_cast<size_t>(enlarged_picture->pitch));
    SDL_Rect from = {0, 0, static_cast<Uint16>(width * factor),
                     static_cast<Uint16>(height * factor)};
    SDL_Rect to = {static_cast<Sint16>(placement.x), static_cast<Sint16>(placement.y), 0, 0};
    SDL_UpperBlit(enlarged_picture, &from, screen_surface, &to);
  } else {
    SDL_LockSurface(screen_surface);
    const auto pitch = static_cast<size_t>(screen_surface->pitch);
    uint8_t* origin = static_cast<uint8_t*>(screen_surface->pixels) +
                      static_cast<size_t>(placement.y) * pitch +
                      static_cast<size_t>(placement.x) * 4;
    ENLARGE_copy(pixels, stride, width, height, factor, origin, pitch);
    SDL_UnlockSurface(screen_surface);
  }
  update_screen();
}

// A picture shown as it is on a screen of another pixel format.
void draw_converted(const uint32_t* pixels, int32_t stride, int32_t width, int32_t height) {
  SDL_Surface* view = view_of(pixels, stride, width, height);
  if (view == nullptr) return;
  SDL_Rect to = {static_cast<Sint16>(placement.x), static_cast<Sint16>(placement.y), 0, 0};
  SDL_UpperBlit(view, nullptr, screen_surface, &to);
  update_screen();
}

void draw(const uint32_t* pixels, int32_t stride, int32_t width, int32_t height) {
  if (screen_is_xrgb || enlarged_picture != nullptr) {
    draw_enlarged(pixels, stride, width, height);
  } else {
    draw_converted(pixels, stride, width, height);
  }
}

}  // namespace

void SDL_BACKEND_request_depth(int32_t depth) { requested_depth = depth; }

int32_t BACKEND_screen_open(int32_t width, int32_t height, uint32_t flags,
                            int32_t* bits_per_pixel) {
  prefer_sharp_scaling();
  learn_desktop_size();
  request = REQUEST{width, height, flags};
  if (!open_screen(request)) return 0;
  *bits_per_pixel = screen_surface->format->BitsPerPixel;
  return 1;
}

void BACKEND_screen_close() {
  forget_surface(image_view);
  forget_surface(enlarged_picture);
  forget_surface(screen_surface);
}

void BACKEND_screen_show(const uint32_t* pixels, int32_t width, int32_t height) {
  if (screen_surface == nullptr) return;
  draw(pixels, width, width, height);
}

void BACKEND_screen_show_direct(uint32_t* pixels, int32_t width, int32_t height) {
  if (screen_surface == nullptr) return;
  const bool lendable = screen_is_xrgb && placement.factor == 1 && placement.x == 0 &&
                        placement.y == 0 && screen_surface->pitch == width * 4;
  if (!lendable) {
    draw(pixels, width, width, height);
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
  draw(pixels, stride, width, height);
}

int32_t BACKEND_next_event(BACKEND_EVENT* event) {
  SDL_Event sdl_event;
  if (!SDL_PollEvent(&sdl_event)) return 0;
  event->kind = BACKEND_EVENT_OTHER;
  event->symbol = 0;
  switch (sdl_event.type) {
    case SDL_KEYDOWN:
      if (is_alt_enter(sdl_event.key)) {
        return_release_is_ours = true;
        switch_fullscreen();
        break;
      }
      event->kind = BACKEND_EVENT_KEY_DOWN;
      event->symbol = static_cast<int32_t>(sdl_event.key.keysym.sym);
      break;
    case SDL_KEYUP:
      if (sdl_event.key.keysym.sym == SDLK_RETURN && return_release_is_ours) {
        return_release_is_ours = false;
        break;
      }
      event->kind = BACKEND_EVENT_KEY_UP;
      event->symbol = static_cast<int32_t>(sdl_event.key.keysym.sym);
      break;
    case SDL_QUIT:
      event->kind = BACKEND_EVENT_QUIT;
      break;
    default:
      break;
  }
  return 1;
}

int32_t BACKEND_audio_open(SDLDPY_AUDIO* audio) {
  prefer_sharp_scaling();
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
