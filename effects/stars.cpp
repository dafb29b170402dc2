#include "effects/stars.h"

#include <cstdlib>

#include "imaging/font.h"
#include "imaging/img.h"

const MODULE_ID STARS_id = {"STARS   ", "20101019", "Kadwelon", "C       ", "CODE    "};

void STARS_error() {}

namespace {

// Glyph cells are 32 x 32 and centred on the star; a star's glyph frame
// follows its row, 64 frames a turn.
constexpr int32_t glyph_centre = 16;
constexpr int32_t glyph_frames = 64;

int32_t to_fixed(int32_t pixel) { return static_cast<int32_t>(static_cast<uint32_t>(pixel) << 16); }

int32_t whole_pixel(int32_t fixed) { return fixed >> 16; }

// Positions move modulo 2^32, as 32-bit sums always did, without overflowing.
int32_t add_fixed(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

bool inside(const STARS* field, int32_t x, int32_t y) {
  const int32_t px = whole_pixel(x);
  const int32_t py = whole_pixel(y);
  return px >= 0 && py >= 0 && px < field->width && py < field->height;
}

bool field_has_area(const STARS* field) { return field->width >= 1 && field->height >= 1; }

// Picks the edge a star re-enters through when it moves on both axes: the
// chance of each edge grows with the speed across it.
void enter_from_edge(const STARS* field, int32_t& rx, int32_t& ry) {
  const int32_t wx = std::abs(whole_pixel(field->dx) + 1);
  const int32_t wy = std::abs(whole_pixel(field->dy) + 1);
  if (wx + wy == 0) {
    return;  // both weights vanish: keep the position drawn anywhere in the field
  }
  if (std::rand() % (wx + wy) < wx) {
    rx = field->dx >= 0 ? 0 : field->width - 1;
  } else {
    ry = field->dy >= 0 ? 0 : field->height - 1;
  }
}

bool can_draw(const STARS* field, const IMG* dst, bool needs_font) {
  if (field == nullptr || dst == nullptr || field->stars == nullptr ||
      (needs_font && field->font == nullptr)) {
    STARS_error();
    return false;
  }
  return true;
}

}  // namespace

STARS* STARS_create() {
  auto* field = static_cast<STARS*>(std::calloc(1, sizeof(STARS)));
  if (field == nullptr) {
    STARS_error();
    return nullptr;
  }
  field->width = 256;
  field->height = 256;
  field->dy = 0x10000;
  field->colour = 0xFFFFFF;
  STARS_set_count(field, 16);
  if (field->stars == nullptr) {
    std::free(field);
    return nullptr;
  }
  return field;
}

void STARS_destroy(STARS** field) {
  if (field == nullptr || *field == nullptr) {
    STARS_error();
    return;
  }
  std::free((*field)->stars);
  std::free(*field);
  *field = nullptr;
}

void STARS_set_count(STARS* field, int32_t n) {
  if (field == nullptr || n < 1) {
    STARS_error();
    return;
  }
  std::free(field->stars);
  field->stars = static_cast<int32_t*>(std::calloc(2 * static_cast<size_t>(n), sizeof(int32_t)));
  if (field->stars == nullptr) {
    field->count = 0;
    STARS_error();
    return;
  }
  field->count = n;
  STARS_scatter(field);
}

void STARS_scatter(STARS* field) {
  if (field == nullptr || field->stars == nullptr || !field_has_area(field)) {
    STARS_error();
    return;
  }
  for (int32_t i = 0; i < field->count; ++i) {
    field->stars[2 * i] = to_fixed(std::rand() % field->width);
    field->stars[2 * i + 1] = to_fixed(std::rand() % field->height);
  }
}

void STARS_respawn(STARS* field, int32_t index) {
  if (field == nullptr || field->stars == nullptr || index < 0 || index >= field->count ||
      !field_has_area(field)) {
    STARS_error();
    return;
  }
  int32_t rx = std::rand() % field->width;
  int32_t ry = std::rand() % field->height;
  if (field->dx != 0 && field->dy != 0) {
    enter_from_edge(field, rx, ry);
  } else if (field->dx != 0) {
    rx = field->dx > 0 ? 0 : field->width - 1;
  } else if (field->dy != 0) {
    ry = field->dy > 0 ? 0 : field->height - 1;
  }
  field->stars[2 * index] = to_fixed(rx);
  field->stars[2 * index + 1] = to_fixed(ry);
}

void STARS_move(STARS* field) {
  if (field == nullptr || field->stars == nullptr) {
    STARS_error();
    return;
  }
  for (int32_t i = 0; i < field->count; ++i) {
    const int32_t x = add_fixed(field->stars[2 * i], field->dx);
    const int32_t y = add_fixed(field->stars[2 * i + 1], field->dy);
    field->stars[2 * i] = x;
    field->stars[2 * i + 1] = y;
    if (!inside(field, x, y)) {
      STARS_respawn(field, i);
    }
  }
}

void STARS_draw(STARS* field, IMG* dst) {
  if (!can_draw(field, dst, true)) {
    return;
  }
  field->width = dst->width;
  field->height = dst->height;
  for (int32_t i = 0; i < field->count; ++i) {
    const int32_t px = whole_pixel(field->stars[2 * i]);
    const int32_t py = whole_pixel(field->stars[2 * i + 1]);
    FONT_draw_char(field->font, py % glyph_frames, px - glyph_centre, py - glyph_centre, dst);
  }
}

void STARS_draw_pixels(STARS* field, IMG* dst) {
  if (!can_draw(field, dst, false)) {
    return;
  }
  field->width = dst->width;
  field->height = dst->height;
  for (int32_t i = 0; i < field->count; ++i) {
    IMG_put_pixel(dst, whole_pixel(field->stars[2 * i]), whole_pixel(field->stars[2 * i + 1]),
                  field->colour);
  }
}
