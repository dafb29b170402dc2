// The platform back end that measures: see platform/timing.h.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/backend.h"
#include "platform/frame_costs.h"
#include "platform/sdldpy.h"
#include "platform/timing.h"

// Measured as the windowed program.
const uint32_t SDLDPY_program_video_flags = SDLDPY_window_flags;

namespace {

constexpr int32_t screen_depth = 32;
constexpr int32_t key_space = 32;
constexpr int32_t key_quit = 113;  // "q"

struct PLAN {
  int32_t scenes;
  int32_t frames_per_scene;
  TIMING_REPORT_HOOK report;
};

PLAN plan = {5, 250, nullptr};
std::vector<double> drawing_ms[TIMING_max_scenes];
FRAME_COSTS costs = {};
int32_t frames_this_part = 0;
int32_t part_run = 0;  // the scene run whose frames are being counted
bool key_held = false;
uint32_t* screen = nullptr;
const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

double now_milliseconds() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

TIMING_SCENE summary(std::vector<double>& costs) {
  TIMING_SCENE scene{};
  if (costs.empty()) return scene;
  std::sort(costs.begin(), costs.end());
  scene.frames = static_cast<int32_t>(costs.size());
  double total = 0;
  for (double cost : costs) total += cost;
  scene.mean_ms = total / static_cast<double>(costs.size());
  scene.median_ms = costs[costs.size() / 2];
  scene.longest_ms = costs.back();
  return scene;
}

void report_at_exit() {
  if (plan.report == nullptr) return;
  TIMING_SCENE scenes[TIMING_max_scenes] = {};
  for (int32_t i = 0; i < plan.scenes; ++i) scenes[i] = summary(drawing_ms[i]);
  plan.report(scenes, plan.scenes);
}

void count(const FRAME_COST& cost) {
  if (cost.scene_run != part_run) {
    part_run = cost.scene_run;
    frames_this_part = 0;
  }
  frames_this_part += 1;
  if (cost.scene_run <= TIMING_max_scenes)
    drawing_ms[cost.scene_run - 1].push_back(cost.milliseconds);
}

// The key to press at this poll, 0 for none: q once the planned scenes are
// over, Space once this part of a scene has drawn its frames.
int32_t key_wanted() {
  if (costs.scene_runs > plan.scenes) return key_quit;
  if (frames_this_part >= plan.frames_per_scene && part_run == costs.scene_runs) {
    frames_this_part = 0;
    return key_space;
  }
  return 0;
}

}  // namespace

void TIMING_plan(int32_t scene_count, int32_t frames_per_scene, TIMING_REPORT_HOOK report) {
  plan = PLAN{scene_count < TIMING_max_scenes ? scene_count : TIMING_max_scenes, frames_per_scene,
              report};
  std::atexit(report_at_exit);
}

int32_t BACKEND_screen_open(int32_t width, int32_t height, uint32_t, int32_t* bits_per_pixel) {
  std::free(screen);
  screen = static_cast<uint32_t*>(
      std::calloc(static_cast<size_t>(width) * static_cast<size_t>(height) + 1, 4));
  if (screen == nullptr) return 0;
  *bits_per_pixel = screen_depth;
  return 1;
}

void BACKEND_screen_close() {
  std::free(screen);
  screen = nullptr;
}

// A present costs what the web page's costs before its canvas: one copy.
void BACKEND_screen_show(const uint32_t* pixels, int32_t width, int32_t height) {
  FRAME_COSTS_present(&costs);
  if (screen != nullptr) {
    std::memcpy(screen, pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  }
}

void BACKEND_screen_show_direct(uint32_t* pixels, int32_t width, int32_t height) {
  BACKEND_screen_show(pixels, width, height);
}

void BACKEND_screen_show_converted(const uint32_t* pixels, int32_t stride, int32_t width,
                                   int32_t height) {
  FRAME_COSTS_present(&costs);
  if (screen == nullptr) return;
  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(screen + static_cast<size_t>(y) * width, pixels + static_cast<size_t>(y) * stride,
                static_cast<size_t>(width) * 4);
  }
}

// A key is pressed at one poll and let go at the next, so no poll loses it.
int32_t BACKEND_next_event(BACKEND_EVENT* event) {
  static bool handed_this_poll = false;
  if (!handed_this_poll) {
    handed_this_poll = true;
    if (key_held) {
      key_held = false;
      *event = BACKEND_EVENT{BACKEND_EVENT_KEY_UP, key_space};
      return 1;
    }
    const int32_t key = key_wanted();
    if (key != 0) {
      key_held = true;
      *event = BACKEND_EVENT{BACKEND_EVENT_KEY_DOWN, key};
      return 1;
    }
  }
  handed_this_poll = false;
  FRAME_COSTS_poll_done(&costs, now_milliseconds());
  return 0;
}

// No sound device: the show runs without sound, as on a machine without one.
int32_t BACKEND_audio_open(SDLDPY_AUDIO*) { return 0; }
void BACKEND_audio_close() {}
void BACKEND_audio_lock() {}
void BACKEND_audio_unlock() {}

// Only the frame timer's tick reads the clock: a frame's drawing ends there.
uint32_t BACKEND_milliseconds() {
  const double now = now_milliseconds();
  FRAME_COST cost{};
  if (FRAME_COSTS_tick(&costs, now, &cost)) count(cost);
  return static_cast<uint32_t>(now);
}

// Frames follow each other at once: only the drawing is measured.
void BACKEND_sleep(uint32_t) {}
