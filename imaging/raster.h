#pragma once

// What the 32-bit image and the byte map share. The two differ only in their
// pixel type, their error hook and how a pixel stands for a colour;
// RASTER_TRAITS<Record> says those, and the raster_* templates here and in
// raster_life.h, raster_blit.h, raster_draw.h, raster_scale.h and
// raster_file.h write every operation the twins share once over it. Not part
// of the interface.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "imaging/bytemap.h"
#include "imaging/clip.h"
#include "imaging/img.h"

template <class Record>
struct RASTER_TRAITS;

template <>
struct RASTER_TRAITS<IMG> {
  using Pixel = uint32_t;
  static constexpr const char* name = "IMG";  // error line and text dump frame
  static constexpr char file_magic = '6';     // saved as P6
  // Halving each channel before adding cannot carry into the next one.
  static constexpr Pixel halves = 0x7F7F7Fu;
  static void error() { IMG_error(); }
  // A decoded colour is stored whole; a pixel is written as its colour.
  static Pixel from_rgb(uint32_t rgb) { return rgb; }
  static uint32_t rgb_of(Pixel pixel) { return pixel; }
};

template <>
struct RASTER_TRAITS<BYTEMAP> {
  using Pixel = uint8_t;
  static constexpr const char* name = "BYTEMAP";
  static constexpr char file_magic = '5';  // saved as P5
  static constexpr Pixel halves = 0x7Fu;
  static void error() { BYTEMAP_error(); }
  // A decoded colour becomes the mean of its three channels, rounded down; a
  // byte v is written as the grey v, v, v.
  static Pixel from_rgb(uint32_t rgb) {
    const uint32_t sum = (rgb >> 16 & 0xFFu) + (rgb >> 8 & 0xFFu) + (rgb & 0xFFu);
    return static_cast<Pixel>(sum / 3);
  }
  static uint32_t rgb_of(Pixel pixel) { return pixel * 0x010101u; }
};

template <class Record>
using RASTER_PIXEL = typename RASTER_TRAITS<Record>::Pixel;

// The error hook's switch, one per twin; errors are silent in the show and
// tests turn the report on.
template <class Record>
inline bool raster_error_report = false;

// Prints "NAME error" while the twin's switch is on, and flushes, so that the
// line is out before whatever the process does next.
template <class Record>
void raster_error() {
  if (!raster_error_report<Record>) return;
  std::fputs(RASTER_TRAITS<Record>::name, stdout);
  std::fputs(" error\n", stdout);
  std::fflush(stdout);
}

template <class Raster>
inline bool raster_has_pixels(const Raster* raster) {
  return raster != nullptr && raster->pixels != nullptr;
}

template <class Raster>
inline size_t raster_pixel_count(const Raster* raster) {
  return clip_pixel_count(raster->width, raster->height);
}

template <class Raster>
inline bool raster_contains(const Raster* raster, int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < raster->width && y < raster->height;
}

template <class Raster>
inline size_t raster_index(const Raster* raster, int32_t x, int32_t y) {
  return static_cast<size_t>(y) * static_cast<size_t>(raster->width) + static_cast<size_t>(x);
}

// Start of row y (0 <= y < height) of a raster that has pixels.
template <class Raster>
inline auto raster_row(Raster* raster, int32_t y) {
  return raster->pixels + raster_index(raster, 0, y);
}
