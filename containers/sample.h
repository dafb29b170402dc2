#pragma once

#include <cstdint>
#include <cstdio>

#include "containers/module_id.h"

// Growable vector of signed 32-bit values: sound buffers, instrument sounds,
// the palette and the roll's row table. Arithmetic on the values wraps
// modulo 2^32. The record owns `values` unless it is compiled-in data.
struct SAMPLE {
  int32_t length;    // values in use, 0 <= length <= capacity
  int32_t capacity;  // slots in `values`
  int32_t* values;
};

extern const MODULE_ID SAMPLE_id;

// Called on every refused argument; deliberately silent.
void SAMPLE_error();

// Storage and lifecycle.
SAMPLE* SAMPLE_create();
void SAMPLE_destroy(SAMPLE** sample);
void SAMPLE_set_capacity(SAMPLE* sample, int32_t count);
void SAMPLE_set_length(SAMPLE* sample, int32_t count);
void SAMPLE_clear(SAMPLE* sample);
SAMPLE* SAMPLE_clone(const SAMPLE* sample);
int32_t SAMPLE_equal(const SAMPLE* a, const SAMPLE* b);

// Element access.
int32_t SAMPLE_get(const SAMPLE* sample, int32_t index);
void SAMPLE_set(SAMPLE* sample, int32_t value, int32_t index);
int32_t SAMPLE_find(const SAMPLE* sample, int32_t value, int32_t start);
void SAMPLE_insert(SAMPLE* sample, int32_t value, int32_t index);
void SAMPLE_remove(SAMPLE* sample, int32_t index);
int32_t SAMPLE_min(const SAMPLE* sample);  // 0 when empty
int32_t SAMPLE_max(const SAMPLE* sample);  // 0 when empty
void SAMPLE_reverse(SAMPLE* sample);

// Block operations. Source and destination of a range copy may be the same
// vector; overlapping runs are copied as if through a temporary.
void SAMPLE_copy_range(const SAMPLE* source, SAMPLE* destination, int32_t count,
                       int32_t source_index, int32_t destination_index);
void SAMPLE_insert_vector(SAMPLE* destination, const SAMPLE* source, int32_t index);
SAMPLE* SAMPLE_slice(const SAMPLE* sample, int32_t from, int32_t to);
void SAMPLE_rotate_right(SAMPLE* sample, int32_t amount);
void SAMPLE_rotate_left(SAMPLE* sample, int32_t amount);

// Arithmetic over the values in use (over the shorter length for two vectors).
void SAMPLE_add(SAMPLE* a, const SAMPLE* b);
void SAMPLE_multiply_each(SAMPLE* a, const SAMPLE* b);
void SAMPLE_multiply(SAMPLE* sample, int32_t factor);
void SAMPLE_shift_right(SAMPLE* sample, int32_t count);
void SAMPLE_shift_left(SAMPLE* sample, int32_t count);
void SAMPLE_resample(SAMPLE* sample, int32_t new_length);
void SAMPLE_rescale(SAMPLE* sample, int32_t low, int32_t high);

// Search by correlation.
int32_t SAMPLE_match_count(const SAMPLE* a, const SAMPLE* b, int32_t offset);
int32_t SAMPLE_best_offset(const SAMPLE* a, const SAMPLE* b);

// Text forms: "SAMPLE{n\nv0\n...\n}\n", and a bare list of integers.
// Returned texts come from std::malloc; the caller frees them.
char* SAMPLE_to_text(const SAMPLE* sample);
SAMPLE* SAMPLE_from_text(const char* text);
SAMPLE* SAMPLE_parse_list(const char* text);

// Raw headerless PCM on a stream the caller opened. byte_order is 'b' or 'l',
// sign is 's' or 'u'.
SAMPLE* SAMPLE_read(FILE* stream, int32_t bits, char byte_order, char sign);
void SAMPLE_write(const SAMPLE* sample, FILE* stream, int32_t bits, char byte_order);
