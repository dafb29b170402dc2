#pragma once

#include <cstdint>
#include <string>
#include <vector>

// PNG files of 0x00RRGGBB pictures, through libpng: the one way the project
// writes and reads PNGs (rendered frames, stills, the icon, stored test
// frames).

struct PNG_PICTURE {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // width x height, rows packed, top byte 0
};

// The largest side a PNG may have here, written or read: libpng's own
// default limit, and far more than any picture of the show.
constexpr int32_t PNG_max_side = 1000000;

// Writes `width` x `height` pixels (rows packed, the top byte ignored) as an
// 8-bit RGB PNG, each pixel enlarged to a `scale` x `scale` block. The file
// is written under a temporary name beside `path` and renamed into place
// when complete, so a failed write leaves nothing behind. The bytes depend
// only on the pixels and the scale. On failure returns false and, when
// `error` is given, says why in a few words.
bool png_write_file(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
                    int32_t scale, std::string* error = nullptr);

// Reads any PNG (grey, palette, RGB, with or without alpha, 1 to 16 bits)
// into 0x00RRGGBB pixels; alpha is dropped. Returns false, with `picture`
// unchanged, for a missing, damaged or oversized file.
bool png_read_file(const std::string& path, PNG_PICTURE* picture, std::string* error = nullptr);
