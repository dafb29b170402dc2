// Writes one frame of the show, as the capture back end presents it with no
// key pressed, to a P6 file: the picture the web page must show at the same
// frame number.
//   capture_frame FRAME OUT.ppm
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "imaging/img.h"
#include "platform/capture.h"
#include "show/quombrax.h"

namespace {

struct WANTED {
  int32_t frame;
  const char* path;
};

void save_and_stop(void* context, int32_t frame, const uint32_t* pixels, int32_t width,
                   int32_t height) {
  const auto* wanted = static_cast<const WANTED*>(context);
  if (frame < wanted->frame) return;
  IMG* image = IMG_create();
  IMG_resize(image, width, height);
  const bool sized = image != nullptr && image->width == width && image->height == height;
  if (sized) {
    std::memcpy(image->pixels, pixels,
                static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  }
  const bool saved = sized && IMG_save(image, wanted->path) != 0;
  if (!saved) std::fprintf(stderr, "capture_frame: cannot write %s\n", wanted->path);
  // The show never returns: the frame wanted ends the process.
  std::_Exit(saved ? 0 : 1);
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t frame = argc == 3 ? std::atoi(argv[1]) : 0;
  if (frame < 1) {
    std::fprintf(stderr, "usage: capture_frame FRAME OUT.ppm (FRAME from 1)\n");
    return 2;
  }
  static WANTED wanted;
  wanted = WANTED{frame, argv[2]};
  CAPTURE_reset();
  CAPTURE_on_frame(save_and_stop, &wanted);
  QUOMBRAX_run();
}
