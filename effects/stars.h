#pragma once

#include <cstdint>

#include "containers/module_id.h"

struct FONT;
struct IMG;

// A field of points that all travel with one velocity, in 16.16 fixed
// point. A star that leaves the field comes back on an upstream edge, so the
// field never empties. Stars are drawn as single pixels or as font glyphs
// whose character code follows the star's row.
struct STARS {
  int32_t width;
  int32_t height;
  int32_t dx;       // 16.16 pixels per move
  int32_t dy;       // 16.16 pixels per move, positive is down
  uint32_t colour;  // for STARS_draw_pixels
  FONT* font;       // glyphs for STARS_draw; not owned
  int32_t count;
  int32_t* stars;  // count pairs (x, y), 16.16 fixed point; owned
};

extern const MODULE_ID STARS_id;

void STARS_error();  // silent

// 256 x 256, white, one pixel down per move, 16 scattered stars (32 draws of rand).
STARS* STARS_create();
void STARS_destroy(STARS** field);
void STARS_set_count(STARS* field, int32_t n);
void STARS_scatter(STARS* field);
void STARS_respawn(STARS* field, int32_t index);
void STARS_move(STARS* field);
void STARS_draw(STARS* field, IMG* dst);
void STARS_draw_pixels(STARS* field, IMG* dst);
