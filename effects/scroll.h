#pragma once

#include <cstdint>

#include "containers/module_id.h"

struct FONT;
struct IMG;

// Which character of a ring of text comes first: advancing adds `step` to
// `index` and folds it back into 0 ... size - 1.
struct SCROLL_COUNTER {
  int32_t size;   // characters in the ring
  int32_t step;   // added by one advance
  int32_t index;  // current character
  int32_t mark;   // a saved copy of `index`
};

void SCROLL_COUNTER_error();  // silent

// A counter over `size` (>= 1) characters at index 0 with step 1; null when
// the size is below 1 or memory runs out.
SCROLL_COUNTER* SCROLL_COUNTER_create(int32_t size);
void SCROLL_COUNTER_destroy(SCROLL_COUNTER** counter);
void SCROLL_COUNTER_advance(SCROLL_COUNTER* counter);

// A horizontal scroller: draws one line of font cells from a window of a
// text ring into a target image and moves the window by `speed` pixels per
// move. Line feeds are drawn like any other character.
struct SCROLL {
  int32_t x;                // left edge of the text line in the target
  int32_t y;                // top edge of the text line in the target
  int32_t width;            // target width, taken when the text is set
  int32_t speed;            // pixels the text moves left per move
  int32_t position;         // pixel offset of the window inside its first cell
  const char* text;         // not copied, not owned
  SCROLL_COUNTER* counter;  // first character of the window; owned
  FONT* font;               // the caller's font once a text is set
  IMG* target;              // not owned
  FONT* own_font;           // the font made at creation, until a text replaces it
};

extern const MODULE_ID SCROLL_id;

void SCROLL_error();  // silent

SCROLL* SCROLL_create();
// Refuses a null argument or an empty text and then changes nothing.
void SCROLL_set_text(SCROLL* scroll, const char* text, FONT* font, IMG* target);
void SCROLL_move(SCROLL* scroll);
void SCROLL_draw(SCROLL* scroll);
void SCROLL_destroy(SCROLL** scroll);
