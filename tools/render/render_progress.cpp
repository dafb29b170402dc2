#include "tools/render/render_progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

using clock_type = std::chrono::steady_clock;

constexpr auto redraw_interval = std::chrono::milliseconds(200);
constexpr int bar_width = 30;

double seconds_since(clock_type::time_point start, clock_type::time_point now) {
  return std::chrono::duration<double>(now - start).count();
}

std::string bar(int64_t frames, int64_t total) {
  const int64_t filled = total > 0 ? frames * bar_width / total : 0;
  std::string text = "[";
  for (int i = 0; i < bar_width; ++i) text += i < filled ? '#' : '.';
  return text + "]";
}

void draw(const RENDER_PROGRESS& p, int64_t frames, int32_t scene, clock_type::time_point now) {
  const double elapsed = seconds_since(p.start, now);
  const double rate = elapsed > 0 ? static_cast<double>(frames) / elapsed : 0;
  if (p.total > 0) {
    const double left = rate > 0 ? static_cast<double>(p.total - frames) / rate : 0;
    std::fprintf(stderr, "\r%s %lld/%lld frames, %.0f fps, %.0f s left  ",
                 bar(frames, p.total).c_str(), static_cast<long long>(frames),
                 static_cast<long long>(p.total), rate, left);
  } else {
    std::fprintf(stderr, "\rscene %d of 5, %lld frames, %.0f fps  ", scene,
                 static_cast<long long>(frames), rate);
  }
}

}  // namespace

void progress_start(RENDER_PROGRESS* progress, int64_t total, bool quiet) {
  *progress = RENDER_PROGRESS{};
  progress->shown = !quiet && isatty(STDERR_FILENO) == 1;
  progress->total = total;
  progress->start = clock_type::now();
  progress->last_drawn = progress->start;
}

void progress_update(RENDER_PROGRESS* progress, int64_t frames, int32_t scene) {
  if (!progress->shown) return;
  const auto now = clock_type::now();
  // A render that ends within a moment draws nothing.
  if (now - progress->last_drawn < redraw_interval) return;
  progress->last_drawn = now;
  progress->drawn = true;
  draw(*progress, frames, scene, now);
}

void progress_end(RENDER_PROGRESS* progress) {
  if (progress->drawn) std::fprintf(stderr, "\r%*s\r", 72, "");
  progress->drawn = false;
}
