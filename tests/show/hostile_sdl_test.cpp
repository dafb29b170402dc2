// The show on SDL itself, on machines that are short of something: no sound
// device at all, and an X screen of 16 bits per pixel.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/img.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

const uint32_t SDLDPY_program_video_flags = SDLDPY_window_flags;

// SDL and the libraries it opens keep memory they never give back; the show's
// own memory is checked on the capture back end.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libSDL2-2.0.so\nleak:libSDL-1.2.so\nleak:libdbus-1.so\nleak:libX11.so\n";
}

namespace {

constexpr int32_t frames = 60;
constexpr uint64_t fnv_offset = 1469598103934665603ull;
constexpr uint64_t fnv_prime = 1099511628211ull;

struct SILENT_RUN {
  int status = -1;
  int32_t sound = -1;  // 1 when the show had a sound device
  uint64_t frames_hash = 0;
};

uint64_t hash_screen(uint64_t hash) {
  const SDL_Surface* screen = SDL_GetVideoSurface();
  if (screen == nullptr) return hash;
  const auto* rows = static_cast<const uint8_t*>(screen->pixels);
  const size_t row_bytes = static_cast<size_t>(screen->w) * screen->format->BytesPerPixel;
  for (int y = 0; y < screen->h; ++y) {
    const uint8_t* row = rows + static_cast<size_t>(y) * screen->pitch;
    for (size_t i = 0; i < row_bytes; ++i) hash = (hash ^ row[i]) * fnv_prime;
  }
  return hash;
}

[[noreturn]] void run_child(const char* audio_driver, int pipe) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", audio_driver, 1);
  QUOMBRAX_start_up();
  SILENT_RUN run;
  run.sound = QUOMBRAX_state.audio != nullptr ? 1 : 0;
  run.frames_hash = fnv_offset;
  // Scene one's frames; the music steps and mixes whether or not it is heard.
  QUOMBRAX_fade_out();
  for (int32_t frame = 0; frame < frames; ++frame) {
    QUOMBRAX_end_frame();
    run.frames_hash = hash_screen(run.frames_hash);
    IMG_fade(QUOMBRAX_state.screen_image, 1);
  }
  if (write(pipe, &run, sizeof run) != sizeof run) _exit(90);
  QUOMBRAX_handle_key('q');
  _exit(91);
}

SILENT_RUN run_with_audio_driver(const char* audio_driver) {
  SILENT_RUN run;
  int fds[2];
  if (pipe(fds) != 0) return run;
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    run_child(audio_driver, fds[1]);
  }
  close(fds[1]);
  if (read(fds[0], &run, sizeof run) != sizeof run) run.sound = -1;
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(NoSoundDevice, TheShowRunsSilentWithTheSamePicturesAndQuitsWithStatusZero) {
  const SILENT_RUN heard = run_with_audio_driver("dummy");
  const SILENT_RUN silent = run_with_audio_driver("no-such-sound-driver");
  EXPECT_EQ(heard.status, 0);
  EXPECT_EQ(heard.sound, 1) << "SDL's dummy sound device opens";
  EXPECT_EQ(silent.status, 0);
  EXPECT_EQ(silent.sound, 0) << "no device could be opened";
  EXPECT_EQ(silent.frames_hash, heard.frames_hash);
}

// Within what 5, 6 and 5 bits can hold of an 8-bit channel, whether the
// conversion cuts or rounds.
bool within_565(uint32_t wanted, uint16_t shown) {
  const int32_t channels[3][3] = {
      {static_cast<int32_t>((wanted >> 16) & 0xFF), (shown >> 11) & 0x1F, 5},
      {static_cast<int32_t>((wanted >> 8) & 0xFF), (shown >> 5) & 0x3F, 6},
      {static_cast<int32_t>(wanted & 0xFF), shown & 0x1F, 5},
  };
  for (const auto& [eight_bit, narrow, bits] : channels) {
    const int32_t step = 256 >> bits;
    const int32_t widened = narrow * step;
    if (eight_bit < widened - step / 2 || eight_bit >= widened + step + step / 2) return false;
  }
  return true;
}

const char* const on_xvfb = "QUOMBRAX_ON_16_BIT_XVFB";

std::vector<uint8_t> read_bytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    uint8_t chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
      bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(file);
  }
  std::remove(path.c_str());
  return bytes;
}

// A window dump of a 16-bit X screen: the header's big-endian 32-bit fields,
// a colour map, then rows of 16-bit pixels in the byte order it names.
struct DUMP_565 {
  uint32_t depth = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t masks[3] = {};
  std::vector<uint16_t> pixels;
};

bool read_dump(const std::vector<uint8_t>& file, DUMP_565* dump) {
  auto field = [&file](size_t index) {
    const uint8_t* p = file.data() + index * 4;
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
  };
  if (file.size() < 100) return false;
  dump->depth = field(3);
  dump->width = field(4);
  dump->height = field(5);
  const bool little_endian = field(7) == 0;
  const uint32_t bits_per_pixel = field(11);
  const uint32_t bytes_per_line = field(12);
  for (int i = 0; i < 3; ++i) dump->masks[i] = field(14 + static_cast<size_t>(i));
  const size_t start = field(0) + size_t{field(19)} * 12;
  if (bits_per_pixel != 16 || file.size() < start + size_t{bytes_per_line} * dump->height) {
    return false;
  }
  for (uint32_t y = 0; y < dump->height; ++y) {
    for (uint32_t x = 0; x < dump->width; ++x) {
      const uint8_t* p = file.data() + start + size_t{y} * bytes_per_line + x * 2;
      dump->pixels.push_back(little_endian ? uint16_t(p[1] << 8 | p[0])
                                           : uint16_t(p[0] << 8 | p[1]));
    }
  }
  return true;
}

// Runs inside the virtual X server that the test below starts: the show's
// picture is presented, and the window's pixels are read back from the
// X server.
TEST(OnSixteenBitScreen, TheShowsPictureKeepsItsColoursWithinTheRounding) {
  if (std::getenv(on_xvfb) == nullptr) GTEST_SKIP() << "runs on a 16-bit X screen only";
  unsetenv("SDL_VIDEODRIVER");
  QUOMBRAX_start_up();
  const QUOMBRAX_STATE& state = QUOMBRAX_state;
  const IMG* picture = state.roll_texture;
  IMG* screen_image = state.screen_image;
  ASSERT_EQ(picture->width, screen_image->width);
  ASSERT_EQ(picture->height, screen_image->height);
  const int32_t count = picture->width * picture->height;
  std::memcpy(screen_image->pixels, picture->pixels, static_cast<size_t>(count) * 4);
  // A few presents while the window comes up.
  for (int i = 0; i < 10; ++i) {
    SDLDPY_present(state.display, screen_image);
    SDL_PumpEvents();
    SDL_Delay(50);
  }
  const std::string path = testing::TempDir() + "quombrax_16_bit_" + std::to_string(getpid());
  ASSERT_EQ(std::system(("xwd -silent -name QUOMBRAX >'" + path + "'").c_str()), 0);
  DUMP_565 dump;
  ASSERT_TRUE(read_dump(read_bytes(path), &dump));
  EXPECT_EQ(dump.depth, 16u);
  ASSERT_EQ(dump.width, static_cast<uint32_t>(picture->width));
  ASSERT_EQ(dump.height, static_cast<uint32_t>(picture->height));
  ASSERT_EQ(dump.masks[0], 0xF800u);
  ASSERT_EQ(dump.masks[1], 0x07E0u);
  ASSERT_EQ(dump.masks[2], 0x001Fu);
  int32_t wrong = 0;
  int32_t lit = 0;
  for (int32_t i = 0; i < count; ++i) {
    wrong += !within_565(picture->pixels[i], dump.pixels[static_cast<size_t>(i)]);
    lit += dump.pixels[static_cast<size_t>(i)] != 0;
  }
  EXPECT_EQ(wrong, 0) << "pixels out of the 5-6-5 rounding";
  EXPECT_GT(lit, count / 4) << "the picture is on the screen";
  // SDL stays up until the process ends: shut down, it unloads the libraries
  // whose own leaks the suppressions above name.
  QUOMBRAX_release_all();
}

TEST(SixteenBitScreen, TheShowsPictureKeepsItsColoursOnAVirtualXServer) {
  if (std::system("(command -v xvfb-run && command -v Xvfb && command -v xwd) >/dev/null 2>&1")) {
    GTEST_SKIP() << "needs xvfb-run, Xvfb and xwd";
  }
  char self[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
  const std::string output = testing::TempDir() + "quombrax_16_bit_" + std::to_string(getpid());
  // One virtual X server at a time, as the window tests run them.
  const std::string command =
      "flock \"${TMPDIR:-/tmp}/quombrax-run-window.lock\" xvfb-run -a -s '-screen 0 640x480x16' "
      "env " +
      std::string(on_xvfb) + "=1 '" + self + "' --gtest_filter='OnSixteenBitScreen.*' >'" + output +
      "' 2>&1";
  const int status = std::system(command.c_str());
  std::string printed;
  if (FILE* file = std::fopen(output.c_str(), "r")) {
    char chunk[512];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) printed.append(chunk, n);
    std::fclose(file);
  }
  std::remove(output.c_str());
  EXPECT_EQ(status, 0) << printed;
  EXPECT_NE(printed.find("[  PASSED  ] 1 test."), std::string::npos) << printed;
}

}  // namespace
