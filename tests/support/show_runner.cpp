#include "tests/support/show_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/capture.h"
#include "show/quombrax.h"

namespace {

constexpr int frame_limit_status = 86;
constexpr uint64_t fnv_offset = 1469598103934665603ull;
constexpr uint64_t fnv_prime = 1099511628211ull;

uint64_t hash_bytes(uint64_t hash, const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * fnv_prime;
  return hash;
}

enum RECORD_KIND : int32_t { RECORD_FRAME = 1, RECORD_SOUND = 2 };

struct RECORD {
  int32_t kind;
  SHOW_FRAME frame;
  int32_t sound_bytes;
  int32_t sound_nonzero_bytes;
  uint64_t sound_hash;
};

struct CHILD {
  int pipe;
  int32_t frame_limit;
};

void send(int pipe, const RECORD& record) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
  size_t sent = 0;
  while (sent < sizeof record) {
    ssize_t n = write(pipe, bytes + sent, sizeof record - sent);
    if (n <= 0) _exit(frame_limit_status + 1);
    sent += static_cast<size_t>(n);
  }
}

void on_frame(void* context, int32_t frame, const uint32_t* pixels, int32_t width,
              int32_t height) {
  auto* child = static_cast<CHILD*>(context);
  if (frame > child->frame_limit) _exit(frame_limit_status);
  RECORD record{};
  record.kind = RECORD_FRAME;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  record.frame.number = frame;
  record.frame.milliseconds = CAPTURE_milliseconds();
  record.frame.hash = hash_bytes(fnv_offset, reinterpret_cast<const uint8_t*>(pixels), count * 4);
  for (size_t i = 0; i < count; ++i) record.frame.lit_pixels += (pixels[i] & 0xFFFFFF) != 0;
  record.frame.flags = QUOMBRAX_state.flags;
  record.frame.display_options = QUOMBRAX_config.display_options;
  send(child->pipe, record);
}

void on_sound(void* context, const uint8_t* bytes, int32_t length) {
  auto* child = static_cast<CHILD*>(context);
  RECORD record{};
  record.kind = RECORD_SOUND;
  record.sound_bytes = length;
  for (int32_t i = 0; i < length; ++i) record.sound_nonzero_bytes += bytes[i] != 0;
  record.sound_hash = hash_bytes(fnv_offset, bytes, static_cast<size_t>(length));
  send(child->pipe, record);
}

[[noreturn]] void run_child(const SHOW_OPTIONS& options, int pipe) {
  static CHILD child;
  child = CHILD{pipe, options.frame_limit};
  CAPTURE_reset();
  CAPTURE_set_sound_available(options.sound_available ? 1 : 0);
  for (const SHOW_EVENT& event : options.script) {
    if (!CAPTURE_schedule(event.frame, event.kind, event.symbol)) _exit(frame_limit_status + 2);
  }
  CAPTURE_on_frame(on_frame, &child);
  CAPTURE_on_sound(on_sound, &child);
  QUOMBRAX_run();
}

void take(SHOW_RUN& run, const RECORD& record) {
  if (record.kind == RECORD_FRAME) {
    run.frames.push_back(record.frame);
    return;
  }
  run.sound_bytes += record.sound_bytes;
  run.sound_nonzero_bytes += record.sound_nonzero_bytes;
  run.sound_hash = run.sound_hash * fnv_prime ^ record.sound_hash;
}

}  // namespace

void show_press(SHOW_OPTIONS& options, int32_t frame, int32_t symbol) {
  options.script.push_back(SHOW_EVENT{frame, CAPTURE_KEY_PRESS, symbol});
}

SHOW_RUN run_show(const SHOW_OPTIONS& options) {
  SHOW_RUN run;
  int fds[2];
  if (pipe(fds) != 0) return run;
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = fork();
  if (pid < 0) return run;
  if (pid == 0) {
    close(fds[0]);
    run_child(options, fds[1]);
  }
  close(fds[1]);
  RECORD record{};
  size_t have = 0;
  for (;;) {
    ssize_t n = read(fds[0], reinterpret_cast<uint8_t*>(&record) + have, sizeof record - have);
    if (n <= 0) break;
    have += static_cast<size_t>(n);
    if (have == sizeof record) {
      take(run, record);
      have = 0;
    }
  }
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.exited = WIFEXITED(status);
  run.exit_status = run.exited ? WEXITSTATUS(status) : -1;
  run.frame_limit_hit = run.exited && run.exit_status == frame_limit_status;
  return run;
}

std::vector<int32_t> fade_starts(const SHOW_RUN& run) {
  std::vector<int32_t> starts;
  size_t i = 0;
  while (i < run.frames.size()) {
    size_t j = i;
    while (j + 1 < run.frames.size() &&
           run.frames[j + 1].milliseconds == run.frames[i].milliseconds) {
      ++j;
    }
    size_t length = j - i + 1;
    // A fade follows the last paced frame at the same clock value.
    if (length >= 32) starts.push_back(run.frames[j + 1 - 32].number);
    i = j + 1;
  }
  return starts;
}
