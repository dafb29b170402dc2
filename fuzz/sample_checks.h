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
  check_text_round_trip<SAMPLE, SAMPLE_to_text, SAMPLE_from_text, SAMPLE_equal, SAMPLE_destroy>(
      sample, "SAMPLE text reads back");
}

}  // namespace fuzz
