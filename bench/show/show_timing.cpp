#include "bench/show/show_timing.h"

#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "bench/yardstick.h"
#include "platform/capture.h"
#include "show/quombrax.h"

namespace {

struct CHILD_RUN {
  SHOW_TIMING timing;
  int32_t scene;   // 0 to 4
  bool presented;  // anything yet
  double start;
  double last_present;
  uint32_t last_clock;
};

CHILD_RUN child;

void on_frame(void*, int32_t frame, const uint32_t*, int32_t, int32_t) {
  const double now = thread_seconds();
  const uint32_t clock = CAPTURE_milliseconds();
  if (!child.presented) {
    child.timing.start_up_seconds = now - child.start;
    child.presented = true;
  } else if (clock != child.last_clock) {
    SCENE_TIMING& scene = child.timing.scenes[child.scene];
    const double cost = now - child.last_present;
    scene.frames += 1;
    scene.total_seconds += cost;
    if (cost > scene.worst_seconds) {
      scene.worst_seconds = cost;
      scene.worst_frame = frame;
    }
  }
  child.last_clock = clock;
  // The hook's own time is not the next frame's.
  child.last_present = thread_seconds();
}

[[noreturn]] void run_child(int32_t side, int pipe) {
  void (*const scenes[SHOW_TIMING_scenes])() = {QUOMBRAX_scene_one, QUOMBRAX_scene_two,
                                                QUOMBRAX_scene_three, QUOMBRAX_scene_four,
                                                QUOMBRAX_scene_five};
  CAPTURE_reset();
  CAPTURE_on_frame(on_frame, nullptr);
  QUOMBRAX_config.screen_width = side;
  QUOMBRAX_config.screen_height = side;
  child = CHILD_RUN{};
  child.start = thread_seconds();
  QUOMBRAX_start_up();
  for (int32_t i = 0; i < SHOW_TIMING_scenes; ++i) {
    child.scene = i;
    scenes[i]();
  }
  child.timing.measured = true;
  const bool sent =
      write(pipe, &child.timing, sizeof child.timing) == static_cast<ssize_t>(sizeof child.timing);
  _exit(sent ? 0 : 1);
}

SHOW_TIMING measure(int32_t side) {
  SHOW_TIMING timing{};
  int ends[2];
  if (pipe(ends) != 0) return timing;
  const pid_t pid = fork();
  if (pid == 0) {
    close(ends[0]);
    run_child(side, ends[1]);
  }
  close(ends[1]);
  if (pid > 0) {
    size_t have = 0;
    auto* bytes = reinterpret_cast<uint8_t*>(&timing);
    ssize_t n = 0;
    while (have < sizeof timing && (n = read(ends[0], bytes + have, sizeof timing - have)) > 0) {
      have += static_cast<size_t>(n);
    }
    waitpid(pid, nullptr, 0);
    if (have != sizeof timing) timing = SHOW_TIMING{};
  }
  close(ends[0]);
  return timing;
}

}  // namespace

const SHOW_TIMING& show_timing(int32_t side) {
  static std::map<int32_t, SHOW_TIMING> measured;
  auto found = measured.find(side);
  if (found == measured.end()) found = measured.emplace(side, measure(side)).first;
  return found->second;
}
