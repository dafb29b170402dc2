#include "containers/sample.h"

#include <algorithm>
#include <cstdio>

#include "containers/sample_detail.h"

using sample_detail::valid;

namespace {

constexpr int32_t read_capacity = 1024;

struct PcmFormat {
  int32_t bytes;    // 1 or 2
  bool big_endian;  // most significant byte first
  bool is_signed;   // two's complement rather than offset by half the range
};

bool parse_read_format(int32_t bits, char byte_order, char sign, PcmFormat* format) {
  if ((bits != 8 && bits != 16) || (byte_order != 'b' && byte_order != 'l') ||
      (sign != 's' && sign != 'u')) {
    return false;
  }
  *format = PcmFormat{bits / 8, byte_order == 'b', sign == 's'};
  return true;
}

// One value from the stream at 16-bit scale, or false at end of file, on a
// read error, or on a lone last byte.
bool read_value(FILE* stream, const PcmFormat& format, int32_t* value) {
  int bytes[2] = {0, 0};
  for (int32_t i = 0; i < format.bytes; ++i) {
    bytes[i] = std::fgetc(stream);
    if (bytes[i] == EOF) {
      return false;
    }
  }
  if (format.bytes == 1) {
    const int32_t unit = bytes[0];
    *value = format.is_signed ? static_cast<int8_t>(unit) * 256 : unit * 256 - 32768;
    return true;
  }
  const int32_t high = format.big_endian ? bytes[0] : bytes[1];
  const int32_t low = format.big_endian ? bytes[1] : bytes[0];
  const int32_t unit = (high << 8) | low;
  *value = format.is_signed ? static_cast<int16_t>(unit) : unit - 32768;
  return true;
}

// Doubles the capacity once it is full; false when that is impossible.
bool make_room(SAMPLE* sample) {
  if (sample->length < sample->capacity) {
    return true;
  }
  int32_t grown = 0;
  if (!sample_detail::doubled(sample->capacity, &grown)) {
    SAMPLE_error();
    return false;
  }
  SAMPLE_set_capacity(sample, grown);
  return sample->capacity == grown;
}

// Width in bytes of a written value and its clipping.
int32_t write_bytes(int32_t bits) {
  switch (bits) {
    case 8:
      return 1;
    case 24:
      return 3;
    case 32:
      return 4;
    default:
      return 2;
  }
}

int32_t clip_for_width(int32_t value, int32_t bytes) {
  if (bytes == 4) {
    // Keeps the range symmetric, as the narrower widths are after clipping.
    return std::max(value, -INT32_MAX);
  }
  const int32_t top = (1 << (8 * bytes - 1)) - 1;
  return std::clamp(value, -top - 1, top);
}

void write_value(FILE* stream, int32_t value, int32_t bytes, bool big_endian) {
  const auto unit = static_cast<uint32_t>(value);
  unsigned char out[4];
  for (int32_t i = 0; i < bytes; ++i) {
    const int32_t shift = 8 * (big_endian ? bytes - 1 - i : i);
    out[i] = static_cast<unsigned char>((unit >> shift) & 0xFFu);
  }
  std::fwrite(out, 1, static_cast<size_t>(bytes), stream);
}

}  // namespace

SAMPLE* SAMPLE_read(FILE* stream, int32_t bits, char byte_order, char sign) {
  PcmFormat format{};
  if (stream == nullptr || !parse_read_format(bits, byte_order, sign, &format)) {
    SAMPLE_error();
    return nullptr;
  }
  SAMPLE* sample = SAMPLE_create();
  if (sample == nullptr) {
    return nullptr;
  }
  SAMPLE_set_capacity(sample, read_capacity);
  // End of file and a read error end reading alike: what was read is kept.
  int32_t value = 0;
  while (make_room(sample) && read_value(stream, format, &value)) {
    sample->values[sample->length] = value;
    sample->length += 1;
  }
  return sample;
}

void SAMPLE_write(const SAMPLE* sample, FILE* stream, int32_t bits, char byte_order) {
  if (!valid(sample) || stream == nullptr) {
    SAMPLE_error();
    return;
  }
  const int32_t bytes = write_bytes(bits);
  const bool big_endian = byte_order == 'b';
  for (int32_t i = 0; i < sample->length; ++i) {
    write_value(stream, clip_for_width(sample->values[i], bytes), bytes, big_endian);
  }
}
