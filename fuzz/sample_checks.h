#pragma once

// Properties of every vector the SAMPLE readers return: a length within the
// capacity, values behind it, and a text form that reads back equal.

#include "containers/sample.h"
#include "fuzz/fuzz_support.h"

namespace fuzz {

inline void check_read_sample(SAMPLE* sample) {
  if (sample == nullptr) return;
  require(sample->length >= 0 && sample->length <= sample->capacity, "SAMPLE length");
  require(sample->length == 0 || sample->values != nullptr, "SAMPLE values");
  char* text = SAMPLE_to_text(sample);
  require(text != nullptr, "SAMPLE_to_text");
  SAMPLE* back = SAMPLE_from_text(text);
  require(SAMPLE_equal(back, sample) == 1, "SAMPLE text reads back");
  SAMPLE_destroy(&back);
  std::free(text);
  SAMPLE_destroy(&sample);
}

}  // namespace fuzz
