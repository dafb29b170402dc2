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
