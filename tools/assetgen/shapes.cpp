#include "tools/assetgen/shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

float polygon_distance(const std::vector<Point>& polygon, Point p) {
  float nearest = 1e9f;
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    Point a = polygon[j];
    Point b = polygon[i];
    float ex = b.x - a.x, ey = b.y - a.y;
    float t = std::clamp(((p.x - a.x) * ex + (p.y - a.y) * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
    float dx = p.x - (a.x + ex * t), dy = p.y - (a.y + ey * t);
    nearest = std::min(nearest, std::sqrt(dx * dx + dy * dy));
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) / (b.y - a.y) * ex) inside = !inside;
  }
  return inside ? -nearest : nearest;
}

std::vector<Point> star_outline(Point centre, int points, float outer, float inner) {
  std::vector<Point> outline;
  for (int i = 0; i < 2 * points; ++i) {
    float angle = static_cast<float>(std::numbers::pi) * i / points;
    float r = (i % 2 == 0) ? outer : inner;
    outline.push_back({centre.x + r * std::sin(angle), centre.y - r * std::cos(angle)});
  }
  return outline;
}

Colour ball_shade(Point centre, float radius, Point p, Colour body) {
  float nx = (p.x - centre.x) / radius;
  float ny = (p.y - centre.y) / radius;
  float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
  // Light from the upper left and a little in front.
  const float lx = -0.45f, ly = -0.6f, lz = 0.66f;
  float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
  float rz = 2 * diffuse * nz - lz;  // reflection towards the viewer
  float specular = std::pow(std::max(0.0f, rz), 24.0f);
  float rim = std::pow(1 - nz, 3.0f) * std::max(0.0f, ny) * 0.6f;  // bounce light from below
  Colour c = scaled(body, 0.18f + 0.85f * diffuse);
  c = mix(c, Colour{1, 1, 1}, std::min(1.0f, specular));
  c.r += rim * body.r;
  c.g += rim * body.g;
  c.b += rim * body.b;
  return c;
}
