#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/raster.h"

// One DejaVu face opened through FreeType. Letters come out as grey masks
// (anti-aliased) or as one-bit bitmaps (for the 8 x 8 font).
class Typeface {
 public:
  explicit Typeface(const std::string& file_name);  // a file in ASSETGEN_FONT_DIR
  ~Typeface();
  Typeface(const Typeface&) = delete;
  Typeface& operator=(const Typeface&) = delete;

  // A rendered glyph: its pixels (0..1) and where they sit relative to the
  // pen on the baseline.
  struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    float advance = 0;
    std::vector<float> value;
    float at(int x, int y) const { return value[static_cast<size_t>(y) * width + x]; }
  };

  // The glyph of a Unicode code point at a pixel size, squeezed or stretched
  // by the given factors; mono renders hard one-bit pixels.
  Glyph glyph(uint32_t code, int pixel_size, float x_scale = 1, float y_scale = 1,
              bool mono = false) const;
  // Width of a line of text in pixels.
  float measure(const std::string& text, int pixel_size, float x_scale = 1) const;
  // Draws a line of text (Latin-1 bytes) into the mask, the pen starting at
  // (x, baseline); overlapping letters keep the stronger coverage.
  void draw(Mask& mask, const std::string& text, int pixel_size, float x, float baseline,
            float x_scale = 1, float y_scale = 1) const;

 private:
  void* library_ = nullptr;
  void* face_ = nullptr;
};

// Draws a glyph into the mask with its origin at (x, baseline).
void stamp(Mask& mask, const Typeface::Glyph& glyph, int x, int baseline);
