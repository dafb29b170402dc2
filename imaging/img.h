#pragma once

#include <cstddef>
#include <cstdint>

#include "containers/module_id.h"

// The 32-bit image every frame is drawn on. Pixels are 0x00RRGGBB, row-major,
// pixel (x, y) at pixels[y * width + x]. The value 0 is black and also the
// transparent value of every keyed copy.
struct IMG {
  int32_t y;  // vertical offset when the image serves as a roll texture
  int32_t width;
  int32_t height;
  uint32_t* pixels;  // width * height values, owned by the record
};

extern const MODULE_ID IMG_id;

// Error hook: prints "IMG error\n" only while the report switch is on (off at start).
void IMG_error();
void IMG_set_error_report(int32_t on);

// Life cycle and pixel access. Every operation that touches pixels reports an
// image without a buffer and leaves it alone.
IMG* IMG_create();
void IMG_destroy(IMG** image);
// Refuses (reports, changes nothing) a negative side or more pixels than
// 16384 x 16384; a failed allocation reports and leaves 0 x 0 with no buffer.
void IMG_resize(IMG* image, int32_t width, int32_t height);
void IMG_clear(IMG* image);
void IMG_put_pixel(IMG* image, int32_t x, int32_t y, uint32_t colour);
uint32_t IMG_get_pixel(const IMG* image, int32_t x, int32_t y);
int32_t IMG_equal(const IMG* a, const IMG* b);
IMG* IMG_clone(const IMG* image);
void IMG_copy(const IMG* src, IMG* dst);
void IMG_fade(IMG* image, uint8_t amount);

// File and text forms (PNM family P1 to P6 and the "IMG{" dump). Input is
// untrusted: oversized headers, other magics (such as P7) and short pixel data
// are refused, never half-decoded; samples of a maxval above 255 (up to
// 65535, two bytes each in P5/P6) are scaled to 0..255 (imaging/pnm.h says
// exactly how).
IMG* IMG_parse(const uint8_t* data, size_t size);
IMG* IMG_load(const char* path);
int32_t IMG_save(const IMG* image, const char* path);
char* IMG_to_text(const IMG* image);
IMG* IMG_from_text(const char* text);
int32_t IMG_find(const char* text, const char* literal);

// Blits and drawing. A source pixel of exactly 0 is skipped by the keyed copies
// (blit, blit_stepped, blend, wrap_row, wrap_column).
void IMG_blit(const IMG* src, IMG* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
              int32_t h);
// Steps below 1 are reported.
void IMG_blit_stepped(const IMG* src, IMG* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                      int32_t w, int32_t h, int32_t step_x, int32_t step_y);
void IMG_blend(const IMG* src, IMG* dst, int32_t x, int32_t y);
void IMG_wrap_row(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row, int32_t offset);
void IMG_wrap_row_or(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row, int32_t offset);
void IMG_wrap_column(const IMG* src, IMG* dst, int32_t src_column, int32_t dst_column,
                     int32_t offset);
void IMG_copy_row(const IMG* src, IMG* dst, int32_t src_row, int32_t dst_row);
// Reports a destination with fewer pixels than the mask.
void IMG_mask(const IMG* mask, IMG* dst);
void IMG_fill_rect(IMG* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void IMG_draw_rect(IMG* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
// Heap array (std::free): count 2n + 2, then n + 1 points (x, y). Null, reported,
// when the allocation fails or the count would not fit 32 bits.
int32_t* IMG_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// Scaling and rotation. IMG_scale fills the destination at its current size;
// an empty destination needs nothing, an empty or bufferless source is reported.
void IMG_scale(const IMG* src, IMG* dst);
// Heap array (std::free) of min(|a|, |b|) + 1 run lengths; null on failure.
int32_t* IMG_scale_runs(int32_t a, int32_t b);
IMG* IMG_rotate(const IMG* src, int32_t angle);
