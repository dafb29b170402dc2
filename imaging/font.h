#pragma once

// FONT: fixed-size character cells laid side by side in one IMG strip that
// wraps at the image width. Cell c starts at linear offset c x width.
// Pixels of value 0 are transparent; all others are drawn unchanged.

#include <cstdint>

#include "containers/module_id.h"

struct IMG;

struct FONT {
  int32_t width;   // cell width, also the advance between characters
  int32_t height;  // cell height
  IMG* image;      // every cell; owned by the font
};

extern const MODULE_ID FONT_id;

void FONT_error();  // silent

FONT* FONT_create();             // cell 6 x 6, no image; null when memory runs out
void FONT_destroy(FONT** font);  // destroys the image too
void FONT_draw_char(const FONT* font, int32_t code, int32_t x, int32_t y, IMG* dst);
void FONT_draw_hex8(const FONT* font, uint8_t value, int32_t x, int32_t y, IMG* dst);
void FONT_draw_hex16(const FONT* font, uint16_t value, int32_t x, int32_t y, IMG* dst);
void FONT_draw_hex32(const FONT* font, uint32_t value, int32_t x, int32_t y, IMG* dst);
// Draws up to the first line feed or NUL; y never changes.
void FONT_draw_text(const FONT* font, const char* text, int32_t x, int32_t y, IMG* dst);
