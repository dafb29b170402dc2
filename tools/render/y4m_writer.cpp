#include "tools/render/y4m_writer.h"

namespace {

struct YUV {
  int32_t y, u, v;
};

YUV to_yuv(uint32_t pixel) {
  const int32_t r = static_cast<int32_t>(pixel >> 16 & 255);
  const int32_t g = static_cast<int32_t>(pixel >> 8 & 255);
  const int32_t b = static_cast<int32_t>(pixel & 255);
  return YUV{((66 * r + 129 * g + 25 * b + 128) >> 8) + 16,
             ((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128,
             ((112 * r - 94 * g - 18 * b + 128) >> 8) + 128};
}

size_t chroma_width(const Y4M_WRITER& w) {
  return static_cast<size_t>(w.chroma_420 ? (w.width + 1) / 2 : w.width);
}
size_t chroma_height(const Y4M_WRITER& w) {
  return static_cast<size_t>(w.chroma_420 ? (w.height + 1) / 2 : w.height);
}

// The source pixel under a pixel of the enlarged picture.
uint32_t source_pixel(const Y4M_WRITER& w, const uint32_t* pixels, int32_t x, int32_t y) {
  const int32_t source_width = w.width / w.scale;
  return pixels[static_cast<size_t>(y / w.scale) * static_cast<size_t>(source_width) +
                static_cast<size_t>(x / w.scale)];
}

void fill_444(Y4M_WRITER& w, const uint32_t* pixels) {
  const size_t area = static_cast<size_t>(w.width) * static_cast<size_t>(w.height);
  uint8_t* luma = w.planes.data();
  uint8_t* u = luma + area;
  uint8_t* v = u + area;
  for (int32_t y = 0; y < w.height; ++y) {
    for (int32_t x = 0; x < w.width; ++x) {
      const YUV c = to_yuv(source_pixel(w, pixels, x, y));
      *luma++ = static_cast<uint8_t>(c.y);
      *u++ = static_cast<uint8_t>(c.u);
      *v++ = static_cast<uint8_t>(c.v);
    }
  }
}

void fill_420(Y4M_WRITER& w, const uint32_t* pixels) {
  uint8_t* luma = w.planes.data();
  for (int32_t y = 0; y < w.height; ++y) {
    for (int32_t x = 0; x < w.width; ++x) *luma++ = static_cast<uint8_t>(to_yuv(source_pixel(w, pixels, x, y)).y);
  }
  uint8_t* u = luma;
  uint8_t* v = u + chroma_width(w) * chroma_height(w);
  for (int32_t cy = 0; cy < static_cast<int32_t>(chroma_height(w)); ++cy) {
    for (int32_t cx = 0; cx < static_cast<int32_t>(chroma_width(w)); ++cx) {
      int32_t sum_u = 0, sum_v = 0, count = 0;
      for (int32_t y = 2 * cy; y < 2 * cy + 2 && y < w.height; ++y) {
        for (int32_t x = 2 * cx; x < 2 * cx + 2 && x < w.width; ++x) {
          const YUV c = to_yuv(source_pixel(w, pixels, x, y));
          sum_u += c.u;
          sum_v += c.v;
          count += 1;
        }
      }
      *u++ = static_cast<uint8_t>((sum_u + count / 2) / count);
      *v++ = static_cast<uint8_t>((sum_v + count / 2) / count);
    }
  }
}

}  // namespace

bool y4m_start(Y4M_WRITER* writer, std::FILE* stream, int32_t width, int32_t height,
               int32_t scale, bool chroma_420) {
  Y4M_WRITER& w = *writer;
  w.stream = stream;
  w.width = width * scale;
  w.height = height * scale;
  w.scale = scale;
  w.chroma_420 = chroma_420;
  w.planes.assign(static_cast<size_t>(w.width) * static_cast<size_t>(w.height) +
                      2 * chroma_width(w) * chroma_height(w),
                  0);
  return std::fprintf(stream, "YUV4MPEG2 W%d H%d F50:1 Ip A1:1 %s\n", w.width, w.height,
                      chroma_420 ? "C420jpeg" : "C444") > 0;
}

bool y4m_write_frame(Y4M_WRITER* writer, const uint32_t* pixels) {
  Y4M_WRITER& w = *writer;
  if (w.chroma_420) {
    fill_420(w, pixels);
  } else {
    fill_444(w, pixels);
  }
  return std::fputs("FRAME\n", w.stream) >= 0 &&
         std::fwrite(w.planes.data(), 1, w.planes.size(), w.stream) == w.planes.size();
}
