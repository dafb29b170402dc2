#include "fuzz/image_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::check_read_image(IMG_from_text(fuzz::as_text(data, size).data()));
  return 0;
}
