#pragma once

// BYTEMAP: the 8-bit twin of IMG. One unsigned byte per pixel, a palette
// index, used as an indexed-colour canvas and rendered into a 32-bit image
// through a 256-entry palette. Every operation validates its arguments first;
// a failed check calls BYTEMAP_error and changes nothing.

#include <cstddef>
#include <cstdint>

#include "containers/module_id.h"

struct IMG;
struct SAMPLE;

struct BYTEMAP {
  int32_t width;    // pixels per row
  int32_t height;   // number of rows
  uint8_t* pixels;  // width x height bytes, row-major, owned
};

extern const MODULE_ID BYTEMAP_id;

// Error hook: prints "BYTEMAP error\n" only while the report switch is on.
void BYTEMAP_error();
// The switch starts off and nothing in the show turns it on.
void BYTEMAP_set_error_report(int32_t on);

// Life cycle and pixel access.
BYTEMAP* BYTEMAP_create();  // 16 x 16, all 0; null when memory runs out
void BYTEMAP_destroy(BYTEMAP** map);
void BYTEMAP_resize(BYTEMAP* map, int32_t width, int32_t height);
void BYTEMAP_clear(BYTEMAP* map);
void BYTEMAP_put_pixel(BYTEMAP* map, int32_t x, int32_t y, uint8_t value);
uint8_t BYTEMAP_get_pixel(const BYTEMAP* map, int32_t x, int32_t y);
int32_t BYTEMAP_equal(const BYTEMAP* a, const BYTEMAP* b);
BYTEMAP* BYTEMAP_clone(const BYTEMAP* map);
void BYTEMAP_copy(const BYTEMAP* src, BYTEMAP* dst);
void BYTEMAP_fade(BYTEMAP* map, uint8_t amount);

// File and text forms (PNM family P1 to P6 and the "BYTEMAP{" dump). Input
// is untrusted: oversized headers, other magics (such as P7) and short pixel
// data are refused, never half-decoded; samples of a maxval above 255 (up to
// 65535, two bytes each in P5/P6) are scaled to 0..255 before a colour
// becomes a byte (imaging/pnm.h says exactly how).
BYTEMAP* BYTEMAP_parse(const uint8_t* data, size_t size);
BYTEMAP* BYTEMAP_load(const char* path);
int32_t BYTEMAP_save(const BYTEMAP* map, const char* path);
char* BYTEMAP_to_text(const BYTEMAP* map);  // caller frees with std::free
BYTEMAP* BYTEMAP_from_text(const char* text);
int32_t BYTEMAP_find(const char* text, const char* literal);

// Blits and drawing; 0 is the transparent value of the keyed copies.
void BYTEMAP_blit(const BYTEMAP* src, BYTEMAP* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                  int32_t w, int32_t h);
void BYTEMAP_blit_stepped(const BYTEMAP* src, BYTEMAP* dst, int32_t sx, int32_t sy, int32_t dx,
                          int32_t dy, int32_t w, int32_t h, int32_t step_x, int32_t step_y);
void BYTEMAP_blend(const BYTEMAP* src, BYTEMAP* dst, int32_t x, int32_t y);
void BYTEMAP_wrap_row(const BYTEMAP* src, BYTEMAP* dst, int32_t src_row, int32_t dst_row,
                      int32_t offset);
void BYTEMAP_wrap_row_or(const BYTEMAP* src, BYTEMAP* dst, int32_t src_row, int32_t dst_row,
                         int32_t offset);
void BYTEMAP_wrap_column(const BYTEMAP* src, BYTEMAP* dst, int32_t src_column, int32_t dst_column,
                         int32_t offset);
void BYTEMAP_mask(const BYTEMAP* mask, BYTEMAP* dst);
void BYTEMAP_fill_rect(BYTEMAP* map, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value);
void BYTEMAP_draw_rect(BYTEMAP* map, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value);
// Value 0 holds the count of values that follow, then (x, y) pairs from
// (x0, y0) to (x1, y1). Caller frees with std::free; null when memory runs out.
int32_t* BYTEMAP_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// Scaling and rotation.
void BYTEMAP_scale(const BYTEMAP* src, BYTEMAP* dst);
int32_t* BYTEMAP_scale_runs(int32_t a, int32_t b);  // caller frees
BYTEMAP* BYTEMAP_rotate(const BYTEMAP* src, int32_t angle);

// Operations of the byte map alone.
void BYTEMAP_render(const BYTEMAP* map, IMG* image, const SAMPLE* palette);
void BYTEMAP_add(BYTEMAP* map, uint8_t amount);
void BYTEMAP_draw_circle(BYTEMAP* map, int32_t cx, int32_t cy, int32_t radius, uint8_t value);
