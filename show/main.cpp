// The entry point of both programs. They are built from the same sources
// and differ only in QUOMBRAX_VIDEO_FLAGS, the flag word they open the
// screen with (fullscreen or windowed). Command-line arguments are ignored.
#include "platform/sdldpy.h"
#include "show/quombrax.h"

const uint32_t SDLDPY_program_video_flags = QUOMBRAX_VIDEO_FLAGS;

int main() { QUOMBRAX_run(); }
