// The pictures compiled into the show are the one input IMG_parse meets at
// run time: each must decode to its stated size, read the same from a file,
// and survive the text dump.

#include <string>
#include <vector>

#include "formats_support.h"
#include "show/assets/pictures.h"
#include "tests/support/compiled_pictures.h"
#include "tests/support/frame_compare.h"

using namespace formats_test;

namespace {

class CompiledPicturesTest : public TempDirTest {};

TEST_F(CompiledPicturesTest, EveryPictureDecodesToItsSizeFromMemoryAndFromAFile) {
  for (const CompiledPicture& p : compiled_pictures) {
    ImagePtr parsed(IMG_parse(p.data, p.size));
    ASSERT_NE(parsed, nullptr) << p.name;
    EXPECT_EQ(parsed->width, p.width) << p.name;
    EXPECT_EQ(parsed->height, p.height) << p.name;

    std::string file = write_file(p.name, std::vector<uint8_t>(p.data, p.data + p.size));
    ImagePtr loaded(IMG_load(file.c_str()));
    EXPECT_FRAME_EQ(loaded, parsed) << p.name;

    FreedPtr<char> text(IMG_to_text(parsed.get()));
    ImagePtr back(IMG_from_text(text.get()));
    EXPECT_FRAME_EQ(back, parsed) << p.name;
  }
}

TEST(CompiledPictures, FontGlyphsAreWhiteOnTransparentBlack) {
  ImagePtr font(IMG_parse(font_bitmap_pnm, font_bitmap_pnm_size));
  ASSERT_NE(font, nullptr);
  size_t white = 0;
  size_t black = 0;
  for (int32_t i = 0; i < font->width * font->height; ++i) {
    white += font->pixels[i] == 0xFFFFFFu;
    black += font->pixels[i] == 0;
  }
  EXPECT_EQ(white + black, static_cast<size_t>(font->width * font->height));
  EXPECT_GT(white, 0u);
  EXPECT_GT(black, white);  // glyphs are strokes on a background
}

}  // namespace
