#pragma once

// PALETTE: a SAMPLE of 256 colours in the IMG pixel format (0x00RRGGBB);
// entry i is the colour of byte-map index i. There is no record of its own.

#include <cstdint>

#include "containers/module_id.h"

struct SAMPLE;

extern const MODULE_ID PALETTE_id;

// Entries of a palette: one colour for every byte value.
constexpr int32_t PALETTE_length = 256;

void PALETTE_error();  // silent; checks are those of the SAMPLE calls

SAMPLE* PALETTE_create();  // 256 black entries; null when memory runs out
void PALETTE_destroy(SAMPLE** palette);
// Entry i moves to (i + amount) mod 256.
void PALETTE_rotate_up(SAMPLE* palette, int32_t amount);
// Entry i moves to (i - amount) mod 256.
void PALETTE_rotate_down(SAMPLE* palette, int32_t amount);
