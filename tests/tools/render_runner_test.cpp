#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/show_runner.h"
#include "tests/tools/render_program.h"
#include "tools/png/png_file.h"

namespace {

// The whole-show runner's sound hash: FNV-1a over each step the device
// played, folded in order.
constexpr uint64_t fnv_offset = 1469598103934665603ull;
constexpr uint64_t fnv_prime = 1099511628211ull;
constexpr size_t sound_step_bytes = 882 * 2;

uint64_t fnv(const uint8_t* bytes, size_t count) {
  uint64_t hash = fnv_offset;
  for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * fnv_prime;
  return hash;
}

uint64_t sound_hash(const std::string& sound) {
  uint64_t hash = 0;
  for (size_t at = 0; at < sound.size(); at += sound_step_bytes) {
    hash = hash * fnv_prime ^
           fnv(reinterpret_cast<const uint8_t*>(sound.data() + at), sound_step_bytes);
  }
  return hash;
}

// The render runs the show as the tests' runner does: for the same keys,
// every frame and the whole sound are the same.
TEST(RenderAgainstRunner, SameScriptGivesTheSameFramesAndSound) {
  const int32_t space = 32, frame_rate = '8', quit = 'q';
  SHOW_OPTIONS options;
  show_press(options, 60, space);
  show_press(options, 100, frame_rate);
  show_press(options, 130, quit);
  const SHOW_RUN run = run_show(options);
  ASSERT_TRUE(run.exited);
  ASSERT_EQ(run.exit_status, 0);

  ScratchFolder folder;
  const RENDER_RESULT result = run_render({"--keys", "60:space,100:8,130:q", "--png", folder.path(),
                                           "--wav", folder.file("sound.wav")});
  ASSERT_EQ(result.status, 0) << result.errors;
  ASSERT_EQ(folder.files(), run.frames.size() + 1);
  for (const SHOW_FRAME& frame : run.frames) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", frame.number);
    PNG_PICTURE picture;
    ASSERT_TRUE(png_read_file(folder.file(name), &picture)) << name;
    ASSERT_EQ(frame_hash(picture.pixels), frame.hash) << name;
  }
  const std::string sound = read_bytes(folder.file("sound.wav")).substr(44);
  EXPECT_EQ(static_cast<int64_t>(sound.size()), run.sound_bytes);
  EXPECT_EQ(sound_hash(sound), run.sound_hash);
}

}  // namespace
