// The whole show for a long run of frames with keys pressed in between:
// every scene many times, Space, A, S and 8. After the first round of the
// scenes it allocates nothing more and ends on q with status 0. The frame
// count comes from QUOMBRAX_SOAK_FRAMES when set (the long soak is 200000).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/capture.h"
#include "show/quombrax.h"
#include "tests/support/failing_allocation.h"

namespace {

constexpr int32_t default_frames = 20000;
// A key every this many frames at least, more apart when the script could
// not hold them all; every sixth is Space, A, S and 8 between them.
constexpr int32_t key_every = 40;
constexpr int32_t keys_per_space = 6;
constexpr int32_t script_room = CAPTURE_max_scripted_events - 1;  // and q
// Seven presses of Space take the show once round the five scenes (scene
// four takes three); by ten every scene has been built and shown.
constexpr int32_t spaces_in_first_round = 10;

int32_t soak_frames() {
  const char* asked = std::getenv("QUOMBRAX_SOAK_FRAMES");
  const int32_t frames = asked != nullptr ? std::atoi(asked) : default_frames;
  return frames > default_frames ? frames : default_frames;
}

int32_t key_spacing(int32_t frames) {
  const int32_t spread = (frames + script_room - 1) / script_room;
  return spread > key_every ? spread : key_every;
}

int32_t first_round_frames(int32_t frames) {
  return spaces_in_first_round * keys_per_space * key_spacing(frames);
}

struct MARK {
  int64_t allocations;
  int64_t resident_kb;
  int32_t frame;
  uint32_t milliseconds;
};

struct SOAK {
  int status = -1;
  MARK after_first_round{};
  MARK at_end{};
  int marks = 0;
};

struct CHILD {
  int pipe;
  int32_t first_round;
  int32_t last_frame;
  FailingAllocation* counter;
};
CHILD child;

int64_t resident_kb() {
  long pages = 0;
  long resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = -1;
  std::fclose(statm);
  return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void on_frame(void*, int32_t frame, const uint32_t*, int32_t, int32_t) {
  if (frame != child.first_round && frame != child.last_frame) return;
  const MARK mark{child.counter->calls(), resident_kb(), frame, CAPTURE_milliseconds()};
  if (write(child.pipe, &mark, sizeof mark) != sizeof mark) _exit(90);
}

[[noreturn]] void run_child(int32_t frames, int pipe) {
  child.pipe = pipe;
  child.first_round = first_round_frames(frames);
  child.last_frame = frames;
  CAPTURE_reset();
  const char between[] = {'a', 's', '8', 's', 'a'};
  const int32_t spacing = key_spacing(frames);
  for (int32_t n = 1; n * spacing < frames; ++n) {
    const int32_t key = n % keys_per_space == 0 ? ' ' : between[n % keys_per_space - 1];
    if (!CAPTURE_press(n * spacing, key)) _exit(91);
  }
  CAPTURE_press(frames, 'q');
  CAPTURE_on_frame(on_frame, nullptr);
  child.counter = new FailingAllocation(0);
  QUOMBRAX_run();
}

SOAK soak(int32_t frames) {
  SOAK run;
  int fds[2];
  if (pipe(fds) != 0) return run;
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    run_child(frames, fds[1]);
  }
  close(fds[1]);
  MARK mark{};
  while (read(fds[0], &mark, sizeof mark) == sizeof mark) {
    (run.marks == 0 ? run.after_first_round : run.at_end) = mark;
    run.marks += 1;
  }
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

TEST(Soak, TheShowRunsRoundAndRoundWithoutAllocatingAndQuitsOnQ) {
  const int32_t frames = soak_frames();
  const auto start = std::chrono::steady_clock::now();
  const SOAK run = soak(frames);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.marks, 2) << "both marks reached";
  EXPECT_EQ(run.after_first_round.frame, first_round_frames(frames));
  EXPECT_EQ(run.at_end.frame, frames);
  EXPECT_GT(run.after_first_round.allocations, 0);
  EXPECT_EQ(run.at_end.allocations, run.after_first_round.allocations)
      << "allocations made after the first round of the scenes";
  std::printf(
      "%d frames (%u ms of show time) in %.1f s; resident %lld KB after the first round "
      "(frame %d), %lld KB at the end\n",
      frames, run.at_end.milliseconds, seconds,
      static_cast<long long>(run.after_first_round.resident_kb), run.after_first_round.frame,
      static_cast<long long>(run.at_end.resident_kb));
}

}  // namespace
