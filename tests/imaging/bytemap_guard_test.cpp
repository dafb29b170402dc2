// Every operation that touches bytes refuses a null map and a map whose
// buffer is missing: it reports once and changes nothing.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "imaging/img.h"
#include "tests/imaging/bytemap_helpers.h"
#include "tests/support/frame_compare.h"

namespace {

struct GuardCase {
  const char* name;
  std::function<void(BYTEMAP* broken, BYTEMAP* good)> call;
};

class BytemapGuards : public BytemapErrors {
 protected:
  void SetUp() override {
    BytemapErrors::SetUp();
    good_ = make_map(8, 8, [](int32_t x, int32_t y) { return uint8_t(1 + x + 8 * y); });
    image_ = make_image(8, 8, 0x123456);
    palette_.reset(SAMPLE_create());
    SAMPLE_set_length(palette_.get(), 256);
  }

  // Each call is made once with a null map and once with a bufferless map
  // that claims a size, in every map position the call has.
  void expect_refused(const GuardCase& c) {
    BYTEMAP bufferless{8, 8, nullptr};
    const std::vector<uint8_t> before = bytes_of(good_.get());
    for (BYTEMAP* broken : {static_cast<BYTEMAP*>(nullptr), &bufferless}) {
      EXPECT_EQ(printed_by([&] { c.call(broken, good_.get()); }), kBytemapError)
          << c.name << (broken == nullptr ? " with null" : " without buffer");
    }
    EXPECT_EQ(bytes_of(good_.get()), before) << c.name;
    EXPECT_FRAME_EQ(image_, FrameView(std::vector<uint32_t>(64, 0x123456), image_->width))
        << c.name;
  }

  BytemapPtr good_;
  ImagePtr image_;
  SamplePtr palette_;
};

TEST_F(BytemapGuards, EveryPixelOperationRefusesMissingMapsAndBuffers) {
  IMG* image = image_.get();
  SAMPLE* palette = palette_.get();
  const GuardCase cases[] = {
      {"clear", [](BYTEMAP* m, BYTEMAP*) { BYTEMAP_clear(m); }},
      {"put_pixel", [](BYTEMAP* m, BYTEMAP*) { BYTEMAP_put_pixel(m, 1, 1, 5); }},
      {"get_pixel", [](BYTEMAP* m, BYTEMAP*) { EXPECT_EQ(BYTEMAP_get_pixel(m, 1, 1), 0); }},
      {"equal first", [](BYTEMAP* m, BYTEMAP* g) { EXPECT_EQ(BYTEMAP_equal(m, g), 0); }},
      {"equal second", [](BYTEMAP* m, BYTEMAP* g) { EXPECT_EQ(BYTEMAP_equal(g, m), 0); }},
      {"clone", [](BYTEMAP* m, BYTEMAP*) { EXPECT_EQ(BYTEMAP_clone(m), nullptr); }},
      {"copy from", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_copy(m, g); }},
      {"copy to", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_copy(g, m); }},
      {"fade", [](BYTEMAP* m, BYTEMAP*) { BYTEMAP_fade(m, 3); }},
      {"add", [](BYTEMAP* m, BYTEMAP*) { BYTEMAP_add(m, 3); }},
      {"render", [=](BYTEMAP* m, BYTEMAP*) { BYTEMAP_render(m, image, palette); }},
      {"draw_circle", [](BYTEMAP* m, BYTEMAP*) { BYTEMAP_draw_circle(m, 4, 4, 2, 9); }},
      {"blit from", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_blit(m, g, 0, 0, 0, 0, 4, 4); }},
      {"blit to", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_blit(g, m, 0, 0, 0, 0, 4, 4); }},
      {"blit_stepped from",
       [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_blit_stepped(m, g, 0, 0, 0, 0, 4, 4, 1, 1); }},
      {"blit_stepped to",
       [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_blit_stepped(g, m, 0, 0, 0, 0, 4, 4, 1, 1); }},
      {"blend from", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_blend(m, g, 0, 0); }},
      {"blend to", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_blend(g, m, 0, 0); }},
      {"wrap_row from", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_wrap_row(m, g, 0, 0, 1); }},
      {"wrap_row to", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_wrap_row(g, m, 0, 0, 1); }},
      {"wrap_row_or from", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_wrap_row_or(m, g, 0, 0, 1); }},
      {"wrap_row_or to", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_wrap_row_or(g, m, 0, 0, 1); }},
      {"wrap_column from", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_wrap_column(m, g, 0, 0, 1); }},
      {"wrap_column to", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_wrap_column(g, m, 0, 0, 1); }},
      {"mask with", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_mask(m, g); }},
      {"mask onto", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_mask(g, m); }},
      {"fill_rect", [](BYTEMAP* m, BYTEMAP*) { BYTEMAP_fill_rect(m, 0, 0, 2, 2, 7); }},
      {"draw_rect", [](BYTEMAP* m, BYTEMAP*) { BYTEMAP_draw_rect(m, 0, 0, 2, 2, 7); }},
      {"scale from", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_scale(m, g); }},
      {"scale to", [](BYTEMAP* m, BYTEMAP* g) { BYTEMAP_scale(g, m); }},
      {"rotate", [](BYTEMAP* m, BYTEMAP*) { EXPECT_EQ(BYTEMAP_rotate(m, 0), nullptr); }},
  };
  for (const GuardCase& c : cases) {
    expect_refused(c);
  }
}

TEST_F(BytemapGuards, RenderRefusesAMissingImageOrPalette) {
  IMG bufferless_image{0, 8, 8, nullptr};
  SAMPLE valueless_palette{256, 256, nullptr};
  const std::vector<std::function<void()>> calls = {
      [&] { BYTEMAP_render(good_.get(), nullptr, palette_.get()); },
      [&] { BYTEMAP_render(good_.get(), &bufferless_image, palette_.get()); },
      [&] { BYTEMAP_render(good_.get(), image_.get(), nullptr); },
      [&] { BYTEMAP_render(good_.get(), image_.get(), &valueless_palette); },
  };
  for (size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(printed_by(calls[i]), kBytemapError) << "call " << i;
  }
  EXPECT_FRAME_EQ(image_, FrameView(std::vector<uint32_t>(64, 0x123456), image_->width));
}

}  // namespace
