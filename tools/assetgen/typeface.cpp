#include "tools/assetgen/typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "assetgen: %s\n", what.c_str());
  std::exit(1);
}

FT_Face as_face(void* face) { return static_cast<FT_Face>(face); }

}  // namespace

Typeface::Typeface(const std::string& file_name) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) fail("FreeType does not start");
  library_ = library;
  std::string path = std::string(ASSETGEN_FONT_DIR) + "/" + file_name;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) fail("cannot open font " + path);
  face_ = face;
}

Typeface::~Typeface() {
  FT_Done_Face(as_face(face_));
  FT_Done_FreeType(static_cast<FT_Library>(library_));
}

Typeface::Glyph Typeface::glyph(uint32_t code, int pixel_size, float x_scale, float y_scale,
                                bool mono) const {
  FT_Face face = as_face(face_);
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size));
  FT_Matrix matrix = {static_cast<FT_Fixed>(std::lround(x_scale * 65536.0)), 0, 0,
                      static_cast<FT_Fixed>(std::lround(y_scale * 65536.0))};
  FT_Set_Transform(face, &matrix, nullptr);
  FT_Int32 flags = FT_LOAD_RENDER;
  if (mono) flags |= FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME;
  if (FT_Load_Char(face, code, flags) != 0) fail("cannot render a glyph");
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  Glyph g;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(bitmap.width);
  g.rows = static_cast<int>(bitmap.rows);
  g.advance = static_cast<float>(slot->advance.x) / 64.0f;
  g.value.resize(static_cast<size_t>(g.width) * g.rows);
  for (int y = 0; y < g.rows; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < g.width; ++x) {
      float v = mono ? static_cast<float>((row[x / 8] >> (7 - x % 8)) & 1) : row[x] / 255.0f;
      g.value[static_cast<size_t>(y) * g.width + x] = v;
    }
  }
  return g;
}

float Typeface::measure(const std::string& text, int pixel_size, float x_scale) const {
  float width = 0;
  for (unsigned char c : text) width += glyph(c, pixel_size, x_scale).advance;
  return width;
}

void Typeface::draw(Mask& mask, const std::string& text, int pixel_size, float x, float baseline,
                    float x_scale, float y_scale) const {
  float pen = x;
  for (unsigned char c : text) {
    Glyph g = glyph(c, pixel_size, x_scale, y_scale);
    stamp(mask, g, static_cast<int>(std::lround(pen)), static_cast<int>(std::lround(baseline)));
    pen += g.advance;
  }
}

void stamp(Mask& mask, const Typeface::Glyph& glyph, int x, int baseline) {
  for (int gy = 0; gy < glyph.rows; ++gy) {
    for (int gx = 0; gx < glyph.width; ++gx) {
      int px = x + glyph.left + gx;
      int py = baseline - glyph.top + gy;
      if (px < 0 || py < 0 || px >= mask.width || py >= mask.height) continue;
      mask(px, py) = std::max(mask(px, py), glyph.at(gx, gy));
    }
  }
}
