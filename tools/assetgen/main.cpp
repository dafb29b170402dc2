// Makes every compiled-in asset of the show into one folder. The output
// depends only on this source and the fonts it reads, so running it twice
// gives byte-identical files.
#include <cstdio>
#include <string>

#include "tools/assetgen/generator.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen <output folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  make_font_bitmap(folder);
  make_picture_sheet(folder);
  make_logo_picture(folder);
  make_roll_picture(folder);
  make_corner_picture(folder);
  make_instruments(folder);
  make_scroll_text(folder);
  make_menu_icon(folder);
  return 0;
}
