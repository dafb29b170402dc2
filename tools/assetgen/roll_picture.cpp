#include <algorithm>
#include <cmath>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/shapes.h"
#include "tools/assetgen/typeface.h"

// The texture of the roll. The show stretches its 96 rows to the screen's
// height and wraps it round a turning roll, so everything here is drawn
// squeezed to 3/8 of its height and the top and bottom meet seamlessly. The
// black gaps between the bands are transparent: through them the viewer sees
// the darkened inside of the roll.
namespace {

constexpr int width = 256;
constexpr int height = 96;
constexpr float squeeze = 96.0f / 256.0f;

void paint_rainbow_stripe(Canvas& canvas, int y, int thickness, float phase) {
  for (int row = 0; row < thickness; ++row) {
    for (int x = 0; x < width; ++x) {
      float light = row == 0 ? 1.0f : 0.7f;
      canvas.paint(x, y + row, hsv(phase + static_cast<float>(x) / width, 0.8f, light), 1);
    }
  }
}

void paint_title_band(Canvas& canvas, int baseline) {
  Typeface face("DejaVuSansCondensed-Bold.ttf");
  const int letter_size = 86;
  const std::string text = "QUOMBRAX";
  float x_scale = 1.0f;
  float text_width = face.measure(text, letter_size, x_scale);
  x_scale = 236.0f / text_width;
  Mask body(width, height);
  face.draw(body, text, letter_size, 10, static_cast<float>(baseline), x_scale, squeeze);
  Mask rim = dilated(body, 1.0f);
  float cap = 0.729f * letter_size * squeeze;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      canvas.paint(x, y, Colour{0.05f, 0.02f, 0.18f}, rim.at(x, y));
      float a = body.at(x, y);
      if (a <= 0) continue;
      float t = std::clamp((baseline - y - 0.5f) / cap, 0.0f, 1.0f);  // 1 at the top
      Colour c = hsv(0.55f + 0.5f * x / width, 0.95f - 0.45f * t, 0.6f + 0.4f * t);
      canvas.paint(x, y, c, a);
    }
  }
}

// A row of glossy balls, squeezed like everything else.
void paint_ball_row(Canvas& canvas, int centre_y, float offset, float hue) {
  const float radius = 7.0f;
  for (int i = 0; i < 16; ++i) {
    Point centre{offset + 16.0f * i, centre_y + 0.5f};
    Colour body = hsv(hue + i / 16.0f, 0.7f, 1.0f);
    Mask disc = shape_mask(width, height, [&](float x, float y) {
      float dx = x - centre.x, dy = (y - centre.y) / squeeze;
      return std::sqrt(dx * dx + dy * dy) - radius;
    });
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        float a = disc.at(x, y);
        if (a <= 0) continue;
        Point p{centre.x + (x + 0.5f - centre.x), centre.y + (y + 0.5f - centre.y) / squeeze};
        canvas.paint(x, y, ball_shade(centre, radius, p, body), a);
      }
    }
  }
}

}  // namespace

void make_roll_picture(const std::string& folder) {
  Canvas canvas(width, height);
  paint_rainbow_stripe(canvas, 1, 2, 0.0f);
  paint_title_band(canvas, 31);
  paint_rainbow_stripe(canvas, 38, 2, 0.5f);
  paint_ball_row(canvas, 51, 8, 0.0f);
  paint_ball_row(canvas, 62, 16, 0.5f);
  paint_ball_row(canvas, 73, 8, 0.25f);
  paint_rainbow_stripe(canvas, 84, 2, 0.25f);
  write_canvas(
      folder + "/roll_picture.pnm", canvas,
      {"QUOMBRAX roll texture, 256 x 96, drawn squeezed to 3/8 height", "black is transparent"});
}
