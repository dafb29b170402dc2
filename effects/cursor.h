#pragma once

#include <cstdint>

#include "containers/module_id.h"
#include "effects/disty.h"

struct IMG;

// A wave distorter: draws a source image column by column, each column
// shifted vertically along a sine wave whose phase comes from `phase`.
struct CURSOR {
  int32_t x;          // added to each source column to give its destination column
  int32_t y;          // the wave's rest line
  DISTY phase;        // one sine-table index per column
  int32_t amplitude;  // a column moves by (amplitude x sine) >> 16 rows
  IMG* image;         // the source; not owned
};

extern const MODULE_ID CURSOR_id;

void CURSOR_error();  // silent

CURSOR* CURSOR_create();
void CURSOR_destroy(CURSOR** cursor);
void CURSOR_draw(CURSOR* cursor, IMG* dst);
void CURSOR_move(CURSOR* cursor);
