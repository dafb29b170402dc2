#pragma once

#include <cstdint>

#include "containers/module_id.h"

// Growable vector of handles. It never owns what its handles point to.
// Growth is by doubling only; nothing shrinks the item array.
struct ARRAY {
  int32_t capacity;  // slots in `items`
  int32_t length;    // handles in use, 0 <= length <= capacity
  void** items;
};

extern const MODULE_ID ARRAY_id;

// Prints "ARRAY error\n" while the report switch is on (it starts off).
void ARRAY_error();
void ARRAY_set_error_report(int32_t on);

ARRAY* ARRAY_create();
void ARRAY_destroy(ARRAY** array);
int32_t ARRAY_equal(const ARRAY* a, const ARRAY* b);
ARRAY* ARRAY_clone(const ARRAY* array);

void ARRAY_push(ARRAY* array, void* item);
void* ARRAY_pop(ARRAY* array);
void ARRAY_insert(ARRAY* array, void* item, int32_t index);
void ARRAY_remove(ARRAY* array, int32_t index);
void* ARRAY_get(const ARRAY* array, int32_t index);
void ARRAY_set(ARRAY* array, void* item, int32_t index);
int32_t ARRAY_find(const ARRAY* array, const void* item);

ARRAY* ARRAY_slice(const ARRAY* array, int32_t from, int32_t to);
void ARRAY_remove_range(ARRAY* array, int32_t from, int32_t to);
void ARRAY_insert_range(const ARRAY* source, ARRAY* destination, int32_t from, int32_t to,
                        int32_t index);
int32_t ARRAY_grow(ARRAY* array);

// Kept for the usual accessor set; an array of handles has no text form.
char* ARRAY_to_text(const ARRAY* array);
ARRAY* ARRAY_from_text(const char* text);
