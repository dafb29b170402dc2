#include "effects/roll.h"

#include <cstdio>
#include <cstdlib>

#include "containers/sample.h"
#include "imaging/clip.h"
#include "imaging/img.h"
#include "show/assets/sine_table.h"

// This record keeps the author before the date.
const MODULE_ID ROLL_id = {"ROLL    ", "Kadwelon", "20101019", "C       ", "CODE    "};

namespace {

int32_t error_report = 0;

struct ROLL_PARTS {
  IMG* front;
  IMG* back;
  SAMPLE* table;
};

void release_parts(ROLL_PARTS& parts) {
  if (parts.front != nullptr) {
    IMG_destroy(&parts.front);
  }
  if (parts.back != nullptr) {
    IMG_destroy(&parts.back);
  }
  if (parts.table != nullptr) {
    SAMPLE_destroy(&parts.table);
  }
}

IMG* make_face(int32_t width, int32_t height) {
  IMG* face = IMG_create();
  if (face == nullptr) {
    return nullptr;
  }
  IMG_resize(face, width, height);
  // A size the image refuses leaves it at its first size, so check both.
  if (face->pixels == nullptr || face->width != width || face->height != height) {
    IMG_destroy(&face);
  }
  return face;
}

SAMPLE* make_table(int32_t height) {
  SAMPLE* table = SAMPLE_create();
  if (table == nullptr) {
    return nullptr;
  }
  SAMPLE_set_length(table, height);
  if (table->length != height) {
    SAMPLE_destroy(&table);
  }
  return table;
}

int32_t scaled_sine(int32_t radius, int32_t angle) {
  const int64_t product = static_cast<int64_t>(radius) * sine_table[(angle >> 16) & sine_mask];
  return static_cast<int32_t>(product >> 15);
}

// A quarter turn of the sine is spread over height / 2 passes. Pass i puts
// the row at angle a on both halves of the face: s is how far it lies from
// the roll's axis in texture rows, c where it appears on the face. Later
// passes overwrite earlier ones; rows no pass reaches repeat the row above.
void fill_table(SAMPLE* table, int32_t height) {
  const int32_t r = height / 2;
  const int32_t quarter = 256 * 65536;
  const int32_t step = quarter / (height >> 1);
  int32_t a = 0;
  int32_t b = quarter;
  for (int32_t i = 0; i <= r; ++i) {
    const int32_t s = scaled_sine(r, a);
    const int32_t c = scaled_sine(r, b);
    SAMPLE_set(table, s, r + c - 1);
    SAMPLE_set(table, 2 * r - s - 1, r - c);
    a += step;
    b += step;
  }
  int32_t* values = table->values;
  for (int32_t k = 1; k <= height - 2; ++k) {
    if (values[k] == 0) {
      values[k] = values[k - 1];
    }
  }
}

bool can_draw(const ROLL* roll, const IMG* texture) {
  if (roll == nullptr || texture == nullptr || texture->height < 1 || roll->table == nullptr ||
      roll->table->length < roll->height) {
    ROLL_error();
    return false;
  }
  return true;
}

int32_t texture_row(const IMG* texture, int64_t row) { return clip_wrap(row, texture->height); }

}  // namespace

void ROLL_error() {
  if (error_report != 0) {
    std::fputs("ROLL ERROR\n", stdout);
  }
}

void ROLL_set_error_report(int32_t on) { error_report = on; }

ROLL* ROLL_create() {
  auto* roll = static_cast<ROLL*>(std::calloc(1, sizeof(ROLL)));
  if (roll == nullptr) {
    return nullptr;
  }
  ROLL_build(roll, 256, 64);
  if (roll->table == nullptr) {
    std::free(roll);
    return nullptr;
  }
  return roll;
}

void ROLL_build(ROLL* roll, int32_t width, int32_t height) {
  if (roll == nullptr) {
    return;
  }
  // The angle step divides by height / 2, so a roll needs two rows.
  if (width < 1 || height < 2) {
    ROLL_error();
    return;
  }
  // Everything new is made first, so a failed allocation leaves the old roll whole.
  ROLL_PARTS fresh = {make_face(width, height), make_face(width, height), make_table(height)};
  if (fresh.front == nullptr || fresh.back == nullptr || fresh.table == nullptr) {
    release_parts(fresh);
    ROLL_error();
    return;
  }
  fill_table(fresh.table, height);
  ROLL_PARTS old = {roll->front, roll->back, roll->table};
  release_parts(old);
  roll->width = width;
  roll->height = height;
  roll->front = fresh.front;
  roll->back = fresh.back;
  roll->table = fresh.table;
  roll->radius = height / 2;
}

void ROLL_draw(ROLL* roll, const IMG* texture) {
  if (!can_draw(roll, texture)) {
    return;
  }
  const int32_t* table = roll->table->values;
  const int64_t offset = texture->y;
  for (int32_t d = roll->height - 1; d >= 0; --d) {
    IMG_copy_row(texture, roll->back, texture_row(texture, offset + table[d]), d);
  }
  for (int32_t d = 0; d < roll->height; ++d) {
    IMG_copy_row(texture, roll->front, texture_row(texture, offset - table[d]), d);
  }
}

void ROLL_draw_flat(ROLL* roll, const IMG* texture) {
  if (!can_draw(roll, texture)) {
    return;
  }
  int32_t s = texture_row(texture, texture->y);
  for (int32_t d = roll->height - 1; d >= 0; --d) {
    IMG_copy_row(texture, roll->front, s, d);
    s = texture_row(texture, int64_t{s} - 1);
  }
  for (int32_t d = 0; d < roll->height; ++d) {
    IMG_copy_row(texture, roll->back, s, d);
    s = texture_row(texture, int64_t{s} - 1);
  }
}

void ROLL_destroy(ROLL** roll) {
  if (roll == nullptr || *roll == nullptr) {
    ROLL_error();
    return;
  }
  ROLL_PARTS parts = {(*roll)->front, (*roll)->back, (*roll)->table};
  release_parts(parts);
  std::free(*roll);
  *roll = nullptr;
}
