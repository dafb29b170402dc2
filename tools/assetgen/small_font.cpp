#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/small_font_glyphs.h"
#include "tools/assetgen/typeface.h"

namespace {

constexpr int cell = 8;
constexpr int columns = 16;
constexpr int rows = 18;

using Cell = std::array<std::string, cell>;  // eight rows of '#' and '.'

Cell empty_cell() {
  Cell c;
  c.fill(std::string(cell, '.'));
  return c;
}

std::map<int, Cell> ascii_cells() {
  std::map<int, Cell> cells;
  std::istringstream art(ascii_glyph_art);
  std::string label;
  while (art >> label) {
    Cell c;
    for (auto& row : c) art >> row;
    cells[static_cast<int>(std::strtol(label.c_str(), nullptr, 16))] = c;
  }
  cells[' '] = empty_cell();
  return cells;
}

// Codes without a letter show their own value as two small digits.
Cell hex_cell(int code) {
  Cell c = empty_cell();
  for (int r = 0; r < 5; ++r) {
    c[r + 1].replace(0, 3, hex_digit_art[code >> 4][r]);
    c[r + 1].replace(4, 3, hex_digit_art[code & 15][r]);
  }
  return c;
}

Cell with_accent(Cell c, Accent accent) {
  c[0].replace(0, 7, accent_art[accent][0]);
  c[1].replace(0, 7, accent_art[accent][1]);
  return c;
}

// A capital under an accent is squeezed to five rows to leave room above.
Cell accented_capital(const Cell& base, Accent accent) {
  Cell c = empty_cell();
  const int kept[5] = {0, 1, 3, 4, 6};
  for (int i = 0; i < 5; ++i) c[i + 2] = base[kept[i]];
  return with_accent(c, accent);
}

Cell with_cedilla(Cell c) {
  c[7] = "...##...";
  return c;
}

// Latin-1 signs without a drawing of our own come from DejaVu Sans Mono
// Bold, rendered as hard pixels at the largest size that fits a cell.
Cell rendered_cell(const Typeface& face, int code) {
  for (int size = 11; size >= 6; --size) {
    Typeface::Glyph g = face.glyph(static_cast<uint32_t>(code), size, 1, 1, true);
    if (g.width > 7 || g.rows > cell) continue;
    Cell c = empty_cell();
    int x0 = (7 - g.width) / 2;
    int y0 = std::clamp(7 - g.top, 0, cell - g.rows);
    for (int y = 0; y < g.rows; ++y) {
      for (int x = 0; x < g.width; ++x) {
        if (g.at(x, y) > 0.5f) c[y0 + y][x0 + x] = '#';
      }
    }
    return c;
  }
  return empty_cell();
}

std::map<int, Cell> latin1_cells(const std::map<int, Cell>& ascii, const Typeface& face) {
  std::map<int, Cell> cells;
  for (int code = 160; code < 256; ++code) cells[code] = rendered_cell(face, code);
  cells[160] = empty_cell();  // no-break space
  struct Accented {
    int first_code;
    char base;
    std::initializer_list<Accent> accents;
  };
  const Accented series[] = {
      {0xC0, 'A', {grave, acute, circumflex, tilde, diaeresis, ring}},
      {0xC8, 'E', {grave, acute, circumflex, diaeresis}},
      {0xCC, 'I', {grave, acute, circumflex, diaeresis}},
      {0xD1, 'N', {tilde}},
      {0xD2, 'O', {grave, acute, circumflex, tilde, diaeresis}},
      {0xD9, 'U', {grave, acute, circumflex, diaeresis}},
      {0xDD, 'Y', {acute}},
      {0xE0, 'a', {grave, acute, circumflex, tilde, diaeresis, ring}},
      {0xE8, 'e', {grave, acute, circumflex, diaeresis}},
      {0xEC, 'i', {grave, acute, circumflex, diaeresis}},
      {0xF1, 'n', {tilde}},
      {0xF2, 'o', {grave, acute, circumflex, tilde, diaeresis}},
      {0xF9, 'u', {grave, acute, circumflex, diaeresis}},
      {0xFD, 'y', {acute}},
      {0xFF, 'y', {diaeresis}},
  };
  for (const auto& s : series) {
    int code = s.first_code;
    const Cell& base = ascii.at(s.base);
    bool capital = s.base >= 'A' && s.base <= 'Z';
    for (Accent a : s.accents) {
      cells[code++] = capital ? accented_capital(base, a) : with_accent(base, a);
    }
  }
  cells[0xC7] = with_cedilla(ascii.at('C'));
  cells[0xE7] = with_cedilla(ascii.at('c'));
  return cells;
}

}  // namespace

void make_font_bitmap(const std::string& folder) {
  Typeface face("DejaVuSansMono-Bold.ttf");
  std::map<int, Cell> cells = ascii_cells();
  for (auto& [code, c] : latin1_cells(cells, face)) cells[code] = c;
  for (int code = 0; code < 32; ++code) cells[code] = hex_cell(code);
  for (int code = 127; code < 160; ++code) cells[code] = hex_cell(code);

  const int width = columns * cell;
  const int height = rows * cell;
  std::vector<bool> set(static_cast<size_t>(width) * height);
  for (const auto& [code, c] : cells) {
    int x0 = (code % columns) * cell;
    int y0 = (code / columns) * cell;
    for (int y = 0; y < cell; ++y) {
      for (int x = 0; x < cell; ++x) {
        set[static_cast<size_t>(y0 + y) * width + x0 + x] = c[y][x] == '#';
      }
    }
  }
  write_bitmap(folder + "/font_bitmap.pnm", width, height, set,
               {"QUOMBRAX font bitmap: 16 x 18 cells of 8 x 8, cell c for code c",
                "set bits are glyph pixels"});
}
