#pragma once

#include "tools/render/render_options.h"
#include "tools/render/render_outputs.h"

// Runs the show on the capture back end as the options say, handing every
// frame and all the sound to the outputs. The show ends the process itself
// when it quits, so this never returns: the outputs are finished on the way
// out, and the status is 0 when they are all in place, 1 when one could
// not be written (with a line on standard error saying which).
[[noreturn]] void render_run(const RENDER_OPTIONS& options, RENDER_OUTPUTS* outputs);
