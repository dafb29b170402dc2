#pragma once

#include <cstddef>
#include <cstdint>

#include "show/assets/pictures.h"

// A picture compiled into the show, with the file form and size it is made in.
struct CompiledPicture {
  const char* name;  // also usable as a file name
  const uint8_t* data;
  size_t size;
  const char* magic;
  int32_t width;
  int32_t height;
};

inline const CompiledPicture compiled_pictures[] = {
    {"font_bitmap", font_bitmap_pnm, font_bitmap_pnm_size, "P4", 128, 144},
    {"picture_sheet", picture_sheet_pnm, picture_sheet_pnm_size, "P6", 512, 256},
    {"logo_picture", logo_picture_pnm, logo_picture_pnm_size, "P6", 256, 256},
    {"roll_picture", roll_picture_pnm, roll_picture_pnm_size, "P6", 256, 96},
    {"corner_picture", corner_picture_pnm, corner_picture_pnm_size, "P6", 64, 64},
};
