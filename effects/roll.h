#pragma once

#include <cstdint>

#include "containers/module_id.h"

struct IMG;
struct SAMPLE;

// A texture bent round a roll with a horizontal axis. Every row of the two
// faces is one whole texture row, picked through `table`, so the texture is
// squeezed toward the rims and stretched across the middle. The texture's
// own `y` is its vertical offset: advancing it turns the roll.
struct ROLL {
  int32_t width;
  int32_t height;  // also the number of entries of `table`
  IMG* front;      // width x height, owned
  IMG* back;       // width x height, owned
  SAMPLE* table;   // face row d shows texture row (offset -/+ table[d]); owned
  int32_t radius;  // height / 2
};

extern const MODULE_ID ROLL_id;

// Prints "ROLL ERROR\n" only while the report switch is on (off at start).
void ROLL_error();
void ROLL_set_error_report(int32_t on);

ROLL* ROLL_create();  // built at 256 x 64; null when memory runs out
// Replaces faces and table by new ones of the given size. A width below 1,
// a height below 2 or a failed allocation is reported and leaves the roll
// as it was.
void ROLL_build(ROLL* roll, int32_t width, int32_t height);
void ROLL_draw(ROLL* roll, const IMG* texture);
void ROLL_draw_flat(ROLL* roll, const IMG* texture);
void ROLL_destroy(ROLL** roll);
