#include "tests/support/show_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/capture.h"
#include "show/quombrax.h"
#include "tests/support/frame_compare.h"

namespace {

constexpr int frame_limit_status = 86;
constexpr uint64_t fnv_offset = 1469598103934665603ull;
constexpr uint64_t fnv_prime = 1099511628211ull;

uint64_t hash_bytes(uint64_t hash, const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * fnv_prime;
  return hash;
}

// A picture record is followed by the frame's pixels.
enum RECORD_KIND : int32_t { RECORD_FRAME = 1, RECORD_SOUND = 2, RECORD_PICTURE = 3 };

struct RECORD {
  int32_t kind;
  SHOW_FRAME frame;
  int32_t sound_bytes;
  int32_t sound_nonzero_bytes;
  uint64_t sound_hash;
  int32_t picture_width;
  int32_t picture_height;
};

struct CHILD {
  int pipe;
  int32_t frame_limit;
  const std::vector<int32_t>* pictures;
};

void send_bytes(int pipe, const void* data, size_t count) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  size_t sent = 0;
  while (sent < count) {
    ssize_t n = write(pipe, bytes + sent, count - sent);
    if (n <= 0) _exit(frame_limit_status + 1);
    sent += static_cast<size_t>(n);
  }
}

void send(int pipe, const RECORD& record) { send_bytes(pipe, &record, sizeof record); }

bool receive(int pipe, void* data, size_t count) {
  auto* bytes = static_cast<uint8_t*>(data);
  size_t have = 0;
  while (have < count) {
    ssize_t n = read(pipe, bytes + have, count - have);
    if (n <= 0) return false;
    have += static_cast<size_t>(n);
  }
  return true;
}

void on_frame(void* context, int32_t frame, const uint32_t* pixels, int32_t width, int32_t height) {
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
  const std::vector<int32_t>& wanted = *child->pictures;
  if (std::find(wanted.begin(), wanted.end(), frame) == wanted.end()) return;
  record.kind = RECORD_PICTURE;
  record.picture_width = width;
  record.picture_height = height;
  send(child->pipe, record);
  send_bytes(child->pipe, pixels, count * sizeof *pixels);
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
  child = CHILD{pipe, options.frame_limit, &options.pictures};
  CAPTURE_reset();
  CAPTURE_set_sound_available(options.sound_available ? 1 : 0);
  for (const SHOW_EVENT& event : options.script) {
    if (!CAPTURE_schedule(event.frame, event.kind, event.symbol)) _exit(frame_limit_status + 2);
  }
  CAPTURE_on_frame(on_frame, &child);
  CAPTURE_on_sound(on_sound, &child);
  QUOMBRAX_run();
}

// False when the pipe ends in the middle of a record.
bool take(SHOW_RUN& run, const RECORD& record, int pipe) {
  if (record.kind == RECORD_FRAME) {
    run.frames.push_back(record.frame);
    return true;
  }
  if (record.kind == RECORD_PICTURE) {
    SHOW_PICTURE picture{record.frame.number, record.picture_width, record.picture_height, {}};
    picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    if (!receive(pipe, picture.pixels.data(), picture.pixels.size() * sizeof(uint32_t)))
      return false;
    run.pictures.push_back(std::move(picture));
    return true;
  }
  run.sound_bytes += record.sound_bytes;
  run.sound_nonzero_bytes += record.sound_nonzero_bytes;
  run.sound_hash = run.sound_hash * fnv_prime ^ record.sound_hash;
  return true;
}

}  // namespace

void show_press(SHOW_OPTIONS& options, int32_t frame, int32_t symbol) {
  options.script.push_back(SHOW_EVENT{frame, CAPTURE_KEY_PRESS, symbol});
}

SHOW_RUN run_show(const SHOW_OPTIONS& options) {
  SHOW_RUN run;
  run.options = options;
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
  while (receive(fds[0], &record, sizeof record) && take(run, record, fds[0])) {
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

uint64_t frame_hash(const PIXELS& pixels) {
  return hash_bytes(fnv_offset, reinterpret_cast<const uint8_t*>(pixels.data()),
                    pixels.size() * sizeof(uint32_t));
}

namespace {

// The pixels of frame `number` from a fresh run of the same options.
SHOW_PICTURE picture_of(const SHOW_RUN& run, int32_t number) {
  SHOW_OPTIONS options = run.options;
  options.pictures = {number};
  SHOW_RUN again = run_show(options);
  if (again.pictures.empty()) return SHOW_PICTURE{number, 0, 0, {}};
  return again.pictures.front();
}

}  // namespace

::testing::AssertionResult same_frames(const char* actual_expr, const char* expected_expr,
                                       const SHOW_RUN& actual, const SHOW_RUN& expected) {
  const size_t common = std::min(actual.frames.size(), expected.frames.size());
  size_t i = 0;
  while (i < common && actual.frames[i].hash == expected.frames[i].hash) ++i;
  if (i == common && actual.frames.size() == expected.frames.size()) {
    return ::testing::AssertionSuccess();
  }
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << actual_expr << " presented " << actual.frames.size() << " frames, " << expected_expr
          << " " << expected.frames.size();
  if (i == common) return failure << "; the first " << common << " are the same";
  const int32_t number = actual.frames[i].number;
  failure << "; they differ first at frame " << number << ": ";
  const SHOW_PICTURE mine = picture_of(actual, number);
  const SHOW_PICTURE theirs = picture_of(expected, number);
  const std::string actual_name = std::string(actual_expr) + " frame " + std::to_string(number);
  const std::string expected_name = std::string(expected_expr) + " frame " + std::to_string(number);
  const ::testing::AssertionResult pictures =
      frames_equal(actual_name.c_str(), expected_name.c_str(), FrameView(mine.pixels, mine.width),
                   FrameView(theirs.pixels, theirs.width));
  return failure << (pictures ? "the run again shows no difference" : pictures.message());
}

void expect_clean_exit(const SHOW_RUN& run, const char* what) {
  EXPECT_FALSE(run.frame_limit_hit) << what;
  EXPECT_TRUE(run.exited) << what;
  EXPECT_EQ(run.exit_status, 0) << what;
}
