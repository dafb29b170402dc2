#pragma once

// Helpers shared by the libFuzzer targets. A finding must stop the run, so a
// broken property aborts rather than returns.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace fuzz {

// The input as a NUL-terminated text in a buffer of exactly size + 1 bytes,
// so that a reader stepping past the NUL runs off the allocation.
inline std::vector<char> as_text(const uint8_t* data, size_t size) {
  std::vector<char> text(size + 1, '\0');
  if (size > 0) std::memcpy(text.data(), data, size);
  return text;
}

inline void require(bool property, const char* what) {
  if (!property) {
    std::fprintf(stderr, "broken property: %s\n", what);
    std::abort();
  }
}

}  // namespace fuzz

namespace fuzz {

// A record a reader returned must survive its own text form unchanged; the
// record is freed here.
template <class Record, char* (*to_text)(const Record*), Record* (*from_text)(const char*),
          int32_t (*equal)(const Record*, const Record*), void (*destroy)(Record**)>
void check_text_round_trip(Record* record, const char* what) {
  char* text = to_text(record);
  require(text != nullptr, what);
  Record* back = from_text(text);
  require(equal(back, record) == 1, what);
  destroy(&back);
  std::free(text);
  destroy(&record);
}

}  // namespace fuzz
