#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/assetgen/emblem.h"
#include "tools/assetgen/generator.h"
#include "tools/png/png_file.h"

// The icon a desktop's menu shows for the windowed program: the show's own
// corner badge, pixel for pixel as the show draws it. Desktops want PNG.
void make_menu_icon(const std::string& folder) {
  Canvas emblem = corner_emblem();
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(emblem.width) * emblem.height);
  for (int y = 0; y < emblem.height; ++y) {
    for (int x = 0; x < emblem.width; ++x) pixels.push_back(canvas_pixel(emblem, x, y));
  }
  std::string path = folder + "/menu_icon.png";
  std::string error;
  if (!png_write_file(path, pixels.data(), emblem.width, emblem.height, 1, &error)) {
    std::fprintf(stderr, "assetgen: cannot write %s: %s\n", path.c_str(), error.c_str());
    std::exit(1);
  }
}
