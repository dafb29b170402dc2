#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Colours are linear 0..1 floats while a picture is composed; they become
// bytes only when the picture is written.
struct Colour {
  float r = 0, g = 0, b = 0;
};

Colour mix(Colour a, Colour b, float t);
Colour scaled(Colour c, float k);
Colour hsv(float hue, float saturation, float value);  // hue in turns

// A picture being composed. Every pixel carries a coverage: pixels that no
// layer ever covered are written as exact black, the value every keyed copy
// of the show treats as transparent; covered pixels are never written as 0.
struct Canvas {
  int width = 0;
  int height = 0;
  std::vector<Colour> colour;
  std::vector<float> coverage;

  Canvas(int w, int h);
  // Paints colour over the pixel with the given opacity (0..1).
  void paint(int x, int y, Colour c, float opacity);
  Colour at(int x, int y) const { return colour[y * width + x]; }
  float covered(int x, int y) const { return coverage[y * width + x]; }
};

// A grey mask of the same shape as a canvas, used for shapes and letters.
struct Mask {
  int width = 0;
  int height = 0;
  std::vector<float> value;

  Mask(int w, int h);
  float at(int x, int y) const;  // 0 outside
  float& operator()(int x, int y) { return value[y * width + x]; }
};

// Pixels whose coverage falls below this are left transparent, so soft
// edges never leave near-black specks that a keyed copy would still draw.
constexpr float transparent_below = 0.12f;

// The mask grown by radius pixels (a round brush), for outlines and glows.
Mask dilated(const Mask& m, float radius);
// The mask blurred by a box of the given radius, applied twice.
Mask blurred(const Mask& m, int radius);
// The mask moved by (dx, dy) whole pixels.
Mask shifted(const Mask& m, int dx, int dy);

// Coverage of a shape given by its signed distance (negative inside),
// sampled 4 x 4 times per pixel.
template <typename Distance>
Mask shape_mask(int w, int h, Distance distance) {
  Mask m(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float inside = 0;
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          float px = x + (sx + 0.5f) / 4.0f;
          float py = y + (sy + 0.5f) / 4.0f;
          if (distance(px, py) < 0) inside += 1.0f / 16.0f;
        }
      }
      m(x, y) = inside;
    }
  }
  return m;
}

// A PNM file with its comment lines; the bytes after the header are given.
void write_pnm(const std::string& path, const std::string& magic, int width, int height,
               const std::vector<std::string>& comments, const std::vector<uint8_t>& data);
// The canvas pixel as 0x00RRGGBB: exact black where uncovered, never black
// where covered.
uint32_t canvas_pixel(const Canvas& canvas, int x, int y);
// Writes the canvas as P6 (maxval 255) with the given comment lines.
void write_canvas(const std::string& path, const Canvas& canvas,
                  const std::vector<std::string>& comments);
// Writes a one-bit picture as P4: true pixels become set bits.
void write_bitmap(const std::string& path, int width, int height, const std::vector<bool>& set,
                  const std::vector<std::string>& comments);
