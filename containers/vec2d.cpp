#include "containers/vec2d.h"

#include <cstdlib>

const MODULE_ID VEC2D_id = {"VEC2D   ", "20101019", "Kadwelon", "C       ", "CODE    "};

void VEC2D_error() {}

VEC2D* VEC2D_create() { return static_cast<VEC2D*>(std::calloc(1, sizeof(VEC2D))); }

void VEC2D_destroy(VEC2D** vector) {
  if (vector == nullptr || *vector == nullptr) {
    VEC2D_error();
    return;
  }
  std::free(*vector);
  *vector = nullptr;
}

int32_t VEC2D_equal(const VEC2D* a, const VEC2D* b) {
  if (a == nullptr || b == nullptr) {
    VEC2D_error();
    return 0;
  }
  return (a->x == b->x && a->y == b->y) ? 1 : 0;
}

void VEC2D_copy(const VEC2D* source, VEC2D* destination) {
  if (source == nullptr || destination == nullptr) {
    VEC2D_error();
    return;
  }
  destination->x = source->x;
  destination->y = source->y;
}

VEC2D* VEC2D_clone(const VEC2D* source) {
  if (source == nullptr) {
    VEC2D_error();
    return nullptr;
  }
  VEC2D* clone = VEC2D_create();
  if (clone != nullptr) {
    VEC2D_copy(source, clone);
  }
  return clone;
}

char* VEC2D_to_text(const VEC2D* vector) {
  if (vector == nullptr) {
    VEC2D_error();
  }
  return nullptr;
}

VEC2D* VEC2D_from_text(const char* text) {
  if (text == nullptr) {
    VEC2D_error();
  }
  return nullptr;
}
