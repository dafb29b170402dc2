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

// The row of source values the row y of the enlarged picture shows.
const uint8_t* source_row(const Y4M_WRITER& w, const std::vector<uint8_t>& source, int32_t y) {
  return source.data() + static_cast<size_t>(y / w.scale) * static_cast<size_t>(w.width / w.scale);
}

void convert_source(Y4M_WRITER& w, const uint32_t* pixels) {
  for (size_t i = 0; i < w.source_y.size(); ++i) {
    const YUV c = to_yuv(pixels[i]);
    w.source_y[i] = static_cast<uint8_t>(c.y);
    w.source_u[i] = static_cast<uint8_t>(c.u);
    w.source_v[i] = static_cast<uint8_t>(c.v);
  }
}

// One plane at full size, each source value repeated over its block.
uint8_t* enlarge(const Y4M_WRITER& w, const std::vector<uint8_t>& source, uint8_t* out) {
  for (int32_t y = 0; y < w.height; ++y) {
    const uint8_t* row = source_row(w, source, y);
    for (int32_t x = 0; x < w.width; ++x) *out++ = row[w.source_column[x]];
  }
  return out;
}

// One chroma plane at half size: each value the rounded mean of the 2 x 2
// block of the enlarged picture (fewer at an odd edge).
uint8_t* halve(const Y4M_WRITER& w, const std::vector<uint8_t>& source, uint8_t* out) {
  for (int32_t cy = 0; cy < static_cast<int32_t>(chroma_height(w)); ++cy) {
    for (int32_t cx = 0; cx < static_cast<int32_t>(chroma_width(w)); ++cx) {
      int32_t sum = 0, count = 0;
      for (int32_t y = 2 * cy; y < 2 * cy + 2 && y < w.height; ++y) {
        const uint8_t* row = source_row(w, source, y);
        for (int32_t x = 2 * cx; x < 2 * cx + 2 && x < w.width; ++x) {
          sum += row[w.source_column[x]];
          count += 1;
        }
      }
      *out++ = static_cast<uint8_t>((sum + count / 2) / count);
    }
  }
  return out;
}

}  // namespace

bool y4m_start(Y4M_WRITER* writer, std::FILE* stream, int32_t width, int32_t height, int32_t scale,
               bool chroma_420) {
  Y4M_WRITER& w = *writer;
  w.stream = stream;
  w.width = width * scale;
  w.height = height * scale;
  w.scale = scale;
  w.chroma_420 = chroma_420;
  w.planes.assign(static_cast<size_t>(w.width) * static_cast<size_t>(w.height) +
                      2 * chroma_width(w) * chroma_height(w),
                  0);
  const size_t source_area = static_cast<size_t>(width) * static_cast<size_t>(height);
  w.source_y.assign(source_area, 0);
  w.source_u.assign(source_area, 0);
  w.source_v.assign(source_area, 0);
  w.source_column.resize(static_cast<size_t>(w.width));
  for (int32_t x = 0; x < w.width; ++x) w.source_column[x] = x / scale;
  return std::fprintf(stream, "YUV4MPEG2 W%d H%d F50:1 Ip A1:1 %s\n", w.width, w.height,
                      chroma_420 ? "C420jpeg" : "C444") > 0;
}

bool y4m_write_frame(Y4M_WRITER* writer, const uint32_t* pixels) {
  Y4M_WRITER& w = *writer;
  convert_source(w, pixels);
  uint8_t* out = enlarge(w, w.source_y, w.planes.data());
  const auto chroma = w.chroma_420 ? halve : enlarge;
  out = chroma(w, w.source_u, out);
  chroma(w, w.source_v, out);
  return std::fputs("FRAME\n", w.stream) >= 0 &&
         std::fwrite(w.planes.data(), 1, w.planes.size(), w.stream) == w.planes.size();
}
