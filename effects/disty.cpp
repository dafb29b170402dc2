#include "effects/disty.h"

#include <cstdlib>

#include "imaging/clip.h"

const MODULE_ID DISTY_id = {"DISTY   ", "20090807", "Kadwelon", "C       ", "CODE    "};

void DISTY_error() {}

namespace {

int32_t phase_sum(const DISTY* disty) {
  return clip_wrap(static_cast<int64_t>(disty->base) + disty->offset, disty->size);
}

// Recomputes `value`; a ring of size 0 cannot count.
int32_t update_value(DISTY* disty) {
  if (disty->size <= 0) {
    DISTY_error();
    return 0;
  }
  disty->value = phase_sum(disty);
  return disty->value;
}

void copy_settings(const DISTY* src, DISTY* dst) {
  dst->size = src->size;
  dst->base = src->base;
  dst->base_step = src->base_step;
  dst->offset = src->offset;
  dst->offset_step = src->offset_step;
  // The copy carries no `value`; it is recomputed from what was copied so
  // that it stays inside the new ring.
  dst->value = dst->size > 0 ? phase_sum(dst) : 0;
}

}  // namespace

DISTY* DISTY_create() {
  auto* disty = static_cast<DISTY*>(std::calloc(1, sizeof(DISTY)));
  if (disty == nullptr) {
    DISTY_error();
    return nullptr;
  }
  disty->size = 1024;
  disty->base_step = 1;
  disty->offset_step = 2;
  return disty;
}

void DISTY_destroy(DISTY** disty) {
  if (disty == nullptr || *disty == nullptr) {
    DISTY_error();
    return;
  }
  std::free(*disty);
  *disty = nullptr;
}

DISTY* DISTY_clone(const DISTY* disty) {
  if (disty == nullptr) {
    DISTY_error();
    return nullptr;
  }
  DISTY* clone = DISTY_create();
  if (clone != nullptr) {
    copy_settings(disty, clone);
  }
  return clone;
}

void DISTY_copy(const DISTY* src, DISTY* dst) {
  if (src == nullptr || dst == nullptr) {
    DISTY_error();
    return;
  }
  copy_settings(src, dst);
}

void DISTY_configure(DISTY* disty, int32_t size, int32_t base, int32_t base_step, int32_t offset,
                     int32_t offset_step) {
  if (disty == nullptr) {
    DISTY_error();
    return;
  }
  DISTY_set_size(disty, size);
  DISTY_set_base(disty, base);
  DISTY_set_offset(disty, offset);
  disty->base_step = base_step;
  disty->offset_step = offset_step;
}

void DISTY_set_size(DISTY* disty, int32_t size) {
  if (disty == nullptr || size < 0) {
    DISTY_error();
    return;
  }
  disty->size = size;
  DISTY_set_base(disty, disty->base);
}

int32_t DISTY_restart(DISTY* disty, int32_t phase) {
  if (disty == nullptr) {
    DISTY_error();
    return 0;
  }
  disty->offset = 0;
  return DISTY_set_base(disty, phase);
}

int32_t DISTY_set_base(DISTY* disty, int32_t phase) {
  if (disty == nullptr || disty->size <= 0) {
    DISTY_error();
    return 0;
  }
  // A negative phase lands in 1 ... size, so an exact negative multiple of
  // the ring gives `size` itself; `value` still wraps it to 0.
  const int32_t rem = phase % disty->size;
  disty->base = phase >= 0 ? rem : disty->size + rem;
  return update_value(disty);
}

int32_t DISTY_advance(DISTY* disty) {
  if (disty == nullptr || disty->size <= 0) {
    DISTY_error();
    return 0;
  }
  disty->base = clip_wrap(static_cast<int64_t>(disty->base) + disty->base_step, disty->size);
  return update_value(disty);
}

int32_t DISTY_set_offset(DISTY* disty, int32_t offset) {
  if (disty == nullptr) {
    DISTY_error();
    return 0;
  }
  disty->offset = offset;
  return update_value(disty);
}

int32_t DISTY_advance_offset(DISTY* disty) {
  if (disty == nullptr) {
    DISTY_error();
    return 0;
  }
  // The offset is never folded; it wraps modulo 2^32 like any 32-bit sum
  // rather than overflowing.
  disty->offset = static_cast<int32_t>(static_cast<uint32_t>(disty->offset) +
                                       static_cast<uint32_t>(disty->offset_step));
  return update_value(disty);
}
