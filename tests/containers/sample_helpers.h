#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "containers/sample.h"
#include "tests/support/handles.h"

// Built by appending, so the capacity has grown the way SAMPLE_insert grows it.
inline SamplePtr make_sample(const std::vector<int32_t>& values) {
  SamplePtr sample(SAMPLE_create());
  for (int32_t value : values) {
    SAMPLE_insert(sample.get(), value, sample->length);
  }
  return sample;
}

// The values in use, for comparison with an expected list.
inline std::vector<int32_t> values_of(const SAMPLE* sample) {
  return std::vector<int32_t>(sample->values, sample->values + sample->length);
}

// Everything a refused call must leave alone.
struct SampleState {
  int32_t length;
  int32_t capacity;
  const int32_t* values;
  std::vector<int32_t> contents;

  explicit SampleState(const SAMPLE* sample)
      : length(sample->length),
        capacity(sample->capacity),
        values(sample->values),
        contents(values_of(sample)) {}

  bool operator==(const SampleState&) const = default;
};
