#pragma once

#include "tools/assetgen/raster.h"

// The polished-metal look of the logo's letters: a sky reflected in the
// upper half, a dark horizon and warm ground in the lower half. t runs from
// the top of the letters (0) to their baseline (1).
Colour chrome_colour(float t);

// Paints letters given by their mask in three layers: a soft drop shadow, a
// dark rim of rim_width pixels and the chrome body with a bevel highlight.
// The body's gradient runs from row top to row bottom.
void paint_chrome_letters(Canvas& canvas, const Mask& body, float rim_width, int shadow_offset,
                          float top, float bottom);
