#pragma once

#include <cstddef>
#include <cstdint>

// The show's pictures, each a complete PNM file (comment lines after the
// magic) compiled in byte for byte; decode them with IMG_parse.
//   font_bitmap     P4 128 x 144: 16 x 18 cells of 8 x 8, cell c for code c
//   picture_sheet   P6 512 x 256: 16 x 8 cells of 32 x 32 (letters, stars, symbols)
//   logo_picture    P6 256 x 256: the show's name; exactly-black areas are windows
//   roll_picture    P6 256 x 96: the texture wrapped round the roll
//   corner_picture  P6 64 x 64: the emblem drawn keyed in a corner
extern const uint8_t font_bitmap_pnm[];
extern const size_t font_bitmap_pnm_size;
extern const uint8_t picture_sheet_pnm[];
extern const size_t picture_sheet_pnm_size;
extern const uint8_t logo_picture_pnm[];
extern const size_t logo_picture_pnm_size;
extern const uint8_t roll_picture_pnm[];
extern const size_t roll_picture_pnm_size;
extern const uint8_t corner_picture_pnm[];
extern const size_t corner_picture_pnm_size;
