#pragma once

#include <cstdint>

#include "containers/module_id.h"

struct BYTEMAP;
struct IMG;

// Three stand-alone helpers for effects. No state, no record, no error hook.

extern const MODULE_ID CURSORX_id;

// Writes exactly 8 upper-case hexadecimal digits into buffer[0..7], most
// significant first, with no terminating NUL. A null buffer is ignored.
void CURSORX_hex_text(uint32_t value, char* buffer);
// Adds 1 to each colour channel of every pixel, each wrapping on its own.
void CURSORX_step_colours(IMG* image);
// Fills every byte with band | (random() & 0x1F), the band drawn once.
void CURSORX_noise(BYTEMAP* map);
