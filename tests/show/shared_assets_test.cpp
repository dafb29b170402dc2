// The screen map, the colour-wheel palette and the screen-sized pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "containers/sample.h"
#include "imaging/bytemap.h"
#include "imaging/palette.h"
#include "show/assets/pictures.h"
#include "tests/show/show_state.h"
#include "tests/support/frame_compare.h"

namespace {

struct RGB {
  uint32_t red, green, blue;
};

uint32_t pack(RGB c) { return c.red << 16 | c.green << 8 | c.blue; }

// The wheel told as channels: each sixth of it holds two channels fixed and
// moves the third by 6 per entry, in the order green, cyan, blue, magenta,
// red, yellow.
uint32_t wheel_colour(int32_t entry) {
  if (entry >= 252) return pack({0, 255, 0});
  const uint32_t up = 6 * static_cast<uint32_t>(entry % 42);
  const uint32_t down = 255 - up;
  switch (entry / 42) {
    case 0:
      return pack({0, 255, up});
    case 1:
      return pack({0, down, 255});
    case 2:
      return pack({up, 0, 255});
    case 3:
      return pack({255, 0, down});
    case 4:
      return pack({255, up, 0});
    default:
      return pack({down, 255, 0});
  }
}

using SharedAssets = ShowState;

TEST_F(SharedAssets, PaletteIsTheColourWheel) {
  QUOMBRAX_build_screen_map_and_palette();
  const SAMPLE* palette = QUOMBRAX_state.palette;
  ASSERT_NE(palette, nullptr);
  ASSERT_EQ(palette->length, PALETTE_length);
  for (int32_t entry = 0; entry < PALETTE_length; ++entry) {
    EXPECT_EQ(static_cast<uint32_t>(palette->values[entry]), wheel_colour(entry))
        << "entry " << entry;
  }
  struct {
    int32_t entry;
    uint32_t colour;
  } const landmarks[] = {
      {0, 0x00FF00}, {41, 0x00FFF6}, {42, 0x00FFFF}, {251, 0x09FF00}, {255, 0x00FF00}};
  for (const auto& l : landmarks) {
    EXPECT_EQ(static_cast<uint32_t>(palette->values[l.entry]), l.colour) << l.entry;
  }
}

TEST_F(SharedAssets, ScreenMapIsAllZeroAtTheScreenSize) {
  struct {
    int32_t width, height;
  } const screens[] = {{256, 256}, {320, 240}, {1, 1}};
  for (const auto& s : screens) {
    build_screen(s.width, s.height);
    QUOMBRAX_build_screen_map_and_palette();
    const BYTEMAP* map = QUOMBRAX_state.screen_map;
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->width, s.width);
    EXPECT_EQ(map->height, s.height);
    const std::vector<uint8_t> seen(map->pixels, map->pixels + map->width * map->height);
    EXPECT_EQ(seen, std::vector<uint8_t>(static_cast<size_t>(s.width * s.height), 0))
        << s.width << " x " << s.height;
  }
}

TEST_F(SharedAssets, LogoFillsTheDefaultScreenUnchanged) {
  QUOMBRAX_build_pictures();
  ImagePtr logo = decoded_picture(logo_picture_pnm, logo_picture_pnm_size, 256, 256);
  ASSERT_TRUE(logo);
  EXPECT_FRAME_EQ(QUOMBRAX_state.logo_image, logo);
}

// An image's rows as runs of equal neighbours: the row contents in order,
// each with how many times it repeats.
struct ROW_RUN {
  std::vector<uint32_t> row;
  int32_t count;
};

std::vector<ROW_RUN> row_runs(const IMG* image) {
  std::vector<ROW_RUN> runs;
  for (int32_t y = 0; y < image->height; ++y) {
    const uint32_t* row = image->pixels + y * image->width;
    std::vector<uint32_t> contents(row, row + image->width);
    if (!runs.empty() && runs.back().row == contents) {
      ++runs.back().count;
    } else {
      runs.push_back({std::move(contents), 1});
    }
  }
  return runs;
}

// Stretched from 96 rows to 256: the texture shows the picture's rows whole,
// in order, none skipped, each repeated about 256 / 96 times.
TEST_F(SharedAssets, RollPictureIsStretchedToTheScreenHeight) {
  QUOMBRAX_build_pictures();
  ImagePtr roll = decoded_picture(roll_picture_pnm, roll_picture_pnm_size, 256, 96);
  ASSERT_TRUE(roll);
  const IMG* texture = QUOMBRAX_state.roll_texture;
  ASSERT_NE(texture, nullptr);
  ASSERT_EQ(texture->width, 256);
  ASSERT_EQ(texture->height, 256);
  EXPECT_EQ(texture->y, 0);
  const std::vector<ROW_RUN> picture_runs = row_runs(roll.get());
  const std::vector<ROW_RUN> texture_runs = row_runs(texture);
  ASSERT_EQ(texture_runs.size(), picture_runs.size());
  for (size_t i = 0; i < picture_runs.size(); ++i) {
    ASSERT_EQ(texture_runs[i].row, picture_runs[i].row) << "run " << i;
    const double stretched = picture_runs[i].count * 256.0 / 96.0;
    EXPECT_GE(texture_runs[i].count, std::floor(stretched) - 1) << "run " << i;
    EXPECT_LE(texture_runs[i].count, std::ceil(stretched) + 1) << "run " << i;
  }
}

TEST_F(SharedAssets, PicturesAndMapFollowAnOtherScreenSize) {
  build_screen(320, 240);
  QUOMBRAX_build_screen_map_and_palette();
  QUOMBRAX_build_pictures();
  ImagePtr logo = decoded_picture(logo_picture_pnm, logo_picture_pnm_size, 256, 256);
  ImagePtr roll = decoded_picture(roll_picture_pnm, roll_picture_pnm_size, 256, 96);
  ASSERT_TRUE(logo && roll);
  for (const IMG* scaled : {QUOMBRAX_state.logo_image, QUOMBRAX_state.roll_texture}) {
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->width, 320);
    EXPECT_EQ(scaled->height, 240);
  }
  // The corners of a scaled picture are the picture's corners.
  struct {
    const IMG* scaled;
    const IMG* picture;
  } const pairs[] = {{QUOMBRAX_state.logo_image, logo.get()},
                     {QUOMBRAX_state.roll_texture, roll.get()}};
  for (const auto& p : pairs) {
    const int32_t w = p.picture->width - 1, h = p.picture->height - 1;
    EXPECT_EQ(pixel_at(p.scaled, 0, 0), pixel_at(p.picture, 0, 0));
    EXPECT_EQ(pixel_at(p.scaled, 319, 0), pixel_at(p.picture, w, 0));
    EXPECT_EQ(pixel_at(p.scaled, 0, 239), pixel_at(p.picture, 0, h));
    EXPECT_EQ(pixel_at(p.scaled, 319, 239), pixel_at(p.picture, w, h));
  }
  EXPECT_EQ(QUOMBRAX_state.screen_map->width, 320);
  EXPECT_EQ(QUOMBRAX_state.screen_map->height, 240);
}

TEST_F(SharedAssets, ReleaseFreesTheMapAndPicturesButKeepsThePalette) {
  QUOMBRAX_build_screen_map_and_palette();
  QUOMBRAX_build_pictures();
  const SAMPLE* palette = QUOMBRAX_state.palette;
  QUOMBRAX_destroy_shared_assets();
  EXPECT_EQ(QUOMBRAX_state.screen_map, nullptr);
  EXPECT_EQ(QUOMBRAX_state.logo_image, nullptr);
  EXPECT_EQ(QUOMBRAX_state.roll_texture, nullptr);
  ASSERT_EQ(QUOMBRAX_state.palette, palette);
  EXPECT_EQ(static_cast<uint32_t>(palette->values[42]), 0x00FFFFu);
}

// A screen that could not be had (0 x 0) gives empty assets, not a crash.
TEST_F(SharedAssets, AnEmptyScreenGivesEmptyAssets) {
  build_screen(0, 0);
  QUOMBRAX_build_screen_map_and_palette();
  QUOMBRAX_build_pictures();
  EXPECT_EQ(QUOMBRAX_state.screen_map->width * QUOMBRAX_state.screen_map->height, 0);
  EXPECT_EQ(QUOMBRAX_state.logo_image->width * QUOMBRAX_state.logo_image->height, 0);
  EXPECT_EQ(QUOMBRAX_state.roll_texture->width * QUOMBRAX_state.roll_texture->height, 0);
}

}  // namespace
