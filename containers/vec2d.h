#pragma once

#include <cstdint>

#include "containers/module_id.h"

// A heap pair of signed integers with the usual handle conventions.
struct VEC2D {
  int32_t x;
  int32_t y;
};

extern const MODULE_ID VEC2D_id;

// Called on every refused argument; deliberately silent.
void VEC2D_error();

VEC2D* VEC2D_create();
void VEC2D_destroy(VEC2D** vector);
int32_t VEC2D_equal(const VEC2D* a, const VEC2D* b);
void VEC2D_copy(const VEC2D* source, VEC2D* destination);
VEC2D* VEC2D_clone(const VEC2D* source);

// Kept for the usual accessor set; a pair has no text form here.
char* VEC2D_to_text(const VEC2D* vector);
VEC2D* VEC2D_from_text(const char* text);
