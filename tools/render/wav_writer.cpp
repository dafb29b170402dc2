#include "tools/render/wav_writer.h"

namespace {

constexpr int32_t header_bytes = 44;
constexpr uint32_t unknown_size = 0xFFFFFFFFu;

void put_u32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void put_u16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

bool write_header(std::FILE* stream, uint32_t data_bytes, uint32_t riff_bytes) {
  constexpr uint16_t pcm = 1, channels = 1, bits = 16, block = channels * bits / 8;
  uint8_t h[header_bytes] = {'R', 'I', 'F', 'F', 0,   0,   0,  0, 'W', 'A',
                             'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0,   0};
  put_u32(h + 4, riff_bytes);
  put_u16(h + 20, pcm);
  put_u16(h + 22, channels);
  put_u32(h + 24, WAV_rate);
  put_u32(h + 28, WAV_rate * block);
  put_u16(h + 32, block);
  put_u16(h + 34, bits);
  h[36] = 'd';
  h[37] = 'a';
  h[38] = 't';
  h[39] = 'a';
  put_u32(h + 40, data_bytes);
  return std::fwrite(h, 1, header_bytes, stream) == header_bytes;
}

}  // namespace

bool wav_start(WAV_WRITER* writer, std::FILE* stream) {
  writer->stream = stream;
  writer->bytes = 0;
  return write_header(stream, unknown_size, unknown_size);
}

bool wav_write_sound(WAV_WRITER* writer, const uint8_t* bytes, int32_t length) {
  if (writer->bytes + length > WAV_max_bytes) return false;
  writer->bytes += length;
  return std::fwrite(bytes, 1, static_cast<size_t>(length), writer->stream) ==
         static_cast<size_t>(length);
}

bool wav_finish(WAV_WRITER* writer) {
  std::FILE* stream = writer->stream;
  if (std::fflush(stream) != 0) return false;
  // A pipe or device cannot seek: its header keeps the unknown sizes.
  if (std::fseek(stream, 0, SEEK_SET) != 0) return true;
  const auto data = static_cast<uint32_t>(writer->bytes);
  return write_header(stream, data, data + header_bytes - 8) &&
         std::fseek(stream, 0, SEEK_END) == 0;
}
