#include "tools/assetgen/chrome.h"

#include <algorithm>

Colour chrome_colour(float t) {
  struct Stop {
    float at;
    Colour colour;
  };
  const Stop stops[] = {
      {0.00f, {0.20f, 0.30f, 0.72f}}, {0.46f, {0.92f, 0.96f, 1.00f}},
      {0.50f, {0.28f, 0.12f, 0.06f}}, {0.62f, {0.62f, 0.32f, 0.10f}},
      {0.86f, {1.00f, 0.82f, 0.34f}}, {1.00f, {1.00f, 0.97f, 0.84f}},
  };
  t = std::clamp(t, 0.0f, 1.0f);
  for (size_t i = 1; i < std::size(stops); ++i) {
    if (t <= stops[i].at) {
      float local = (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
      return mix(stops[i - 1].colour, stops[i].colour, local);
    }
  }
  return stops[std::size(stops) - 1].colour;
}

void paint_chrome_letters(Canvas& canvas, const Mask& body, float rim_width, int shadow_offset,
                          float top, float bottom) {
  Mask rim = dilated(body, rim_width);
  Mask shadow = shifted(rim, shadow_offset, shadow_offset);
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      canvas.paint(x, y, Colour{0.16f, 0.03f, 0.24f}, shadow.at(x, y) * 0.95f);
      canvas.paint(x, y, Colour{0.04f, 0.03f, 0.14f}, rim.at(x, y));
      float a = body.at(x, y);
      if (a <= 0) continue;
      Colour c = chrome_colour((y + 0.5f - top) / (bottom - top));
      float edge = std::clamp(a - body.at(x - 1, y - 1), 0.0f, 1.0f);
      float dark_edge = std::clamp(a - body.at(x + 1, y + 1), 0.0f, 1.0f);
      c = mix(c, Colour{1, 1, 1}, edge * 0.7f);
      c = scaled(c, 1 - dark_edge * 0.35f);
      canvas.paint(x, y, c, a);
    }
  }
}
