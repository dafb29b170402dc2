#pragma once

#include <chrono>
#include <cstdint>

// A progress bar on standard error: frames done of the total, frames a
// second and the time left, redrawn a few times a second on one line. When
// the total is not known ahead (one whole cycle of the scenes) it shows the
// running scene instead of a bar. Shown only when standard error is a
// terminal and not asked to be quiet, so logs and pipes stay clean.
struct RENDER_PROGRESS {
  bool shown = false;
  int64_t total = 0;  // 0: unknown
  std::chrono::steady_clock::time_point start;
  std::chrono::steady_clock::time_point last_drawn;
  bool drawn = false;
};

void progress_start(RENDER_PROGRESS* progress, int64_t total, bool quiet);
// `scene`: 1 to 5, the scene running.
void progress_update(RENDER_PROGRESS* progress, int64_t frames, int32_t scene);
// Clears the line.
void progress_end(RENDER_PROGRESS* progress);
