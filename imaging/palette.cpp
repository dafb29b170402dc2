// Palette: 256 colours held in a sample vector, rotated for colour cycling.

#include "imaging/palette.h"

#include "containers/sample.h"

const MODULE_ID PALETTE_id = {"PALETTE ", "20101018", "Kadwelon", "C       ", "CODE    "};

void PALETTE_error() {}

SAMPLE* PALETTE_create() {
  SAMPLE* palette = SAMPLE_create();
  if (palette == nullptr) {
    PALETTE_error();
    return nullptr;
  }
  SAMPLE_set_length(palette, PALETTE_length);
  if (palette->length != PALETTE_length) {
    SAMPLE_destroy(&palette);  // out of memory: no short palette
    PALETTE_error();
    return nullptr;
  }
  return palette;
}

void PALETTE_destroy(SAMPLE** palette) { SAMPLE_destroy(palette); }

void PALETTE_rotate_up(SAMPLE* palette, int32_t amount) { SAMPLE_rotate_right(palette, amount); }

void PALETTE_rotate_down(SAMPLE* palette, int32_t amount) { SAMPLE_rotate_left(palette, amount); }
