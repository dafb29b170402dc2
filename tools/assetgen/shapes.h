#pragma once

#include <vector>

#include "tools/assetgen/raster.h"

struct Point {
  float x = 0;
  float y = 0;
};

// Signed distance from p to a closed polygon (negative inside).
float polygon_distance(const std::vector<Point>& polygon, Point p);
// The outline of a star with the given points, first point straight up.
std::vector<Point> star_outline(Point centre, int points, float outer, float inner);

// A shaded ball: lit from the upper left, with a highlight and a rim light.
// Returns the colour of the ball at p (opacity comes from the disc's mask).
Colour ball_shade(Point centre, float radius, Point p, Colour body);
