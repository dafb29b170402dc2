#include "platform/fps.h"

#include <cstdint>

#include "platform/backend.h"

FPS FPS_state = {};

const MODULE_ID FPS_id = {"FPS     ", "20101022", "Kadwelon", "C       ", "CODE    "};

namespace {

constexpr int32_t one_second = 1000000;
constexpr int32_t last_microsecond_of_window = 999999;

// 32-bit sums that wrap instead of overflowing.
int32_t wrapping_add(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t wrapping_difference(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

uint32_t FPS_now() { return BACKEND_milliseconds() * 1000u; }

int32_t FPS_tick() {
  FPS& s = FPS_state;
  if (s.target_rate < 1) s.target_rate = 1;
  s.frame_time = one_second / s.target_rate;
  s.now = static_cast<int32_t>(FPS_now());
  s.elapsed = wrapping_difference(s.now, s.previous);
  s.previous = s.now;
  s.window = wrapping_add(s.window, s.elapsed);
  if (s.window > last_microsecond_of_window) {
    s.frame_rate = s.counter;
    s.counter = 0;
    s.window = 0;
  }
  s.counter += 1;
  return s.frame_rate;
}

void FPS_wait() {
  FPS& s = FPS_state;
  // Computed wide: a frame of half an hour must not overflow the budget.
  int64_t budget = static_cast<int64_t>(s.delay_budget) + s.frame_time - s.elapsed;
  if (budget < 0) budget = 0;
  if (budget > INT32_MAX) budget = INT32_MAX;
  s.delay_budget = static_cast<int32_t>(budget);
  if (s.delay_budget > 0) BACKEND_sleep(static_cast<uint32_t>(s.delay_budget / 1000));
}
