#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "containers/sample.h"
#include "imaging/palette.h"
#include "tests/support/module_ids.h"
#include "tests/support/output_capture.h"

namespace {

struct PaletteDeleter {
  void operator()(SAMPLE* palette) const { PALETTE_destroy(&palette); }
};
using PalettePtr = std::unique_ptr<SAMPLE, PaletteDeleter>;

// A palette whose entry i holds i.
PalettePtr make_ramp() {
  PalettePtr palette(PALETTE_create());
  EXPECT_NE(palette, nullptr);
  for (int32_t i = 0; i < 256; ++i) {
    SAMPLE_set(palette.get(), i, i);
  }
  return palette;
}

std::vector<int32_t> entries(const SAMPLE* palette) {
  return std::vector<int32_t>(palette->values, palette->values + palette->length);
}

// Entry i after turning the ramp so that the colour of i lands on i + shift.
std::vector<int32_t> turned_ramp(int32_t shift) {
  std::vector<int32_t> out(256);
  for (int32_t i = 0; i < 256; ++i) {
    out[((i + shift) % 256 + 256) % 256] = i;
  }
  return out;
}

TEST(PaletteId, NamesModuleDateAuthorLanguageKind) {
  expect_module_id(PALETTE_id, {"PALETTE ", "20101018", "Kadwelon", "C       ", "CODE    "});
}

TEST(PaletteCreate, HasTwoHundredFiftySixBlackEntries) {
  PalettePtr palette(PALETTE_create());
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->length, 256);
  EXPECT_EQ(palette->capacity, 256);
  EXPECT_EQ(entries(palette.get()), std::vector<int32_t>(256, 0));
}

TEST(PaletteDestroy, NullsTheHandle) {
  SAMPLE* palette = PALETTE_create();
  ASSERT_NE(palette, nullptr);
  PALETTE_destroy(&palette);
  EXPECT_EQ(palette, nullptr);
  PALETTE_destroy(&palette);  // refused by the vector, harmless
  EXPECT_EQ(palette, nullptr);
}

TEST(PaletteRotate, MovesEntriesUpAndDownModulo256) {
  struct Case {
    bool up;
    int32_t amount;
    int32_t shift;  // where the colour of entry i ends up, relative to i
  };
  const Case cases[] = {
      {true, 1, 1},   {false, 1, -1},   {true, 256, 0},       {false, 256, 0},
      {true, 257, 1}, {false, 257, -1}, {true, 100, 100},     {false, 300, -44},
      {true, -1, -1}, {false, -1, 1},   {true, INT32_MIN, 0}, {true, 0, 0},
  };
  for (const Case& c : cases) {
    PalettePtr palette = make_ramp();
    if (c.up) {
      PALETTE_rotate_up(palette.get(), c.amount);
    } else {
      PALETTE_rotate_down(palette.get(), c.amount);
    }
    EXPECT_EQ(entries(palette.get()), turned_ramp(c.shift)) << (c.up ? "up " : "down ") << c.amount;
  }
}

TEST(PaletteRotate, StatedEntriesAfterOneStep) {
  PalettePtr up = make_ramp();
  PALETTE_rotate_up(up.get(), 1);
  EXPECT_EQ(SAMPLE_get(up.get(), 0), 255);
  EXPECT_EQ(SAMPLE_get(up.get(), 1), 0);
  PalettePtr down = make_ramp();
  PALETTE_rotate_down(down.get(), 1);
  EXPECT_EQ(SAMPLE_get(down.get(), 0), 1);
  EXPECT_EQ(SAMPLE_get(down.get(), 255), 0);
}

TEST(PaletteRotate, NullPaletteIsRefusedWithoutPrinting) {
  EXPECT_EQ(printed_by([&] {
              PALETTE_rotate_up(nullptr, 3);
              PALETTE_rotate_down(nullptr, 3);
              PALETTE_error();
            }),
            "");
}

}  // namespace
