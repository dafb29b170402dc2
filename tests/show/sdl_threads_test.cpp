// The whole show on SDL's own back end, with SDL's dummy screen and dummy
// sound device, for half a minute of real time with keys pressed from
// another thread as a keyboard would; built with ThreadSanitizer, any race
// between the show and SDL's sound thread ends the run with a report.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/sdldpy.h"
#include "show/quombrax.h"

const uint32_t SDLDPY_program_video_flags = SDLDPY_window_flags;

namespace {

constexpr auto run_time = std::chrono::seconds(30);
// A q that never arrives would leave the show running for ever.
constexpr unsigned time_limit_seconds = 150;
constexpr auto key_held = std::chrono::milliseconds(100);
constexpr auto between_keys = std::chrono::milliseconds(400);
constexpr SDLKey keys[] = {SDLK_SPACE, SDLK_a, SDLK_s, SDLK_8, SDLK_s, SDLK_8, SDLK_a};

void push_key(Uint8 type, SDLKey key) {
  SDL_Event event{};
  event.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  SDL_PushEvent(&event);
}

// Held for a few frames, as a person holds a key.
void press(SDLKey key) {
  push_key(SDL_KEYDOWN, key);
  std::this_thread::sleep_for(key_held);
  push_key(SDL_KEYUP, key);
}

void keyboard() {
  while (SDL_WasInit(SDL_INIT_VIDEO) == 0) std::this_thread::sleep_for(key_held);
  const auto end = std::chrono::steady_clock::now() + run_time;
  for (size_t n = 0; std::chrono::steady_clock::now() < end; ++n) {
    std::this_thread::sleep_for(between_keys);
    press(keys[n % (sizeof keys / sizeof keys[0])]);
  }
  push_key(SDL_KEYDOWN, SDLK_q);
}

TEST(SdlThreads, HalfAMinuteOfTheShowWithKeysEndsOnQWithStatusZero) {
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    alarm(time_limit_seconds);
    std::thread(keyboard).detach();
    QUOMBRAX_run();
  }
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
