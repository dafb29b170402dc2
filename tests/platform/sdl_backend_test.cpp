// SDLDPY on SDL itself, with SDL's dummy and disk drivers named by the test.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "containers/array.h"
#include "containers/sample.h"
#include "imaging/img.h"
#include "platform/sdl_backend.h"
#include "platform/sdldpy.h"

const uint32_t SDLDPY_program_video_flags = SDLDPY_window_flags;

namespace {

IMG* colourful_image() {
  IMG* image = IMG_create();
  IMG_resize(image, 256, 256);
  for (int32_t y = 0; y < 256; ++y) {
    for (int32_t x = 0; x < 256; ++x) {
      image->pixels[y * 256 + x] = (uint32_t(x) << 16) | (uint32_t(y) << 8) | uint32_t(x ^ y);
    }
  }
  return image;
}

class SdlDisplay : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    image = colourful_image();
  }
  void TearDown() override {
    SDLDPY_keys_destroy(&keys);
    SDLDPY_destroy(&display);
    IMG_destroy(&image);
  }
  void push(Uint8 type, int symbol) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
      event.key.type = type;
      event.key.keysym.sym = static_cast<SDLKey>(symbol);
    }
    ASSERT_EQ(SDL_PushEvent(&event), 0);
  }

  SDLDPY* display = nullptr;
  SDLDPY_KEYS* keys = nullptr;
  IMG* image = nullptr;
};

TEST_F(SdlDisplay, OpensA32BitScreenCaptionedQuombrax) {
  display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->width, 256);
  EXPECT_EQ(display->height, 256);
  EXPECT_EQ(display->bits_per_pixel, 32);
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  ASSERT_NE(title, nullptr);
  EXPECT_STREQ(title, "QUOMBRAX");
  EXPECT_STREQ(icon, "QUOMBRAX");
}

TEST_F(SdlDisplay, PresentPutsTheImageOnTheScreenSurface) {
  display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  SDLDPY_present(display, image);
  SDL_Surface* screen = SDL_GetVideoSurface();
  ASSERT_NE(screen, nullptr);
  ASSERT_EQ(screen->format->BitsPerPixel, 32);
  int mismatches = 0;
  for (int y = 0; y < 256; ++y) {
    auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(screen->pixels) +
                                                  y * screen->pitch);
    for (int x = 0; x < 256; ++x) mismatches += (row[x] & 0xFFFFFF) != image->pixels[y * 256 + x];
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(SdlDisplay, TheDirectPresentLendsTheImageAndTakesItBack) {
  display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  SDL_Surface* screen = SDL_GetVideoSurface();
  void* own_pixels = screen->pixels;
  std::memset(own_pixels, 0, static_cast<size_t>(screen->pitch) * 256);
  SDLDPY_present_direct(display, image);
  EXPECT_EQ(screen->pixels, own_pixels);
  EXPECT_NE(static_cast<const uint32_t*>(own_pixels)[256 * 3 + 5], image->pixels[256 * 3 + 5])
      << "shown without a copy into the surface";
  SDLDPY_present_converted(display, image);
  EXPECT_EQ(static_cast<const uint32_t*>(own_pixels)[256 * 3 + 5] & 0xFFFFFF,
            image->pixels[256 * 3 + 5])
      << "the converting present draws into the surface";
}

TEST_F(SdlDisplay, ASixteenBitScreenIsDrawnThroughAConversion) {
  SDL_BACKEND_request_depth(16);
  display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  ASSERT_EQ(display->bits_per_pixel, 16);
  SDLDPY_present(display, image);
  SDL_Surface* screen = SDL_GetVideoSurface();
  ASSERT_EQ(screen->format->Rmask, 0xF800u) << "the test expects RGB565";
  int mismatches = 0;
  for (int y = 0; y < 256; ++y) {
    auto* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(screen->pixels) +
                                                  y * screen->pitch);
    for (int x = 0; x < 256; ++x) {
      uint32_t p = image->pixels[y * 256 + x];
      auto expected = static_cast<uint16_t>((((p >> 16) & 0xFF) >> 3) << 11 |
                                            (((p >> 8) & 0xFF) >> 2) << 5 | ((p & 0xFF) >> 3));
      mismatches += row[x] != expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
  SDL_BACKEND_request_depth(32);
}

TEST_F(SdlDisplay, KeyEventsBecomeKeyCodes) {
  display = SDLDPY_create();
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  struct CASE {
    const char* what;
    std::vector<std::pair<Uint8, int>> events;
    uint8_t code;
  } cases[] = {
      {"q", {{SDL_KEYDOWN, SDLK_q}}, 113},
      {"Escape", {{SDL_KEYDOWN, SDLK_ESCAPE}}, 27},
      {"a tap: pressed and released", {{SDL_KEYDOWN, SDLK_SPACE}, {SDL_KEYUP, SDLK_SPACE}}, 32},
      {"F2 is no Escape", {{SDL_KEYDOWN, SDLK_F2}}, 0},
      {"right Ctrl is no 1", {{SDL_KEYDOWN, SDLK_RCTRL}}, 0},
      {"mouse motion is discarded", {{SDL_KEYDOWN, SDLK_8}, {SDL_MOUSEMOTION, 0}}, 56},
  };
  for (const CASE& c : cases) {
    keys->buffer[0] = 0;
    for (const auto& [type, symbol] : c.events) push(type, symbol);
    SDLDPY_keys_poll(keys);
    EXPECT_EQ(keys->buffer[0], c.code) << c.what;
  }
  keys->buffer[0] = 0;
  push(SDL_QUIT, 0);
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], SDLDPY_quit_key) << "closing the window";
}

// With no X display and no driver named, SDL would fall back to a screen no
// one sees; the program says so and stops instead.
TEST(SdlNoDisplay, RefusesToRunUnseen) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        SDLDPY_create();
        std::exit(7);
      },
      testing::ExitedWithCode(1), "quombrax: no display: ");
}

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Waits until the device has played every queued buffer; gives up after a
// generous while so a broken device fails the test instead of hanging it.
bool played_out(SDLDPY_AUDIO* audio) {
  for (int i = 0; i < 400; ++i) {
    SDLDPY_audio_lock(audio);
    int32_t waiting = audio->queue->length;
    SDLDPY_audio_unlock(audio);
    if (waiting == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

TEST(SdlAudio, TheDevicePlaysTheQueuedBuffersInOrder) {
  // One file a process: two test runs side by side must not play into each other's.
  std::string file =
      testing::TempDir() + "quombrax_disk_audio_" + std::to_string(getpid()) + ".raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  SDLDPY_AUDIO* audio = SDLDPY_audio_open();
  ASSERT_NE(audio, nullptr);
  SAMPLE* first = SAMPLE_create();
  SAMPLE* second = SAMPLE_create();
  SAMPLE_set_length(first, 5000);
  SAMPLE_set_length(second, 3000);
  for (int32_t i = 0; i < 5000; ++i) SAMPLE_set(first, 1 + i * 3, i);
  for (int32_t i = 0; i < 3000; ++i) SAMPLE_set(second, -1 - i * 5, i);
  SDLDPY_audio_queue(audio, first);
  SDLDPY_audio_queue(audio, second);
  ASSERT_TRUE(played_out(audio));
  SDLDPY_audio_close(&audio);
  EXPECT_EQ(audio, nullptr);

  // The disk driver writes our mono stream as stereo: each sample twice.
  // The device starts playing (silence) as it opens, before anything is
  // queued, so the sound starts at its first non-zero byte.
  std::vector<uint8_t> expected;
  auto put = [&expected](int32_t v) {
    for (int channel = 0; channel < 2; ++channel) {
      expected.push_back(static_cast<uint8_t>(v & 0xFF));
      expected.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
  };
  for (int32_t i = 0; i < 5000; ++i) put(1 + i * 3);
  for (int32_t i = 0; i < 3000; ++i) put(-1 - i * 5);
  std::vector<uint8_t> written = read_file(file);
  auto start = std::find_if(written.begin(), written.end(), [](uint8_t b) { return b != 0; });
  ASSERT_EQ((start - written.begin()) % 4, 0) << "whole stereo frames of silence first";
  ASSERT_GE(written.end() - start, static_cast<long>(expected.size()));
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), start));
  EXPECT_TRUE(std::all_of(start + static_cast<long>(expected.size()), written.end(), [](uint8_t b) {
    return b == 0;
  })) << "silence after the queue ran dry";
  SAMPLE_destroy(&first);
  SAMPLE_destroy(&second);
  std::remove(file.c_str());
}

}  // namespace
