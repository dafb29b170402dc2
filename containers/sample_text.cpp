#include "containers/sample.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "containers/sample_detail.h"

using sample_detail::valid;

namespace {

constexpr const char* header = "SAMPLE{";
constexpr const char* empty_form = "SAMPLE{}\n";
constexpr const char* footer = "}\n";

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Characters needed for one value and its line feed ("%ld\n").
size_t line_size(int64_t value) {
  return static_cast<size_t>(std::snprintf(nullptr, 0, "%ld\n", static_cast<long>(value)));
}

// Appends "value\n" at `cursor`; the buffer has room for it and a NUL.
char* write_line(char* cursor, int64_t value) {
  return cursor + std::sprintf(cursor, "%ld\n", static_cast<long>(value));
}

char* copy_text(const char* text) {
  const size_t size = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(std::calloc(size, 1));
  if (copy != nullptr) {
    std::memcpy(copy, text, size);
  }
  return copy;
}

// Moves past everything up to the next "-" or digit, never past `stop` or
// the NUL. Returns false when no number starts before them.
bool skip_to_number(const char** cursor, char stop) {
  const char* p = *cursor;
  while (*p != '\0' && *p != stop && *p != '-' && !is_digit(*p)) {
    ++p;
  }
  *cursor = p;
  return *p == '-' || is_digit(*p);
}

// Reads an optional "-" and a run of digits, wrapping modulo 2^32.
int32_t read_number(const char** cursor) {
  const char* p = *cursor;
  const bool negative = *p == '-';
  if (negative) {
    ++p;
  }
  uint32_t value = 0;
  for (; is_digit(*p); ++p) {
    value = value * 10u + static_cast<uint32_t>(*p - '0');
  }
  *cursor = p;
  return static_cast<int32_t>(negative ? 0u - value : value);
}

// Reads a run of digits as a count, saturating instead of wrapping so that a
// huge count stays huge.
int64_t read_count(const char** cursor) {
  const char* p = *cursor;
  int64_t count = 0;
  for (; is_digit(*p); ++p) {
    count = std::min<int64_t>(count * 10 + (*p - '0'), INT64_MAX / 16);
  }
  *cursor = p;
  return count;
}

// Each value needs a digit and a separator before it, so the rest of the text
// holds at most one value per two characters: never reserve more than that.
int32_t values_room(int64_t count, const char* rest) {
  const auto room = static_cast<int64_t>(std::strlen(rest) / 2);
  return static_cast<int32_t>(std::min({count, room, int64_t{INT32_MAX}}));
}

// Reads up to `wanted` values of the form's body into `sample`, stopping at
// the closing brace or the end of the text.
void read_body(SAMPLE* sample, const char* cursor, int32_t wanted) {
  int32_t found = 0;
  while (found < wanted && skip_to_number(&cursor, '}')) {
    sample->values[found] = read_number(&cursor);
    ++found;
  }
  sample->length = found;
}

// Calls `take` for every integer of a bare list; a "-" counts only when a
// digit follows it.
template <typename Take>
void for_each_listed(const char* cursor, Take take) {
  while (skip_to_number(&cursor, '\0')) {
    if (*cursor == '-' && !is_digit(cursor[1])) {
      ++cursor;
      continue;
    }
    take(read_number(&cursor));
  }
}

}  // namespace

char* SAMPLE_to_text(const SAMPLE* sample) {
  if (!valid(sample)) {
    SAMPLE_error();
    return nullptr;
  }
  if (sample->length == 0) {
    return copy_text(empty_form);
  }
  size_t size = std::strlen(header) + line_size(sample->length) + std::strlen(footer) + 1;
  for (int32_t i = 0; i < sample->length; ++i) {
    size += line_size(sample->values[i]);
  }
  auto* text = static_cast<char*>(std::calloc(size, 1));
  if (text == nullptr) {
    SAMPLE_error();
    return nullptr;
  }
  char* cursor = text + std::strlen(std::strcpy(text, header));
  cursor = write_line(cursor, sample->length);
  for (int32_t i = 0; i < sample->length; ++i) {
    cursor = write_line(cursor, sample->values[i]);
  }
  std::strcpy(cursor, footer);
  return text;
}

SAMPLE* SAMPLE_from_text(const char* text) {
  const char* cursor = text != nullptr ? std::strstr(text, "SAMPLE") : nullptr;
  if (cursor != nullptr) {
    cursor = std::strchr(cursor, '{');
  }
  if (cursor == nullptr) {
    SAMPLE_error();
    return nullptr;
  }
  SAMPLE* sample = SAMPLE_create();
  if (sample == nullptr) {
    return nullptr;
  }
  // "SAMPLE{}" and a form cut short before its count both read as empty.
  while (*cursor != '\0' && *cursor != '}' && !is_digit(*cursor)) {
    ++cursor;
  }
  if (!is_digit(*cursor)) {
    return sample;
  }
  const int64_t count = read_count(&cursor);
  const int32_t room = values_room(count, cursor);
  if (room > 0) {
    SAMPLE_set_capacity(sample, room);
    if (sample->capacity != room) {
      SAMPLE_destroy(&sample);
      return nullptr;
    }
  }
  read_body(sample, cursor, room);
  return sample;
}

SAMPLE* SAMPLE_parse_list(const char* text) {
  if (text == nullptr) {
    SAMPLE_error();
    return nullptr;
  }
  int64_t count = 0;
  for_each_listed(text, [&count](int32_t) { ++count; });
  if (count > INT32_MAX) {
    SAMPLE_error();
    return nullptr;
  }
  SAMPLE* sample = sample_detail::make_vector(static_cast<int32_t>(count));
  if (sample == nullptr) {
    return nullptr;
  }
  int32_t next = 0;
  for_each_listed(text, [sample, &next](int32_t value) { sample->values[next++] = value; });
  return sample;
}
