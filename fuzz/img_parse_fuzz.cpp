#include "fuzz/image_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::check_read_image(IMG_parse(data, size));
  return 0;
}
