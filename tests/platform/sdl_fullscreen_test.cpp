// The fullscreen program's screen on SDL itself, with SDL's dummy driver
// named by the test: its desktop is 1024 x 768, so the 256 x 256 picture is
// shown three times larger, centred on black, and Alt+Enter switches to a
// 256 x 256 window and back.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "imaging/img.h"
#include "platform/sdl_backend.h"
#include "platform/sdldpy.h"

const uint32_t SDLDPY_program_video_flags = SDLDPY_fullscreen_flags;

namespace {

constexpr int32_t desktop_width = 1024;
constexpr int32_t desktop_height = 768;
constexpr int32_t factor = 3;
constexpr int32_t left = (desktop_width - 256 * factor) / 2;

// Distinct in every pixel, never black.
uint32_t picture_pixel(int32_t x, int32_t y) {
  return static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(y) << 8 |
         static_cast<uint32_t>((x ^ y) & 0xFE) | 1u;
}

uint32_t screen_pixel(const SDL_Surface* screen, int32_t x, int32_t y) {
  const auto* row = static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch;
  if (screen->format->BytesPerPixel == 2) return reinterpret_cast<const uint16_t*>(row)[x];
  return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

uint16_t as_rgb565(uint32_t pixel) {
  return static_cast<uint16_t>((((pixel >> 16) & 0xFF) >> 3) << 11 |
                               (((pixel >> 8) & 0xFF) >> 2) << 5 | ((pixel & 0xFF) >> 3));
}

class SdlFullscreen : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    image = IMG_create();
    IMG_resize(image, 256, 256);
    for (int32_t y = 0; y < 256; ++y) {
      for (int32_t x = 0; x < 256; ++x) image->pixels[y * 256 + x] = picture_pixel(x, y);
    }
  }
  void TearDown() override {
    SDLDPY_keys_destroy(&keys);
    SDLDPY_destroy(&display);
    IMG_destroy(&image);
    SDL_BACKEND_request_depth(32);
  }
  void push_key(Uint8 type, SDLKey symbol, SDLMod modifiers) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = symbol;
    event.key.keysym.mod = modifiers;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
  }
  void alt_enter() {
    push_key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
    push_key(SDL_KEYUP, SDLK_RETURN, KMOD_LALT);
    SDLDPY_keys_poll(keys);
  }
  // Counts the screen pixels that are not what a picture enlarged `scale`
  // times at (x0, y0) on black should give, converted by `as_screen`.
  template <typename CONVERT>
  int wrong_pixels(int32_t scale, int32_t x0, int32_t y0, CONVERT as_screen) {
    SDL_Surface* screen = SDL_GetVideoSurface();
    int wrong = 0;
    for (int32_t y = 0; y < screen->h; ++y) {
      for (int32_t x = 0; x < screen->w; ++x) {
        const int32_t px = x - x0;
        const int32_t py = y - y0;
        const bool inside = px >= 0 && py >= 0 && px < 256 * scale && py < 256 * scale;
        const uint32_t expected = inside ? as_screen(picture_pixel(px / scale, py / scale)) : 0;
        wrong += screen_pixel(screen, x, y) != expected;
      }
    }
    return wrong;
  }

  SDLDPY* display = nullptr;
  SDLDPY_KEYS* keys = nullptr;
  IMG* image = nullptr;
};

const auto as_is = [](uint32_t pixel) { return pixel; };

TEST_F(SdlFullscreen, ThePictureIsEnlargedByWholePixelsAndCentredOnBlack) {
  display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->width, 256) << "the show's screen keeps the size it asked for";
  EXPECT_EQ(display->height, 256);
  SDL_Surface* screen = SDL_GetVideoSurface();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->w, desktop_width);
  EXPECT_EQ(screen->h, desktop_height);
  EXPECT_NE(screen->flags & SDL_FULLSCREEN, 0u);
  SDLDPY_present(display, image);
  EXPECT_EQ(wrong_pixels(factor, left, 0, as_is), 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << "no pointer over a full screen";
}

TEST_F(SdlFullscreen, EveryPresentDrawsTheEnlargedPicture) {
  display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  SDLDPY_present_converted(display, image);
  EXPECT_EQ(wrong_pixels(factor, left, 0, as_is), 0) << "converting present";
  SDL_FillRect(SDL_GetVideoSurface(), nullptr, 0);
  SDLDPY_present_direct(display, image);
  EXPECT_EQ(wrong_pixels(factor, left, 0, as_is), 0) << "a present without a copy cannot enlarge";
}

TEST_F(SdlFullscreen, ASixteenBitScreenGetsTheEnlargedPictureConverted) {
  SDL_BACKEND_request_depth(16);
  display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  SDL_Surface* screen = SDL_GetVideoSurface();
  ASSERT_EQ(screen->format->BitsPerPixel, 16);
  ASSERT_EQ(screen->format->Rmask, 0xF800u) << "the test expects RGB565";
  SDLDPY_present(display, image);
  EXPECT_EQ(wrong_pixels(factor, left, 0, as_rgb565), 0);
}

TEST_F(SdlFullscreen, AltEnterSwitchesToA256WindowAndBackWithoutAKey) {
  display = SDLDPY_create();
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  keys->buffer[0] = 'x';  // a key the show has not handled yet
  alt_enter();
  EXPECT_EQ(keys->buffer[0], 'x') << "neither the press nor the release reaches the key state";
  SDL_Surface* screen = SDL_GetVideoSurface();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->w, 256);
  EXPECT_EQ(screen->h, 256);
  EXPECT_EQ(screen->flags & SDL_FULLSCREEN, 0u);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE) << "the pointer shows over a window";
  EXPECT_EQ(display->width, 256);
  SDLDPY_present(display, image);
  EXPECT_EQ(wrong_pixels(1, 0, 0, as_is), 0) << "in the window";

  alt_enter();
  screen = SDL_GetVideoSurface();
  EXPECT_EQ(screen->w, desktop_width);
  EXPECT_NE(screen->flags & SDL_FULLSCREEN, 0u);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  SDLDPY_present(display, image);
  EXPECT_EQ(wrong_pixels(factor, left, 0, as_is), 0) << "full screen again";
  EXPECT_EQ(keys->buffer[0], 'x');
}

TEST_F(SdlFullscreen, EnterAloneAndAltAloneStayAsTheyWere) {
  display = SDLDPY_create();
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  push_key(SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE);
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 13) << "Enter is a key like any other";
  keys->buffer[0] = 0;
  push_key(SDL_KEYDOWN, SDLK_LALT, KMOD_LALT);
  push_key(SDL_KEYUP, SDLK_LALT, KMOD_NONE);
  push_key(SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE);
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 13) << "Alt let go before Enter";
  EXPECT_NE(SDL_GetVideoSurface()->flags & SDL_FULLSCREEN, 0u) << "no switch";
}

// The scaling the SDL 1.2 layer does itself (a bigger window) is sharp
// unless the user chose otherwise.
TEST_F(SdlFullscreen, NearestScalingIsChosenUnlessTheUserChoseOne) {
  unsetenv("SDL12COMPAT_SCALE_METHOD");
  display = SDLDPY_create();
  const char* chosen = std::getenv("SDL12COMPAT_SCALE_METHOD");
  ASSERT_NE(chosen, nullptr);
  EXPECT_STREQ(chosen, "nearest");
  SDLDPY_destroy(&display);
  setenv("SDL12COMPAT_SCALE_METHOD", "linear", 1);
  display = SDLDPY_create();
  EXPECT_STREQ(std::getenv("SDL12COMPAT_SCALE_METHOD"), "linear");
  unsetenv("SDL12COMPAT_SCALE_METHOD");
}

}  // namespace
