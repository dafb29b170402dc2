// quombrax-render: the show run on a virtual clock, written to pictures,
// video and sound.
#include <csignal>
#include <cstdio>
#include <string>

#include "tools/render/render_options.h"
#include "tools/render/render_outputs.h"
#include "tools/render/render_run.h"

namespace {

constexpr int status_cannot_write = 1;
constexpr int status_bad_arguments = 2;

}  // namespace

int main(int argc, char** argv) {
  RENDER_OPTIONS options;
  std::string error;
  switch (render_parse_options(argc, argv, &options, &error)) {
    case RENDER_PARSE_HELP:
      std::fputs(render_usage(), stdout);
      return 0;
    case RENDER_PARSE_ERROR:
      std::fprintf(stderr, "quombrax-render: %s\n", error.c_str());
      return status_bad_arguments;
    case RENDER_PARSE_RUN:
      break;
  }
  // A reader that goes away (an encoder that stopped) is a failed write,
  // reported as such, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  auto* outputs = new RENDER_OUTPUTS;  // lives until the process ends
  if (!render_outputs_open(outputs, options, &error)) {
    std::fprintf(stderr, "quombrax-render: %s\n", error.c_str());
    return status_cannot_write;
  }
  render_run(options, outputs);
}
