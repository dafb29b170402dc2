#include "containers/sample.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "containers/sample_detail.h"

using sample_detail::valid;

namespace {

// Values wrap modulo 2^32; doing the arithmetic unsigned keeps that defined.
int32_t wrap(uint32_t value) { return static_cast<int32_t>(value); }

// A run of `count` values from `start` lies within the values in use.
bool run_in_use(const SAMPLE* sample, int32_t start, int32_t count) {
  return start >= 0 && int64_t{start} + count <= sample->length;
}

// Shift counts 0 ... 32 are taken modulo 32; anything else is refused.
bool shift_count_ok(int32_t count) { return count >= 0 && count <= 32; }

template <typename Combine>
void combine_each(SAMPLE* a, const SAMPLE* b, Combine combine) {
  if (!valid(a) || !valid(b)) {
    SAMPLE_error();
    return;
  }
  const int32_t count = std::min(a->length, b->length);
  for (int32_t i = 0; i < count; ++i) {
    a->values[i] = combine(a->values[i], b->values[i]);
  }
}

template <typename Map>
void map_each(SAMPLE* sample, Map map) {
  for (int32_t i = 0; i < sample->length; ++i) {
    sample->values[i] = map(sample->values[i]);
  }
}

// Rotation right by k places (0 <= k < n) into a fresh array.
void rotate_right_by(SAMPLE* sample, int32_t k) {
  const int32_t n = sample->length;
  SAMPLE* rotated = sample_detail::make_vector(n);
  if (rotated == nullptr) {
    SAMPLE_error();
    return;
  }
  SAMPLE_copy_range(sample, rotated, n - k, 0, k);
  SAMPLE_copy_range(sample, rotated, k, n - k, 0);
  sample_detail::adopt_values(sample, &rotated);
}

// Amount reduced into 0 ... n-1; a negative amount turns the other way.
int32_t reduce_amount(int32_t amount, int32_t n) { return ((amount % n) + n) % n; }

}  // namespace

void SAMPLE_copy_range(const SAMPLE* source, SAMPLE* destination, int32_t count,
                       int32_t source_index, int32_t destination_index) {
  if (!valid(source) || !valid(destination) || count < 0 ||
      !run_in_use(source, source_index, count) ||
      !run_in_use(destination, destination_index, count)) {
    SAMPLE_error();
    return;
  }
  // memmove copies backwards exactly when the destination starts inside the
  // source run after its start, and forwards otherwise.
  if (count > 0) {
    std::memmove(destination->values + destination_index, source->values + source_index,
                 static_cast<size_t>(count) * sizeof(int32_t));
  }
}

void SAMPLE_insert_vector(SAMPLE* destination, const SAMPLE* source, int32_t index) {
  if (!valid(destination) || !valid(source) || index < 0 || index > destination->length) {
    SAMPLE_error();
    return;
  }
  const int64_t total = int64_t{destination->length} + source->length;
  if (total > INT32_MAX) {
    SAMPLE_error();
    return;
  }
  // Built in a new array so that inserting a vector into itself reads the
  // source before anything moves.
  int32_t* values =
      total > 0 ? sample_detail::allocate_values(static_cast<int32_t>(total)) : nullptr;
  if (values == nullptr) {
    return;
  }
  const auto head = static_cast<size_t>(index);
  const auto middle = static_cast<size_t>(source->length);
  const auto tail = static_cast<size_t>(destination->length - index);
  std::copy_n(destination->values, head, values);
  std::copy_n(source->values, middle, values + head);
  std::copy_n(destination->values + head, tail, values + head + middle);
  std::free(destination->values);
  destination->values = values;
  destination->capacity = static_cast<int32_t>(total);
  destination->length = static_cast<int32_t>(total);
}

SAMPLE* SAMPLE_slice(const SAMPLE* sample, int32_t from, int32_t to) {
  if (!valid(sample) || from > to) {
    SAMPLE_error();
    return nullptr;
  }
  from = std::max(from, 0);
  to = std::min(to, sample->length);
  const int32_t count = std::max(to - from, 0);
  SAMPLE* slice = sample_detail::make_vector(count);
  if (slice == nullptr) {
    return nullptr;
  }
  SAMPLE_copy_range(sample, slice, count, from, 0);
  return slice;
}

void SAMPLE_rotate_right(SAMPLE* sample, int32_t amount) {
  if (!valid(sample)) {
    SAMPLE_error();
    return;
  }
  if (sample->length > 0) {
    rotate_right_by(sample, reduce_amount(amount, sample->length));
  }
}

void SAMPLE_rotate_left(SAMPLE* sample, int32_t amount) {
  if (!valid(sample)) {
    SAMPLE_error();
    return;
  }
  if (sample->length > 0) {
    const int32_t k = reduce_amount(amount, sample->length);
    rotate_right_by(sample, (sample->length - k) % sample->length);
  }
}

void SAMPLE_add(SAMPLE* a, const SAMPLE* b) {
  combine_each(a, b, [](int32_t x, int32_t y) {
    return wrap(static_cast<uint32_t>(x) + static_cast<uint32_t>(y));
  });
}

void SAMPLE_multiply_each(SAMPLE* a, const SAMPLE* b) {
  combine_each(a, b, [](int32_t x, int32_t y) {
    return wrap(static_cast<uint32_t>(x) * static_cast<uint32_t>(y));
  });
}

void SAMPLE_multiply(SAMPLE* sample, int32_t factor) {
  if (!valid(sample)) {
    SAMPLE_error();
    return;
  }
  const auto f = static_cast<uint32_t>(factor);
  map_each(sample, [f](int32_t v) { return wrap(static_cast<uint32_t>(v) * f); });
}

void SAMPLE_shift_right(SAMPLE* sample, int32_t count) {
  if (!valid(sample) || !shift_count_ok(count)) {
    SAMPLE_error();
    return;
  }
  const int32_t bits = count % 32;
  map_each(sample, [bits](int32_t v) { return v >> bits; });
}

void SAMPLE_shift_left(SAMPLE* sample, int32_t count) {
  if (!valid(sample) || !shift_count_ok(count)) {
    SAMPLE_error();
    return;
  }
  const int32_t bits = count % 32;
  map_each(sample, [bits](int32_t v) { return wrap(static_cast<uint32_t>(v) << bits); });
}

void SAMPLE_resample(SAMPLE* sample, int32_t new_length) {
  // An empty vector has no value to pick from.
  if (!valid(sample) || new_length < 1 || new_length == sample->length || sample->length == 0) {
    SAMPLE_error();
    return;
  }
  SAMPLE* picked = SAMPLE_create();
  if (picked == nullptr) {
    SAMPLE_error();
    return;
  }
  SAMPLE_set_capacity(picked, new_length);
  if (picked->capacity != new_length) {
    SAMPLE_destroy(&picked);
    return;
  }
  picked->length = new_length;
  // Output k takes input ceil((k+1) * L / N) - 1: the last input whose
  // span starts before the end of output k. Stretching and shrinking both
  // follow it; the 64-bit product cannot overflow.
  const int64_t old_length = sample->length;
  for (int64_t k = 0; k < new_length; ++k) {
    const int64_t index = ((k + 1) * old_length + new_length - 1) / new_length - 1;
    picked->values[k] = sample->values[index];
  }
  sample_detail::adopt_values(sample, &picked);
  sample->length = new_length;
}

void SAMPLE_rescale(SAMPLE* sample, int32_t low, int32_t high) {
  if (!valid(sample)) {
    SAMPLE_error();
    return;
  }
  if (sample->length == 0) {
    return;
  }
  const int64_t minimum = SAMPLE_min(sample);
  const int64_t span = int64_t{SAMPLE_max(sample)} - minimum;
  if (span == 0) {
    // No spread to stretch: everything lands on the low end.
    map_each(sample, [low](int32_t) { return low; });
    return;
  }
  // The minimum maps onto low and the maximum onto high. Both factors of
  // the product are below 2^32, so it fits in 64 unsigned bits.
  const int64_t range = int64_t{high} - low;
  const uint64_t magnitude = static_cast<uint64_t>(range < 0 ? -range : range);
  const auto divisor = static_cast<uint64_t>(span);
  map_each(sample, [=](int32_t v) {
    const auto offset = static_cast<uint64_t>(v - minimum);
    const auto step = static_cast<int64_t>(offset * magnitude / divisor);
    return static_cast<int32_t>(range < 0 ? low - step : low + step);
  });
}

int32_t SAMPLE_match_count(const SAMPLE* a, const SAMPLE* b, int32_t offset) {
  if (!valid(a) || !valid(b) || int64_t{offset} < 1 - int64_t{b->length} ||
      int64_t{offset} > int64_t{a->length} - 1) {
    SAMPLE_error();
    return 0;
  }
  // Position i of a meets position i - offset of b.
  const int32_t first = std::max(offset, 0);
  const auto end = static_cast<int32_t>(std::min<int64_t>(a->length, int64_t{offset} + b->length));
  int32_t count = 0;
  for (int32_t i = first; i < end; ++i) {
    count += a->values[i] == b->values[i - offset] ? 1 : 0;
  }
  return count;
}

int32_t SAMPLE_best_offset(const SAMPLE* a, const SAMPLE* b) {
  if (!valid(a) || !valid(b)) {
    SAMPLE_error();
    return 0;
  }
  int32_t best_offset = -b->length;
  int32_t best_count = 0;
  for (int32_t offset = 1 - b->length; offset < a->length; ++offset) {
    const int32_t count = SAMPLE_match_count(a, b, offset);
    if (count > best_count) {
      best_count = count;
      best_offset = offset;
    }
  }
  return best_offset;
}
