#include "tools/assetgen/raster.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/output_file.h"

Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scaled(Colour c, float k) { return {c.r * k, c.g * k, c.b * k}; }

Colour hsv(float hue, float saturation, float value) {
  float h = (hue - std::floor(hue)) * 6.0f;
  int sector = static_cast<int>(h) % 6;
  float f = h - std::floor(h);
  float p = value * (1 - saturation);
  float q = value * (1 - saturation * f);
  float t = value * (1 - saturation * (1 - f));
  switch (sector) {
    case 0:
      return {value, t, p};
    case 1:
      return {q, value, p};
    case 2:
      return {p, value, t};
    case 3:
      return {p, q, value};
    case 4:
      return {t, p, value};
    default:
      return {value, p, q};
  }
}

Canvas::Canvas(int w, int h)
    : width(w),
      height(h),
      colour(static_cast<size_t>(w) * h),
      coverage(static_cast<size_t>(w) * h) {}

void Canvas::paint(int x, int y, Colour c, float opacity) {
  if (x < 0 || y < 0 || x >= width || y >= height || opacity <= 0) return;
  opacity = std::min(opacity, 1.0f);
  size_t i = static_cast<size_t>(y) * width + x;
  colour[i] = mix(colour[i], c, opacity);
  coverage[i] = coverage[i] + (1 - coverage[i]) * opacity;
}

Mask::Mask(int w, int h) : width(w), height(h), value(static_cast<size_t>(w) * h) {}

float Mask::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return value[y * width + x];
}

Mask dilated(const Mask& m, float radius) {
  Mask out(m.width, m.height);
  int reach = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      float best = 0;
      for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
          float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
          float weight = std::clamp(radius + 0.5f - d, 0.0f, 1.0f);
          best = std::max(best, m.at(x + dx, y + dy) * weight);
        }
      }
      out(x, y) = best;
    }
  }
  return out;
}

namespace {

Mask box_pass(const Mask& m, int radius, bool horizontal) {
  Mask out(m.width, m.height);
  float norm = 1.0f / (2 * radius + 1);
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      float sum = 0;
      for (int k = -radius; k <= radius; ++k) {
        sum += horizontal ? m.at(x + k, y) : m.at(x, y + k);
      }
      out(x, y) = sum * norm;
    }
  }
  return out;
}

}  // namespace

Mask blurred(const Mask& m, int radius) {
  Mask out = m;
  for (int pass = 0; pass < 2; ++pass) {
    out = box_pass(box_pass(out, radius, true), radius, false);
  }
  return out;
}

Mask shifted(const Mask& m, int dx, int dy) {
  Mask out(m.width, m.height);
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) out(x, y) = m.at(x - dx, y - dy);
  }
  return out;
}

void write_pnm(const std::string& path, const std::string& magic, int width, int height,
               const std::vector<std::string>& comments, const std::vector<uint8_t>& data) {
  std::string file = magic + "\n";
  for (const auto& line : comments) file += "# " + line + "\n";
  file += std::to_string(width) + " " + std::to_string(height) + "\n";
  if (magic != "P4") file += "255\n";
  file.append(data.begin(), data.end());
  write_file(path, file);
}

namespace {

uint8_t channel_byte(float v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

uint32_t canvas_pixel(const Canvas& canvas, int x, int y) {
  if (canvas.covered(x, y) < transparent_below) return 0;
  Colour c = canvas.at(x, y);
  uint32_t pixel =
      uint32_t{channel_byte(c.r)} << 16 | uint32_t{channel_byte(c.g)} << 8 | channel_byte(c.b);
  // A covered pixel must never read as the transparent value.
  return pixel != 0 ? pixel : 1;
}

void write_canvas(const std::string& path, const Canvas& canvas,
                  const std::vector<std::string>& comments) {
  std::vector<uint8_t> data;
  data.reserve(static_cast<size_t>(canvas.width) * canvas.height * 3);
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      uint32_t pixel = canvas_pixel(canvas, x, y);
      data.push_back(static_cast<uint8_t>(pixel >> 16));
      data.push_back(static_cast<uint8_t>(pixel >> 8));
      data.push_back(static_cast<uint8_t>(pixel));
    }
  }
  write_pnm(path, "P6", canvas.width, canvas.height, comments, data);
}

void write_bitmap(const std::string& path, int width, int height, const std::vector<bool>& set,
                  const std::vector<std::string>& comments) {
  int row_bytes = (width + 7) / 8;
  std::vector<uint8_t> data(static_cast<size_t>(row_bytes) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (set[static_cast<size_t>(y) * width + x]) {
        data[static_cast<size_t>(y) * row_bytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  write_pnm(path, "P4", width, height, comments, data);
}
