#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "containers/sample.h"
#include "tests/containers/sample_helpers.h"

namespace {

using Values = std::vector<int32_t>;

// Takes a returned text, checks it is the size it claims, frees it.
std::string take_text(char* text) {
  EXPECT_NE(text, nullptr);
  if (text == nullptr) {
    return {};
  }
  std::string copy(text);
  std::free(text);
  return copy;
}

// The text as a heap block of exactly its own size, so that AddressSanitizer
// catches a reader that goes past the NUL.
std::unique_ptr<char[]> exact_copy(const std::string& text) {
  auto copy = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

SamplePtr read_text(const std::string& text) {
  return SamplePtr(SAMPLE_from_text(exact_copy(text).get()));
}

SamplePtr parse_list(const std::string& text) {
  return SamplePtr(SAMPLE_parse_list(exact_copy(text).get()));
}

TEST(SampleToText, FormatsCountAndValuesOnePerLine) {
  struct Case {
    Values values;
    std::string text;
  };
  const Case cases[] = {
      {{3, -7}, "SAMPLE{2\n3\n-7\n}\n"},
      {{}, "SAMPLE{}\n"},
      {{0}, "SAMPLE{1\n0\n}\n"},
      {{INT32_MIN, INT32_MAX}, "SAMPLE{2\n-2147483648\n2147483647\n}\n"},
  };
  for (const Case& c : cases) {
    SamplePtr sample = make_sample(c.values);
    EXPECT_EQ(take_text(SAMPLE_to_text(sample.get())), c.text);
  }
  EXPECT_EQ(SAMPLE_to_text(nullptr), nullptr);
}

TEST(SampleToText, CoversOnlyValuesInUse) {
  SamplePtr sample = make_sample({1, 2, 3});
  SAMPLE_set_length(sample.get(), 1);
  EXPECT_EQ(take_text(SAMPLE_to_text(sample.get())), "SAMPLE{1\n1\n}\n");
}

TEST(SampleText, EveryVectorReadsBackEqual) {
  const std::vector<Values> vectors = {
      {}, {0}, {3, -7}, {INT32_MIN, -1, 0, 1, INT32_MAX}, Values(1000, -32768),
  };
  for (const Values& values : vectors) {
    SamplePtr sample = make_sample(values);
    const std::string text = take_text(SAMPLE_to_text(sample.get()));
    SamplePtr back = read_text(text);
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(SAMPLE_equal(back.get(), sample.get()), 1) << text;
  }
}

TEST(SampleFromText, AcceptsAnySeparatorsAndSurroundings) {
  struct Case {
    std::string text;
    Values expected;
  };
  const Case cases[] = {
      {"SAMPLE{2\n3\n-7\n}\n", {3, -7}},
      {"SAMPLE{3 1 -2 3}", {1, -2, 3}},
      {"SAMPLE{3,1,-2,3}", {1, -2, 3}},
      {"junk SAMPLE { count 2: 10; -20 }", {10, -20}},
      {"SAMPLE{}", {}},
      {"SAMPLE{0\n}\n", {}},
      {"SAMPLE{1\n4294967295\n}", {-1}},  // digits wrap modulo 2^32
      {"SAMPLE{1\n-\n}", {0}},            // a bare sign reads as zero
  };
  for (const Case& c : cases) {
    SamplePtr sample = read_text(c.text);
    ASSERT_NE(sample, nullptr) << c.text;
    EXPECT_EQ(values_of(sample.get()), c.expected) << c.text;
  }
}

TEST(SampleFromText, RefusesTextsWithoutTheForm) {
  for (const char* text : {"", "SAMPL{1 2}", "sample{1\n2\n}", "SAMPLE 1 2"}) {
    EXPECT_EQ(SamplePtr(SAMPLE_from_text(exact_copy(text).get())), nullptr) << text;
  }
  EXPECT_EQ(SAMPLE_from_text(nullptr), nullptr);
}

TEST(SampleFromText, ShortOrCutTextGivesTheValuesFound) {
  struct Case {
    std::string text;
    Values expected;
  };
  const Case cases[] = {
      {"SAMPLE{5\n1\n2\n}\n", {1, 2}},
      {"SAMPLE{5\n1\n2", {1, 2}},
      {"SAMPLE{3", {}},
      {"SAMPLE{", {}},
      {"SAMPLE{2\n1\n}\nSAMPLE{1\n9\n}\n", {1}},  // stops at its own closing brace
  };
  for (const Case& c : cases) {
    SamplePtr sample = read_text(c.text);
    ASSERT_NE(sample, nullptr) << c.text;
    EXPECT_EQ(values_of(sample.get()), c.expected) << c.text;
    EXPECT_LE(sample->length, sample->capacity);
  }
}

TEST(SampleFromText, HugeCountReservesNoMoreThanTheTextCanHold) {
  for (const std::string count : {"4000000000", "2147483647", "99999999999999999999999"}) {
    const std::string text = "SAMPLE{" + count + "\n1\n-2\n3\n}\n";
    SamplePtr sample = read_text(text);
    ASSERT_NE(sample, nullptr) << count;
    EXPECT_EQ(values_of(sample.get()), (Values{1, -2, 3})) << count;
    EXPECT_LE(sample->capacity, static_cast<int32_t>(text.size() / 2)) << count;
    // Nor more than the characters after the count could hold.
    const size_t after_count = text.size() - std::strlen("SAMPLE{") - count.size();
    EXPECT_LE(sample->capacity, static_cast<int32_t>(after_count / 2)) << count;
  }
}

TEST(SampleFromText, ExactCountReservesExactly) {
  std::string text = "SAMPLE{40\n";
  for (int32_t i = 0; i < 40; ++i) {
    text += std::to_string(i) + "\n";
  }
  text += "}\n";
  SamplePtr counted = read_text(text);
  ASSERT_NE(counted, nullptr);
  EXPECT_EQ(counted->length, 40);
  EXPECT_EQ(counted->capacity, 40);
  EXPECT_EQ(SAMPLE_get(counted.get(), 39), 39);
}

TEST(SampleParseList, ReadsEveryIntegerInOrder) {
  struct Case {
    std::string text;
    Values expected;
  };
  const Case cases[] = {
      {"1 2 3", {1, 2, 3}},
      {"-4,5;;-6\n", {-4, 5, -6}},
      {"", {}},
      {"no numbers - here", {}},
      {"a-1b--2 - 3", {-1, -2, 3}},
      {"x4294967296y", {0}},
      {"SAMPLE{2\n8\n9\n}", {2, 8, 9}},  // no frame: the count is a number too
  };
  for (const Case& c : cases) {
    SamplePtr sample = parse_list(c.text);
    ASSERT_NE(sample, nullptr) << c.text;
    EXPECT_EQ(values_of(sample.get()), c.expected) << c.text;
  }
  EXPECT_EQ(SAMPLE_parse_list(nullptr), nullptr);
}

}  // namespace
