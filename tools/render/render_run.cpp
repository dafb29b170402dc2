#include "tools/render/render_run.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/capture.h"
#include "show/quombrax.h"
#include "tools/render/render_progress.h"

namespace {

struct RENDER_RUN {
  RENDER_OPTIONS options;
  RENDER_OUTPUTS* outputs;
  RENDER_PROGRESS progress;
  int32_t scene;  // 1 to 5, the one running
  bool finished;  // the outputs are complete or given up
};

RENDER_RUN* the_run = nullptr;
volatile std::sig_atomic_t interrupted_by = 0;

constexpr int8_t quit_key = 'q';
constexpr int32_t scene_count = 5;
// The show's own order, QUOMBRAX_run's.
void (*const scenes[scene_count])() = {QUOMBRAX_scene_one, QUOMBRAX_scene_two, QUOMBRAX_scene_three,
                                       QUOMBRAX_scene_four, QUOMBRAX_scene_five};

[[noreturn]] void give_up(const std::string& error, int status) {
  RENDER_RUN& run = *the_run;
  progress_end(&run.progress);
  std::fprintf(stderr, "quombrax-render: %s\n", error.c_str());
  render_outputs_abandon(run.outputs);
  run.finished = true;
  std::_Exit(status);
}

// Runs on every way out through exit: the show's own after its fade-out,
// and the render's when it has shown its frames.
void finish_outputs() {
  RENDER_RUN& run = *the_run;
  if (run.finished) return;
  run.finished = true;
  progress_end(&run.progress);
  std::string error;
  if (!render_outputs_finish(run.outputs, &error)) {
    std::fprintf(stderr, "quombrax-render: %s\n", error.c_str());
    std::_Exit(1);
  }
}

void note_interruption(int signal_number) { interrupted_by = signal_number; }

void on_frame(void*, int32_t frame, const uint32_t* pixels, int32_t width, int32_t height) {
  RENDER_RUN& run = *the_run;
  if (interrupted_by != 0) give_up("interrupted", 128 + interrupted_by);
  std::string error;
  if (width != run.outputs->width || height != run.outputs->height) {
    give_up("the show opened a " + std::to_string(width) + "x" + std::to_string(height) +
                " screen, not the one asked for",
            1);
  }
  if (frame >= run.options.from && !render_outputs_frame(run.outputs, frame, pixels, &error)) {
    give_up(error, 1);
  }
  progress_update(&run.progress, frame, run.scene);
  if (run.options.frames != 0 && frame >= run.options.frames) std::exit(0);
}

// Sound comes while the show waits for its next frame: it belongs to the
// frame presented next.
void on_sound(void*, const uint8_t* bytes, int32_t length) {
  RENDER_RUN& run = *the_run;
  if (int64_t{CAPTURE_frames_presented()} + 1 < run.options.from) return;
  std::string error;
  if (!render_outputs_sound(run.outputs, bytes, length, &error)) give_up(error, 1);
}

void script_keys(const RENDER_OPTIONS& options) {
  for (const RENDER_KEY& key : options.keys) CAPTURE_press(key.frame, key.symbol);
}

}  // namespace

void render_run(const RENDER_OPTIONS& options, RENDER_OUTPUTS* outputs) {
  the_run = new RENDER_RUN{options, outputs, {}, 1, false};
  progress_start(&the_run->progress, options.frames, options.quiet);
  std::atexit(finish_outputs);
  std::signal(SIGINT, note_interruption);
  std::signal(SIGTERM, note_interruption);
  CAPTURE_reset();
  script_keys(options);
  CAPTURE_on_frame(on_frame, nullptr);
  CAPTURE_on_sound(on_sound, nullptr);
  // The show takes every size from the screen it is given.
  QUOMBRAX_config.screen_width = options.width;
  QUOMBRAX_config.screen_height = options.height;
  QUOMBRAX_start_up();
  for (;;) {
    for (int32_t i = 0; i < scene_count; ++i) {
      the_run->scene = i + 1;
      scenes[i]();
    }
    // One whole cycle ends as a "q" after scene five's last frame would end it.
    if (options.frames == 0) QUOMBRAX_handle_key(quit_key);
  }
}
