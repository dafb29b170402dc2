#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// YUV4MPEG2 video at 50 frames a second: a header line, then per frame
// "FRAME" and the Y, U and V planes. Colours are converted with the BT.601
// studio-range integer formulas, which encoders assume for this format
// when nothing else is said. 4:2:0 takes each chroma value as the mean of
// its 2 x 2 block (centred, "C420jpeg").
struct Y4M_WRITER {
  std::FILE* stream = nullptr;  // not owned
  int32_t width = 0;            // of the written picture, enlargement included
  int32_t height = 0;
  int32_t scale = 1;
  bool chroma_420 = false;
  std::vector<uint8_t> planes;  // one frame, reused
  // The frame's Y, U and V at its own size, before enlargement: each pixel
  // is converted once, however large it is shown.
  std::vector<uint8_t> source_y, source_u, source_v;
  std::vector<int32_t> source_column;  // of each column of the enlarged picture
};

// Sizes the writer for frames of `width` x `height` enlarged `scale` times
// and writes the header. False when the stream refuses it.
bool y4m_start(Y4M_WRITER* writer, std::FILE* stream, int32_t width, int32_t height, int32_t scale,
               bool chroma_420);
// One frame of width x height 0x00RRGGBB pixels, rows packed.
bool y4m_write_frame(Y4M_WRITER* writer, const uint32_t* pixels);
