#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "containers/sample.h"
#include "tests/containers/sample_helpers.h"

namespace {

using Values = std::vector<int32_t>;
using Bytes = std::vector<uint8_t>;

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A stream holding exactly `bytes`, positioned at the start.
FilePtr stream_of(const Bytes& bytes) {
  FilePtr file(std::tmpfile());
  if (!bytes.empty()) {
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
  }
  std::rewind(file.get());
  return file;
}

SamplePtr read_bytes(const Bytes& bytes, int32_t bits, char order, char sign) {
  FilePtr file = stream_of(bytes);
  return SamplePtr(SAMPLE_read(file.get(), bits, order, sign));
}

Bytes written_bytes(const Values& values, int32_t bits, char order) {
  SamplePtr sample = make_sample(values);
  FilePtr file(std::tmpfile());
  SAMPLE_write(sample.get(), file.get(), bits, order);
  Bytes bytes(static_cast<size_t>(std::ftell(file.get())));
  std::rewind(file.get());
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file.get()), bytes.size());
  return bytes;
}

TEST(SampleRead, DecodesWidthsOrdersAndSigns) {
  struct Case {
    Bytes bytes;
    int32_t bits;
    char order, sign;
    Values expected;
  };
  const Case cases[] = {
      {{0xFF, 0x7F}, 16, 'l', 's', {32767}},
      {{0x00, 0x80}, 16, 'l', 's', {-32768}},
      {{0x00, 0x80}, 16, 'l', 'u', {0}},
      {{0x7F, 0xFF}, 16, 'b', 's', {32767}},
      {{0x80, 0x00, 0xFF, 0xFF}, 16, 'b', 's', {-32768, -1}},
      {{0xFF, 0xFF, 0x00, 0x00}, 16, 'b', 'u', {32767, -32768}},
      {{0x80}, 8, 'l', 'u', {0}},
      {{0x80}, 8, 'b', 's', {-32768}},
      {{0x7F, 0xFF, 0x00}, 8, 'l', 's', {32512, -256, 0}},
      {{0xFF, 0x00}, 8, 'b', 'u', {32512, -32768}},
      {{1, 2, 3, 4, 5}, 16, 'l', 's', {0x0201, 0x0403}},  // a lone last byte is ignored
      {{}, 16, 'l', 's', {}},
  };
  for (const Case& c : cases) {
    SamplePtr sample = read_bytes(c.bytes, c.bits, c.order, c.sign);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(values_of(sample.get()), c.expected)
        << c.bits << c.order << c.sign << " of " << c.bytes.size() << " bytes";
  }
}

TEST(SampleRead, RefusesUnknownParameters) {
  struct Case {
    int32_t bits;
    char order, sign;
  };
  const Case cases[] = {{24, 'l', 's'}, {32, 'b', 's'}, {0, 'l', 's'}, {8, 'x', 's'},
                        {16, 'L', 's'}, {16, 'l', 'S'}, {16, 'l', 'x'}};
  for (const Case& c : cases) {
    EXPECT_EQ(read_bytes({1, 2, 3, 4}, c.bits, c.order, c.sign), nullptr)
        << c.bits << c.order << c.sign;
  }
  EXPECT_EQ(SAMPLE_read(nullptr, 16, 'l', 's'), nullptr);
}

TEST(SampleRead, StartsAt1024SlotsAndDoubles) {
  struct Case {
    size_t values;
    int32_t capacity;
  };
  for (const Case& c : {Case{0, 1024}, Case{1023, 1024}, Case{1024, 2048}, Case{3000, 4096}}) {
    Bytes bytes(c.values);
    for (size_t i = 0; i < c.values; ++i) {
      bytes[i] = static_cast<uint8_t>(i);
    }
    SamplePtr sample = read_bytes(bytes, 8, 'l', 'u');
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->length, static_cast<int32_t>(c.values));
    EXPECT_EQ(sample->capacity, c.capacity) << c.values;
    if (c.values > 0) {
      EXPECT_EQ(SAMPLE_get(sample.get(), static_cast<int32_t>(c.values) - 1),
                static_cast<int32_t>((c.values - 1) % 256) * 256 - 32768);
    }
  }
}

// A stream that hands out a few bytes and then fails.
struct FailingSource {
  Bytes bytes;
  size_t position = 0;
};

ssize_t read_then_fail(void* cookie, char* buffer, size_t size) {
  auto* source = static_cast<FailingSource*>(cookie);
  if (source->position >= source->bytes.size()) {
    errno = EIO;
    return -1;
  }
  const size_t count = std::min(size, source->bytes.size() - source->position);
  std::memcpy(buffer, source->bytes.data() + source->position, count);
  source->position += count;
  return static_cast<ssize_t>(count);
}

TEST(SampleRead, AStreamThatFailsMidwayGivesWhatWasRead) {
  FailingSource source{{0x01, 0x00, 0x02, 0x00, 0x03}};
  cookie_io_functions_t functions{read_then_fail, nullptr, nullptr, nullptr};
  FilePtr file(fopencookie(&source, "r", functions));
  ASSERT_NE(file, nullptr);
  SamplePtr sample(SAMPLE_read(file.get(), 16, 'l', 's'));
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(values_of(sample.get()), (Values{1, 2}));
  EXPECT_NE(std::ferror(file.get()), 0);
}

TEST(SampleWrite, ClipsToTheWidthAndOrdersBytes) {
  struct Case {
    Values values;
    int32_t bits;
    char order;
    Bytes expected;
  };
  const Case cases[] = {
      {{40000}, 16, 'b', {0x7F, 0xFF}},
      {{40000}, 16, 'l', {0xFF, 0x7F}},
      {{-40000, -2}, 16, 'b', {0x80, 0x00, 0xFF, 0xFE}},
      {{INT32_MIN}, 32, 'b', {0x80, 0x00, 0x00, 0x01}},
      {{0x01020304}, 32, 'l', {0x04, 0x03, 0x02, 0x01}},
      {{300, -300, -1}, 8, 'b', {0x7F, 0x80, 0xFF}},
      {{256}, 8, 'l', {0x7F}},  // no scaling back from reading's x 256
      {{0x123456, 9000000, -9000000},
       24,
       'b',
       {0x12, 0x34, 0x56, 0x7F, 0xFF, 0xFF, 0x80, 0x00, 0x00}},
      {{0x123456}, 24, 'l', {0x56, 0x34, 0x12}},
      {{0x1234}, 12, 'b', {0x12, 0x34}},  // unknown widths write 16 bits
      {{0x1234}, 16, 'x', {0x34, 0x12}},  // any other order letter: low byte first
      {{}, 16, 'b', {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(written_bytes(c.values, c.bits, c.order), c.expected) << c.bits << c.order;
  }
}

TEST(SampleWrite, NothingForBadArguments) {
  FilePtr file(std::tmpfile());
  SAMPLE_write(nullptr, file.get(), 16, 'b');
  SAMPLE bare{1, 1, nullptr};
  SAMPLE_write(&bare, file.get(), 16, 'b');
  EXPECT_EQ(std::ftell(file.get()), 0);
  SamplePtr sample = make_sample({1});
  SAMPLE_write(sample.get(), nullptr, 16, 'b');
}

TEST(SamplePcm, SixteenBitRoundTrip) {
  const Values values{-32768, -1, 0, 1, 12345, 32767};
  for (char order : {'b', 'l'}) {
    SamplePtr back = read_bytes(written_bytes(values, 16, order), 16, order, 's');
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(values_of(back.get()), values) << order;
  }
}

}  // namespace
