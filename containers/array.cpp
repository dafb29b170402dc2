#include "containers/array.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const MODULE_ID ARRAY_id = {"ARRAY   ", "20101011", "Kadwelon", "C       ", "CODE    "};

namespace {

constexpr int32_t initial_capacity = 2;

// Nothing in the show turns this on; tests do, to see the refusals.
uint8_t error_report = 0;

bool valid_index(const ARRAY* array, int32_t index) { return index >= 0 && index < array->length; }

// Half-open run from .. to inside 0 .. limit, not empty.
bool valid_run(int32_t from, int32_t to, int32_t limit) {
  return from >= 0 && from < to && to <= limit;
}

// Grows by doubling until `needed` slots exist. Refuses a need that no
// doubling of a 32-bit capacity can meet, before touching anything.
bool ensure_room(ARRAY* array, int64_t needed) {
  if (needed > INT32_MAX) {
    ARRAY_error();
    return false;
  }
  while (array->capacity < needed) {
    if (ARRAY_grow(array) == 0) {
      return false;
    }
  }
  return true;
}

// Opens a gap of `count` slots at `index`, moving the tail up.
void open_gap(ARRAY* array, int32_t index, int32_t count) {
  std::memmove(array->items + index + count, array->items + index,
               static_cast<size_t>(array->length - index) * sizeof(void*));
  array->length += count;
}

}  // namespace

void ARRAY_error() {
  if (error_report != 0) {
    std::fputs("ARRAY error\n", stdout);
  }
}

void ARRAY_set_error_report(int32_t on) { error_report = on != 0 ? 1 : 0; }

ARRAY* ARRAY_create() {
  auto* array = static_cast<ARRAY*>(std::calloc(1, sizeof(ARRAY)));
  if (array == nullptr) {
    return nullptr;
  }
  array->items = static_cast<void**>(std::calloc(initial_capacity, sizeof(void*)));
  if (array->items == nullptr) {
    std::free(array);
    return nullptr;
  }
  array->capacity = initial_capacity;
  return array;
}

void ARRAY_destroy(ARRAY** array) {
  if (array == nullptr || *array == nullptr) {
    ARRAY_error();
    return;
  }
  ARRAY* record = *array;
  std::free(record->items);
  record->items = nullptr;
  record->capacity = 0;
  record->length = 0;
  std::free(record);
  *array = nullptr;
}

int32_t ARRAY_equal(const ARRAY* a, const ARRAY* b) {
  if (a == b) {
    return 1;
  }
  if (a == nullptr || b == nullptr || a->length != b->length) {
    return 0;
  }
  for (int32_t i = 0; i < a->length; ++i) {
    if (a->items[i] != b->items[i]) {
      return 0;
    }
  }
  return 1;
}

ARRAY* ARRAY_clone(const ARRAY* array) {
  if (array == nullptr) {
    ARRAY_error();
    return nullptr;
  }
  ARRAY* clone = ARRAY_create();
  if (clone == nullptr) {
    return nullptr;
  }
  if (array->length > 0 && !ensure_room(clone, array->length)) {
    ARRAY_destroy(&clone);
    return nullptr;
  }
  for (int32_t i = 0; i < array->length; ++i) {
    ARRAY_push(clone, array->items[i]);
  }
  return clone;
}

void ARRAY_push(ARRAY* array, void* item) {
  if (array == nullptr) {
    ARRAY_error();
    return;
  }
  if (!ensure_room(array, int64_t{array->length} + 1)) {
    return;
  }
  array->items[array->length] = item;
  array->length += 1;
}

void* ARRAY_pop(ARRAY* array) {
  if (array == nullptr || array->length <= 0) {
    ARRAY_error();
    return nullptr;
  }
  array->length -= 1;
  return array->items[array->length];
}

void ARRAY_insert(ARRAY* array, void* item, int32_t index) {
  if (array == nullptr || index < 0 || index > array->length) {
    ARRAY_error();
    return;
  }
  if (!ensure_room(array, int64_t{array->length} + 1)) {
    return;
  }
  open_gap(array, index, 1);
  array->items[index] = item;
}

void ARRAY_remove(ARRAY* array, int32_t index) {
  if (array == nullptr || !valid_index(array, index)) {
    ARRAY_error();
    return;
  }
  std::memmove(array->items + index, array->items + index + 1,
               static_cast<size_t>(array->length - index - 1) * sizeof(void*));
  array->length -= 1;
  // A queue drained at the front must not keep a stale handle behind it.
  array->items[array->length] = nullptr;
}

void* ARRAY_get(const ARRAY* array, int32_t index) {
  if (array == nullptr || !valid_index(array, index)) {
    ARRAY_error();
    return nullptr;
  }
  return array->items[index];
}

void ARRAY_set(ARRAY* array, void* item, int32_t index) {
  if (array == nullptr || !valid_index(array, index)) {
    ARRAY_error();
    return;
  }
  array->items[index] = item;
}

int32_t ARRAY_find(const ARRAY* array, const void* item) {
  if (array == nullptr || item == nullptr) {
    ARRAY_error();
    return -1;
  }
  for (int32_t i = 0; i < array->length; ++i) {
    if (array->items[i] == item) {
      return i;
    }
  }
  return -1;
}

ARRAY* ARRAY_slice(const ARRAY* array, int32_t from, int32_t to) {
  if (array == nullptr || !valid_run(from, to, array->length)) {
    ARRAY_error();
    return nullptr;
  }
  ARRAY* slice = ARRAY_create();
  if (slice == nullptr) {
    return nullptr;
  }
  ARRAY_insert_range(array, slice, from, to, 0);
  if (slice->length != to - from) {
    ARRAY_destroy(&slice);
  }
  return slice;
}

void ARRAY_remove_range(ARRAY* array, int32_t from, int32_t to) {
  if (array == nullptr || !valid_run(from, to, array->length)) {
    ARRAY_error();
    return;
  }
  std::memmove(array->items + from, array->items + to,
               static_cast<size_t>(array->length - to) * sizeof(void*));
  array->length -= to - from;
}

void ARRAY_insert_range(const ARRAY* source, ARRAY* destination, int32_t from, int32_t to,
                        int32_t index) {
  if (source == nullptr || destination == nullptr || !valid_run(from, to, source->length) ||
      index < 0 || index > destination->length) {
    ARRAY_error();
    return;
  }
  const int32_t count = to - from;
  if (!ensure_room(destination, int64_t{destination->length} + count)) {
    return;
  }
  if (source == destination) {
    // Opening the gap would move the very handles about to be copied;
    // take them aside first.
    auto* run = static_cast<void**>(std::calloc(static_cast<size_t>(count), sizeof(void*)));
    if (run == nullptr) {
      ARRAY_error();
      return;
    }
    std::memcpy(run, source->items + from, static_cast<size_t>(count) * sizeof(void*));
    open_gap(destination, index, count);
    std::memcpy(destination->items + index, run, static_cast<size_t>(count) * sizeof(void*));
    std::free(run);
    return;
  }
  open_gap(destination, index, count);
  std::memcpy(destination->items + index, source->items + from,
              static_cast<size_t>(count) * sizeof(void*));
}

int32_t ARRAY_grow(ARRAY* array) {
  if (array == nullptr || array->capacity > INT32_MAX / 2) {
    ARRAY_error();
    return 0;
  }
  const int32_t doubled = array->capacity > 0 ? 2 * array->capacity : initial_capacity;
  auto* items = static_cast<void**>(std::calloc(static_cast<size_t>(doubled), sizeof(void*)));
  if (items == nullptr) {
    ARRAY_error();
    return 0;
  }
  if (array->length > 0) {
    std::memcpy(items, array->items, static_cast<size_t>(array->length) * sizeof(void*));
  }
  std::free(array->items);
  array->items = items;
  array->capacity = doubled;
  return 1;
}

char* ARRAY_to_text(const ARRAY* array) {
  if (array == nullptr) {
    ARRAY_error();
  }
  return nullptr;
}

ARRAY* ARRAY_from_text(const char* text) {
  if (text == nullptr) {
    ARRAY_error();
  }
  return nullptr;
}
