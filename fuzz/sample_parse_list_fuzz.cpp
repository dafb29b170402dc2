#include "fuzz/sample_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::check_read_sample(SAMPLE_parse_list(fuzz::as_text(data, size).data()));
  return 0;
}
