#include <algorithm>
#include <cmath>

#include "tools/assetgen/chrome.h"
#include "tools/assetgen/emblem.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/shapes.h"
#include "tools/assetgen/typeface.h"

// The emblem of the colour-cycling scene's corner: a round badge with a gold
// bevelled ring, a deep blue enamel face and a chrome Q. Outside the ring it
// is exactly black, so the cycling colours show all round it.
namespace {

constexpr int size = 64;
const Point centre{32, 32};
constexpr float outer = 30.5f;
constexpr float ring = 5.0f;

Colour ring_colour(float x, float y) {
  // The ring's bevel: lit on its upper-left outer half.
  float dx = x - centre.x, dy = y - centre.y;
  float r = std::hypot(dx, dy);
  float across = std::clamp((outer - r) / ring, 0.0f, 1.0f);  // 0 outside .. 1 inside
  float facing = -(dx + dy) / (r + 1e-3f) * 0.7071f;          // 1 facing the light
  float light = across < 0.5f ? facing : -facing;
  Colour gold{1.0f, 0.78f, 0.28f};
  return scaled(gold, 0.62f + 0.38f * light);
}

Colour enamel_colour(float x, float y) {
  float r = std::hypot(x - centre.x + 6, y - centre.y + 8) / outer;
  return mix(Colour{0.22f, 0.36f, 0.95f}, Colour{0.03f, 0.05f, 0.32f}, std::clamp(r, 0.0f, 1.0f));
}

}  // namespace

Canvas corner_emblem() {
  Canvas canvas(size, size);
  Mask disc = shape_mask(
      size, size, [](float x, float y) { return std::hypot(x - centre.x, y - centre.y) - outer; });
  Mask face = shape_mask(size, size, [](float x, float y) {
    return std::hypot(x - centre.x, y - centre.y) - (outer - ring);
  });
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      canvas.paint(x, y, ring_colour(x + 0.5f, y + 0.5f), disc.at(x, y));
      canvas.paint(x, y, enamel_colour(x + 0.5f, y + 0.5f), face.at(x, y));
    }
  }
  Typeface typeface("DejaVuSans-Bold.ttf");
  const int letter_size = 40;
  Typeface::Glyph q = typeface.glyph('Q', letter_size);
  Mask letter(size, size);
  const int baseline = 46;
  stamp(letter, q, (size - q.width) / 2 - q.left, baseline);
  float cap = 0.729f * letter_size;
  paint_chrome_letters(canvas, letter, 1.5f, 2, baseline - cap, baseline);
  return canvas;
}

void make_corner_picture(const std::string& folder) {
  write_canvas(folder + "/corner_picture.pnm", corner_emblem(),
               {"QUOMBRAX corner emblem, 64 x 64", "black is transparent"});
}
