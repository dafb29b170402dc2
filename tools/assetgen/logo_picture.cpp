#include <algorithm>
#include <cmath>

#include "tools/assetgen/chrome.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/typeface.h"

// The show's name in two lines of chrome letters with a thin gold bar and the
// year. Everything around and inside the letters is left exactly black: the
// logo scene shows its colour pattern through those windows.
namespace {

constexpr int size = 256;

// Draws a line of text centred across the picture.
void centred_line(Mask& mask, const Typeface& face, const std::string& text, int pixel_size,
                  float baseline) {
  float width = face.measure(text, pixel_size);
  face.draw(mask, text, pixel_size, (size - width) / 2.0f, baseline);
}

void paint_bar(Canvas& canvas, int y, int half_width, int thickness) {
  for (int row = 0; row < thickness; ++row) {
    for (int x = size / 2 - half_width; x < size / 2 + half_width; ++x) {
      float fade = std::clamp((half_width - std::abs(x + 0.5f - size / 2.0f)) / 24.0f, 0.0f, 1.0f);
      Colour c = chrome_colour(0.55f + 0.4f * row / std::max(1, thickness - 1));
      canvas.paint(x, y + row, c, fade);
    }
  }
}

}  // namespace

void make_logo_picture(const std::string& folder) {
  Canvas canvas(size, size);
  Typeface face("DejaVuSansCondensed-Bold.ttf");
  const int letter_size = 80;
  const float cap_height = 0.729f * letter_size;

  const float first_baseline = 98;
  const float second_baseline = 190;
  Mask first(size, size);
  centred_line(first, face, "QUOM", letter_size, first_baseline);
  paint_chrome_letters(canvas, first, 2.5f, 4, first_baseline - cap_height, first_baseline);
  Mask second(size, size);
  centred_line(second, face, "BRAX", letter_size, second_baseline);
  paint_chrome_letters(canvas, second, 2.5f, 4, second_baseline - cap_height, second_baseline);

  paint_bar(canvas, 112, 112, 3);
  paint_bar(canvas, 206, 80, 2);
  Mask year(size, size);
  Typeface small("DejaVuSans-Bold.ttf");
  centred_line(year, small, "2010", 14, 230);
  paint_chrome_letters(canvas, year, 1.2f, 2, 230 - 0.729f * 14, 230);

  write_canvas(folder + "/logo_picture.pnm", canvas,
               {"QUOMBRAX logo, 256 x 256", "exactly black pixels are windows onto the pattern"});
}
