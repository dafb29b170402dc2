#include "show/assets/pictures.h"

const uint8_t font_bitmap_pnm[] = {
#include "font_bitmap.pnm.inc"
};
const size_t font_bitmap_pnm_size = sizeof font_bitmap_pnm;

const uint8_t picture_sheet_pnm[] = {
#include "picture_sheet.pnm.inc"
};
const size_t picture_sheet_pnm_size = sizeof picture_sheet_pnm;

const uint8_t logo_picture_pnm[] = {
#include "logo_picture.pnm.inc"
};
const size_t logo_picture_pnm_size = sizeof logo_picture_pnm;

const uint8_t roll_picture_pnm[] = {
#include "roll_picture.pnm.inc"
};
const size_t roll_picture_pnm_size = sizeof roll_picture_pnm;

const uint8_t corner_picture_pnm[] = {
#include "corner_picture.pnm.inc"
};
const size_t corner_picture_pnm_size = sizeof corner_picture_pnm;
