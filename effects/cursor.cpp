#include "effects/cursor.h"

#include <cstdlib>

#include "imaging/clip.h"
#include "imaging/img.h"
#include "show/assets/sine_table.h"

const MODULE_ID CURSOR_id = {"CURSOR  ", "20080827", "Kadwelon", "C       ", "CODE    "};

void CURSOR_error() {}

namespace {

// Destination row of a column's top pixel. The phase may count over a ring
// larger than the sine table, so its index is masked into the table. The
// row is folded into the destination here, where the sum cannot overflow;
// the column copy folds it the same way.
int32_t column_top(const CURSOR* cursor, int32_t phase, int32_t dst_height) {
  const int64_t shift = (int64_t{cursor->amplitude} * sine_table[phase & sine_mask]) >> 16;
  const int64_t row = shift + cursor->y;
  return dst_height > 0 ? clip_wrap(row, dst_height) : 0;
}

}  // namespace

CURSOR* CURSOR_create() {
  auto* cursor = static_cast<CURSOR*>(std::calloc(1, sizeof(CURSOR)));
  if (cursor == nullptr) {
    CURSOR_error();
    return nullptr;
  }
  cursor->phase = {sine_length, 0, 0, 1, 0, 16};
  cursor->amplitude = 16;
  return cursor;
}

void CURSOR_destroy(CURSOR** cursor) {
  if (cursor == nullptr || *cursor == nullptr) {
    CURSOR_error();
    return;
  }
  std::free(*cursor);
  *cursor = nullptr;
}

void CURSOR_draw(CURSOR* cursor, IMG* dst) {
  if (cursor == nullptr || dst == nullptr || cursor->image == nullptr) {
    CURSOR_error();
    return;
  }
  const IMG* src = cursor->image;
  DISTY_set_offset(&cursor->phase, 0);
  for (int32_t i = 0; i < src->width; ++i) {
    const int32_t phase = DISTY_advance_offset(&cursor->phase);
    const int64_t column = int64_t{i} + cursor->x;
    if (column < INT32_MIN || column > INT32_MAX) {
      continue;  // far outside any destination
    }
    IMG_wrap_column(src, dst, i, static_cast<int32_t>(column),
                    column_top(cursor, phase, dst->height));
  }
}

void CURSOR_move(CURSOR* cursor) {
  if (cursor == nullptr) {
    CURSOR_error();
    return;
  }
  DISTY_advance(&cursor->phase);
}
