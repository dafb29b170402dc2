#include "containers/sample.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "containers/sample_detail.h"

using sample_detail::valid;

const MODULE_ID SAMPLE_id = {"SAMPLE  ", "20101019", "Kadwelon", "C       ", "CODE    "};

void SAMPLE_error() {}

namespace sample_detail {

int32_t* allocate_values(int32_t count) {
  auto* values = static_cast<int32_t*>(std::calloc(static_cast<size_t>(count), sizeof(int32_t)));
  if (values == nullptr) {
    SAMPLE_error();
  }
  return values;
}

SAMPLE* make_vector(int32_t length) {
  SAMPLE* vector = SAMPLE_create();
  if (vector == nullptr) {
    return nullptr;
  }
  SAMPLE_set_length(vector, length);
  if (vector->length != length) {
    SAMPLE_destroy(&vector);
  }
  return vector;
}

void adopt_values(SAMPLE* into, SAMPLE** from) {
  std::free(into->values);
  into->values = (*from)->values;
  into->capacity = (*from)->capacity;
  (*from)->values = nullptr;
  std::free(*from);
  *from = nullptr;
}

}  // namespace sample_detail

namespace {

bool in_use(const SAMPLE* sample, int32_t index) { return index >= 0 && index < sample->length; }

void move_values(int32_t* to, const int32_t* from, int32_t count) {
  if (count > 0) {
    std::memmove(to, from, static_cast<size_t>(count) * sizeof(int32_t));
  }
}

}  // namespace

SAMPLE* SAMPLE_create() {
  auto* sample = static_cast<SAMPLE*>(std::calloc(1, sizeof(SAMPLE)));
  if (sample == nullptr) {
    return nullptr;
  }
  sample->values = sample_detail::allocate_values(sample_detail::initial_capacity);
  if (sample->values == nullptr) {
    std::free(sample);
    return nullptr;
  }
  sample->capacity = sample_detail::initial_capacity;
  return sample;
}

void SAMPLE_destroy(SAMPLE** sample) {
  if (sample == nullptr || *sample == nullptr) {
    SAMPLE_error();
    return;
  }
  std::free((*sample)->values);
  std::free(*sample);
  *sample = nullptr;
}

void SAMPLE_set_capacity(SAMPLE* sample, int32_t count) {
  if (!valid(sample) || count < 1) {
    SAMPLE_error();
    return;
  }
  int32_t* values = sample_detail::allocate_values(count);
  if (values == nullptr) {
    return;
  }
  const int32_t kept = std::min(sample->length, count);
  move_values(values, sample->values, kept);
  std::free(sample->values);
  sample->values = values;
  sample->capacity = count;
  sample->length = kept;
}

void SAMPLE_set_length(SAMPLE* sample, int32_t count) {
  if (sample == nullptr || count < 0) {
    SAMPLE_error();
    return;
  }
  const int32_t room = sample->values != nullptr ? sample->capacity : 0;
  if (room < count) {
    SAMPLE_set_capacity(sample, count);
    if (sample->values == nullptr || sample->capacity < count) {
      return;
    }
  }
  sample->length = count;
}

void SAMPLE_clear(SAMPLE* sample) {
  if (!valid(sample)) {
    SAMPLE_error();
    return;
  }
  std::fill_n(sample->values, sample->length, 0);
}

SAMPLE* SAMPLE_clone(const SAMPLE* sample) {
  if (!valid(sample)) {
    SAMPLE_error();
    return nullptr;
  }
  SAMPLE* clone = SAMPLE_create();
  if (clone == nullptr) {
    return nullptr;
  }
  if (sample->length > 0) {
    SAMPLE_set_capacity(clone, sample->length);
    if (clone->capacity != sample->length) {
      SAMPLE_destroy(&clone);
      return nullptr;
    }
  }
  SAMPLE_set_length(clone, sample->length);
  move_values(clone->values, sample->values, sample->length);
  return clone;
}

int32_t SAMPLE_equal(const SAMPLE* a, const SAMPLE* b) {
  if (!valid(a) || !valid(b)) {
    SAMPLE_error();
    return 0;
  }
  if (a->length != b->length) {
    return 0;
  }
  return std::equal(a->values, a->values + a->length, b->values) ? 1 : 0;
}

int32_t SAMPLE_get(const SAMPLE* sample, int32_t index) {
  if (!valid(sample) || !in_use(sample, index)) {
    SAMPLE_error();
    return 0;
  }
  return sample->values[index];
}

void SAMPLE_set(SAMPLE* sample, int32_t value, int32_t index) {
  if (!valid(sample) || !in_use(sample, index)) {
    SAMPLE_error();
    return;
  }
  sample->values[index] = value;
}

int32_t SAMPLE_find(const SAMPLE* sample, int32_t value, int32_t start) {
  if (!valid(sample) || !in_use(sample, start)) {
    SAMPLE_error();
    return -1;
  }
  for (int32_t i = start; i < sample->length; ++i) {
    if (sample->values[i] == value) {
      return i;
    }
  }
  return -1;
}

void SAMPLE_insert(SAMPLE* sample, int32_t value, int32_t index) {
  // length + 1 must stay within 32 bits.
  if (!valid(sample) || index < 0 || index > sample->length || sample->length == INT32_MAX) {
    SAMPLE_error();
    return;
  }
  if (sample->length >= sample->capacity) {
    int32_t grown = 0;
    if (!sample_detail::doubled(sample->capacity, &grown)) {
      SAMPLE_error();
      return;
    }
    SAMPLE_set_capacity(sample, grown);
    if (sample->capacity != grown) {
      return;
    }
  }
  move_values(sample->values + index + 1, sample->values + index, sample->length - index);
  sample->values[index] = value;
  sample->length += 1;
}

void SAMPLE_remove(SAMPLE* sample, int32_t index) {
  if (!valid(sample) || !in_use(sample, index)) {
    SAMPLE_error();
    return;
  }
  move_values(sample->values + index, sample->values + index + 1, sample->length - index - 1);
  sample->length -= 1;
}

int32_t SAMPLE_min(const SAMPLE* sample) {
  if (!valid(sample) || sample->length == 0) {
    SAMPLE_error();
    return 0;
  }
  return *std::min_element(sample->values, sample->values + sample->length);
}

int32_t SAMPLE_max(const SAMPLE* sample) {
  if (!valid(sample) || sample->length == 0) {
    SAMPLE_error();
    return 0;
  }
  return *std::max_element(sample->values, sample->values + sample->length);
}

void SAMPLE_reverse(SAMPLE* sample) {
  if (!valid(sample)) {
    SAMPLE_error();
    return;
  }
  std::reverse(sample->values, sample->values + sample->length);
}
