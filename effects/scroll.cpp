#include "effects/scroll.h"

#include <cstdlib>
#include <cstring>

#include "imaging/font.h"
#include "imaging/img.h"

const MODULE_ID SCROLL_id = {"SCROLL  ", "20080827", "Kadwelon", "C       ", "CODE    "};

void SCROLL_error() {}

namespace {

const char default_text[] = "A scroll's default text. ";

bool has_cells(const FONT* font) { return font != nullptr && font->width >= 1; }

// Steps the counter by a whole number of cells. A step that no longer fits
// 32 bits (only a cell 1 pixel wide with an extreme speed) is first folded
// into the ring, which moves the index to the same character.
void skip_cells(SCROLL_COUNTER* counter, int64_t cells) {
  const bool fits = cells >= INT32_MIN && cells <= INT32_MAX;
  counter->step = static_cast<int32_t>(fits ? cells : cells % counter->size);
  SCROLL_COUNTER_advance(counter);
}

}  // namespace

SCROLL* SCROLL_create() {
  auto* scroll = static_cast<SCROLL*>(std::calloc(1, sizeof(SCROLL)));
  if (scroll == nullptr) {
    SCROLL_error();
    return nullptr;
  }
  scroll->text = default_text;
  scroll->counter = SCROLL_COUNTER_create(static_cast<int32_t>(std::strlen(default_text)));
  scroll->own_font = FONT_create();
  scroll->font = scroll->own_font;
  scroll->speed = 1;
  if (scroll->counter == nullptr || scroll->own_font == nullptr) {
    SCROLL_destroy(&scroll);
  }
  return scroll;
}

void SCROLL_set_text(SCROLL* scroll, const char* text, FONT* font, IMG* target) {
  if (scroll == nullptr || text == nullptr || font == nullptr || target == nullptr) {
    SCROLL_error();
    return;
  }
  // An empty ring could never be advanced past; refuse it.
  const size_t length = std::strlen(text);
  if (length == 0 || length > INT32_MAX) {
    SCROLL_error();
    return;
  }
  SCROLL_COUNTER* counter = SCROLL_COUNTER_create(static_cast<int32_t>(length));
  if (counter == nullptr) {
    SCROLL_error();
    return;
  }
  if (scroll->counter != nullptr) {
    SCROLL_COUNTER_destroy(&scroll->counter);
  }
  if (scroll->own_font != nullptr) {
    FONT_destroy(&scroll->own_font);
  }
  scroll->counter = counter;
  scroll->text = text;
  scroll->font = font;
  scroll->target = target;
  scroll->width = target->width;
  scroll->x = 0;
  scroll->y = 0;
}

void SCROLL_move(SCROLL* scroll) {
  if (scroll == nullptr || scroll->text == nullptr || scroll->counter == nullptr ||
      !has_cells(scroll->font)) {
    SCROLL_error();
    return;
  }
  const int32_t cw = scroll->font->width;
  int64_t position = int64_t{scroll->position} + scroll->speed;
  if (position >= cw) {
    skip_cells(scroll->counter, position / cw);
    position %= cw;
  } else if (position < 0) {
    // Moving right lands the window 1 ... cw pixels into the earlier cell.
    position -= cw;
    skip_cells(scroll->counter, position / cw);
    position = cw + position % cw;
  }
  scroll->position = static_cast<int32_t>(position);
}

void SCROLL_draw(SCROLL* scroll) {
  if (scroll == nullptr || scroll->text == nullptr || scroll->counter == nullptr ||
      scroll->target == nullptr || !has_cells(scroll->font) || scroll->font->image == nullptr) {
    SCROLL_error();
    return;
  }
  const int32_t cw = scroll->font->width;
  const int64_t cells = int64_t{scroll->width} / cw + 2;
  SCROLL_COUNTER* counter = scroll->counter;
  counter->mark = counter->index;
  counter->step = 1;
  int64_t pen_x = int64_t{scroll->x} - scroll->position;
  // Cells wholly left of the target still move the text on; from the right
  // edge on nothing more can show.
  for (int64_t k = 0; k < cells && pen_x < scroll->target->width; ++k) {
    if (pen_x + cw > 0) {
      const auto code = static_cast<signed char>(scroll->text[counter->index]);
      FONT_draw_char(scroll->font, code, static_cast<int32_t>(pen_x), scroll->y, scroll->target);
    }
    pen_x += cw;
    SCROLL_COUNTER_advance(counter);
  }
  counter->index = counter->mark;
}

void SCROLL_destroy(SCROLL** scroll) {
  if (scroll == nullptr || *scroll == nullptr) {
    SCROLL_error();
    return;
  }
  if ((*scroll)->counter != nullptr) {
    SCROLL_COUNTER_destroy(&(*scroll)->counter);
  }
  if ((*scroll)->own_font != nullptr) {
    FONT_destroy(&(*scroll)->own_font);
  }
  std::free(*scroll);
  *scroll = nullptr;
}
