// Palette: 256 colours held in a sample vector, rotated for colour cycling.

#include "imaging/palette.h"

#include "containers/sample.h"

const MODULE_ID PALETTE_id = {"PALETTE ", "20101018", "Kadwelon", "C       ",
                              "CODE    "};

namespace {

constexpr int32_t palette_entries = 256;

// Reduced into 0 .. length - 1, so that a negative amount turns the other
// way instead of depending on how the vector treats it.
int32_t reduced_amount(const SAMPLE* palette, int32_t amount) {
  if (palette == nullptr || palette->length <= 0) {
    return amount;  // left to the vector's own checks
  }
  const int32_t k = amount % palette->length;
  return k < 0 ? k + palette->length : k;
}

}  // namespace

void PALETTE_error() {}

SAMPLE* PALETTE_create() {
  SAMPLE* palette = SAMPLE_create();
  if (palette == nullptr) {
    PALETTE_error();
    return nullptr;
  }
  SAMPLE_set_length(palette, palette_entries);
  if (palette->length != palette_entries) {
    SAMPLE_destroy(&palette);  // out of memory: no short palette
    PALETTE_error();
    return nullptr;
  }
  return palette;
}

void PALETTE_destroy(SAMPLE** palette) { SAMPLE_destroy(palette); }

void PALETTE_rotate_up(SAMPLE* palette, int32_t amount) {
  SAMPLE_rotate_right(palette, reduced_amount(palette, amount));
}

void PALETTE_rotate_down(SAMPLE* palette, int32_t amount) {
  SAMPLE_rotate_left(palette, reduced_amount(palette, amount));
}
