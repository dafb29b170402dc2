#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/shapes.h"
#include "tools/assetgen/typeface.h"

namespace {

constexpr int cell = 32;
constexpr int letter_size = 28;
constexpr int letter_baseline = 25;
constexpr int symbol_code = 23;  // the cell scene four swings round its logo

void paint_cell(Canvas& sheet, int code, const Mask& mask, auto colour_at) {
  int x0 = (code % 16) * cell;
  int y0 = (code / 16) * cell;
  for (int y = 0; y < cell; ++y) {
    for (int x = 0; x < cell; ++x) {
      float a = mask.at(x, y);
      if (a > 0) sheet.paint(x0 + x, y0 + y, colour_at(x, y), a);
    }
  }
}

// Clean blue letters: a dark blue rim, a body that runs from ice blue at the
// top to deep blue at the bottom, and a light edge where light from the upper
// left catches them.
void paint_letter(Canvas& sheet, const Typeface& face, int code) {
  Typeface::Glyph g = face.glyph(static_cast<uint32_t>(code), letter_size);
  Mask body(cell, cell);
  stamp(body, g, (cell - g.width) / 2 - g.left, letter_baseline);
  Mask rim = dilated(body, 1.0f);
  const Colour rim_colour{0.02f, 0.05f, 0.32f};
  paint_cell(sheet, code, rim, [&](int, int) { return rim_colour; });
  paint_cell(sheet, code, body, [&](int x, int y) {
    float t = std::clamp((y - 4.0f) / 22.0f, 0.0f, 1.0f);
    Colour top{0.70f, 0.90f, 1.0f};
    Colour middle{0.16f, 0.45f, 1.0f};
    Colour bottom{0.06f, 0.16f, 0.78f};
    Colour c = t < 0.5f ? mix(top, middle, t * 2) : mix(middle, bottom, (t - 0.5f) * 2);
    float edge = std::clamp(body.at(x, y) - body.at(x - 1, y - 1), 0.0f, 1.0f);
    return mix(c, Colour{0.9f, 0.97f, 1.0f}, edge * 0.8f);
  });
}

// Star n of 1..8: five faceted points, larger and warmer with n. Facets left
// of each point's ridge are lit, those right of it shaded, so the star reads
// as solid when the show squeezes it to turn it.
void paint_star(Canvas& sheet, int n) {
  const Point centre{16.0f, 16.5f};
  float outer = 3.0f + 1.6f * n;
  float inner = outer * 0.46f;
  auto outline = star_outline(centre, 5, outer, inner);
  Mask star = shape_mask(cell, cell, [&](float x, float y) {
    return polygon_distance(outline, {x, y});
  });
  Colour tip = hsv(0.62f - 0.075f * n, 0.55f + 0.05f * n, 1.0f);
  Mask glow = blurred(dilated(star, 0.8f), 1);
  paint_cell(sheet, n, glow, [&](int, int) { return scaled(tip, 0.35f); });
  paint_cell(sheet, n, star, [&](int x, int y) {
    float dx = x + 0.5f - centre.x, dy = y + 0.5f - centre.y;
    float r = std::sqrt(dx * dx + dy * dy) / outer;
    float angle = std::atan2(dx, -dy) / (2 * static_cast<float>(std::numbers::pi)) * 5;
    float ridge = angle - std::round(angle);  // < 0 left of the ridge
    // The facets meet in a glowing core, so the shading fades out towards it.
    float facet = ridge < 0 ? 1.0f : 0.7f;
    float light = facet + (1 - facet) * std::clamp(1 - (r - 0.12f) * 4, 0.0f, 1.0f);
    float t = std::clamp((r - 0.1f) / 0.8f, 0.0f, 1.0f);
    Colour c = mix(Colour{1, 1, 0.92f}, tip, t * t * (3 - 2 * t));
    return scaled(c, light);
  });
}

// The symbol: a glossy violet ball, lit from the upper left.
void paint_symbol(Canvas& sheet) {
  const Point centre{16, 16};
  const float radius = 14.5f;
  Mask disc = shape_mask(cell, cell, [&](float x, float y) {
    return std::hypot(x - centre.x, y - centre.y) - radius;
  });
  paint_cell(sheet, symbol_code, disc, [&](int x, int y) {
    return ball_shade(centre, radius, {x + 0.5f, y + 0.5f}, Colour{0.78f, 0.22f, 0.95f});
  });
}

}  // namespace

void make_picture_sheet(const std::string& folder) {
  Canvas sheet(16 * cell, 8 * cell);
  Typeface face("DejaVuSans-Bold.ttf");
  for (int code = 33; code <= 126; ++code) paint_letter(sheet, face, code);
  for (int n = 1; n <= 8; ++n) paint_star(sheet, n);
  paint_symbol(sheet);
  write_canvas(
      folder + "/picture_sheet.pnm", sheet,
      {"QUOMBRAX picture sheet: 16 x 8 cells of 32 x 32, cell c for code c",
       "cells 1-8 stars, cell 23 the orbit symbol, cells 33-126 letters", "black is transparent"});
}
