#include "show/assets/instruments.h"

#include <array>
#include <cstddef>
#include <utility>

namespace {

// The sounds as the generator wrote them: 16 x 11025 signed 16-bit values,
// little-endian, one instrument after the other.
constexpr uint8_t instrument_bytes[] = {
#include "instruments.raw.inc"
};
static_assert(sizeof instrument_bytes == 2 * instrument_count * instrument_length,
              "the instrument data must hold 16 sounds of 11025 values");

using Values = std::array<int32_t, instrument_length>;

constexpr Values decode(size_t instrument) {
  Values values{};
  const uint8_t* bytes = instrument_bytes + 2 * instrument_length * instrument;
  for (size_t i = 0; i < values.size(); ++i) {
    auto word = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    values[i] = static_cast<int16_t>(word);
  }
  return values;
}

// One variable per sound, so that each is decoded at compile time in a
// constant evaluation of its own (compilers cap the work of a single one).
template <size_t instrument>
constinit Values instrument_values = decode(instrument);

template <size_t instrument>
constexpr SAMPLE record() {
  return {instrument_length, instrument_length, instrument_values<instrument>.data()};
}

}  // namespace

SAMPLE instrument_table[instrument_count] = {
    record<0>(),  record<1>(),  record<2>(),  record<3>(),  record<4>(),  record<5>(),
    record<6>(),  record<7>(),  record<8>(),  record<9>(),  record<10>(), record<11>(),
    record<12>(), record<13>(), record<14>(), record<15>(),
};
