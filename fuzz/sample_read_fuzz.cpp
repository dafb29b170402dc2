// The first byte picks the width, byte order and sign, invalid ones included;
// the rest is the stream.

#include "fuzz/sample_checks.h"

namespace {

constexpr int32_t widths[] = {8, 16, 24};
constexpr char orders[] = {'b', 'l', 'x'};
constexpr char signs[] = {'s', 'u', 'x'};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;  // fmemopen refuses an empty buffer
  int32_t bits = widths[data[0] % 3];
  char order = orders[data[0] / 3 % 3];
  char sign = signs[data[0] / 9 % 3];
  size_t stream_bytes = size - 1;
  std::FILE* stream = fmemopen(const_cast<uint8_t*>(data + 1), stream_bytes, "rb");
  if (stream == nullptr) return 0;
  SAMPLE* sample = SAMPLE_read(stream, bits, order, sign);
  std::fclose(stream);
  bool valid = bits != 24 && order != 'x' && sign != 'x';
  fuzz::require(valid == (sample != nullptr), "SAMPLE_read refuses exactly the bad parameters");
  if (sample != nullptr) {
    fuzz::require(
        static_cast<size_t>(sample->length) == stream_bytes / static_cast<size_t>(bits / 8),
        "SAMPLE_read reads every whole value");
  }
  fuzz::check_read_sample(sample);
  return 0;
}
