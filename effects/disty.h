#pragma once

#include <cstdint>

#include "containers/module_id.h"

// A two-part phase counter over a ring of `size` steps: a slow `base`
// that moves once per frame and a fast `offset` that moves once per column
// or row. `value` is their sum taken into 0 ... size - 1, ready to index a
// table of `size` entries.
struct DISTY {
  int32_t size;
  int32_t value;
  int32_t base;
  int32_t base_step;
  int32_t offset;
  int32_t offset_step;
};

extern const MODULE_ID DISTY_id;

void DISTY_error();

DISTY* DISTY_create();
void DISTY_destroy(DISTY** disty);
DISTY* DISTY_clone(const DISTY* disty);
void DISTY_copy(const DISTY* src, DISTY* dst);
void DISTY_configure(DISTY* disty, int32_t size, int32_t base, int32_t base_step, int32_t offset,
                     int32_t offset_step);
void DISTY_set_size(DISTY* disty, int32_t size);
int32_t DISTY_restart(DISTY* disty, int32_t phase);
int32_t DISTY_set_base(DISTY* disty, int32_t phase);
int32_t DISTY_advance(DISTY* disty);
int32_t DISTY_set_offset(DISTY* disty, int32_t offset);
int32_t DISTY_advance_offset(DISTY* disty);
