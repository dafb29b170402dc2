#include <gtest/gtest.h>

#include <vector>

#include "containers/sample.h"
#include "tests/containers/sample_helpers.h"

namespace {

using Values = std::vector<int32_t>;

TEST(SamplePairwise, OverTheShorterLengthWrapping) {
  struct Case {
    void (*operation)(SAMPLE*, const SAMPLE*);
    Values a, b, expected;
  };
  const Case cases[] = {
      {SAMPLE_add, {1, 2, 3}, {10, 20}, {11, 22, 3}},
      {SAMPLE_add, {1}, {10, 20}, {11}},
      {SAMPLE_add, {INT32_MAX, INT32_MIN}, {1, -1}, {INT32_MIN, INT32_MAX}},
      {SAMPLE_multiply_each, {2, -3, 4}, {5, 6}, {10, -18, 4}},
      {SAMPLE_multiply_each, {65536, INT32_MIN}, {65536, -1}, {0, INT32_MIN}},
  };
  for (const Case& c : cases) {
    SamplePtr a = make_sample(c.a);
    SamplePtr b = make_sample(c.b);
    c.operation(a.get(), b.get());
    EXPECT_EQ(values_of(a.get()), c.expected);
    EXPECT_EQ(values_of(b.get()), c.b);
  }
}

TEST(SamplePairwise, AVectorWithItself) {
  SamplePtr sample = make_sample({3, -4});
  SAMPLE_add(sample.get(), sample.get());
  EXPECT_EQ(values_of(sample.get()), (Values{6, -8}));
  SAMPLE_multiply_each(sample.get(), sample.get());
  EXPECT_EQ(values_of(sample.get()), (Values{36, 64}));
  SAMPLE_add(sample.get(), nullptr);
  EXPECT_EQ(values_of(sample.get()), (Values{36, 64}));
}

TEST(SampleMultiply, WrapsModulo32Bits) {
  SamplePtr sample = make_sample({3, -7, 0x40000000, INT32_MIN});
  SAMPLE_multiply(sample.get(), 4);
  EXPECT_EQ(values_of(sample.get()), (Values{12, -28, 0, 0}));
  SamplePtr negated = make_sample({5, INT32_MIN});
  SAMPLE_multiply(negated.get(), -1);
  EXPECT_EQ(values_of(negated.get()), (Values{-5, INT32_MIN}));
}

TEST(SampleShift, ArithmeticRightAndWrappingLeft) {
  struct Case {
    void (*operation)(SAMPLE*, int32_t);
    int32_t count;
    Values expected;
  };
  const Values start{-5, 5, INT32_MIN, 0x40000001};
  const Case cases[] = {
      {SAMPLE_shift_right, 1, {-3, 2, -0x40000000, 0x20000000}},
      {SAMPLE_shift_right, 31, {-1, 0, -1, 0}},
      {SAMPLE_shift_right, 0, start},
      {SAMPLE_shift_right, 32, start},  // taken modulo 32
      {SAMPLE_shift_left, 1, {-10, 10, 0, INT32_MIN + 2}},
      {SAMPLE_shift_left, 31, {INT32_MIN, INT32_MIN, 0, INT32_MIN}},
      {SAMPLE_shift_left, 32, start},
      {SAMPLE_shift_right, 33, start},  // refused
      {SAMPLE_shift_left, -1, start},   // refused
  };
  for (const Case& c : cases) {
    SamplePtr sample = make_sample(start);
    c.operation(sample.get(), c.count);
    EXPECT_EQ(values_of(sample.get()), c.expected) << c.count;
  }
}

TEST(SampleRescale, MapsMinimumOntoLowAndMaximumOntoHigh) {
  struct Case {
    Values input;
    int32_t low, high;
    Values expected;
  };
  const Case cases[] = {
      {{0, 5, 10}, 0, 100, {0, 50, 100}},
      {{-10, 0, 10}, 0, 4, {0, 2, 4}},
      {{0, 1, 2, 3}, 0, 2, {0, 0, 1, 2}},  // truncation towards low
      {{0, 5, 10}, 100, 0, {100, 50, 0}},  // high below low turns it round
      {{INT32_MIN, 0, INT32_MAX}, 0, 2, {0, 1, 2}},
      {{INT32_MIN, INT32_MAX}, INT32_MIN, INT32_MAX, {INT32_MIN, INT32_MAX}},
      {{1, 2}, -1, -1, {-1, -1}},
  };
  for (const Case& c : cases) {
    SamplePtr sample = make_sample(c.input);
    SAMPLE_rescale(sample.get(), c.low, c.high);
    EXPECT_EQ(values_of(sample.get()), c.expected) << c.low << ".." << c.high;
  }
}

TEST(SampleRescale, AllEqualValuesLandOnLow) {
  SamplePtr sample = make_sample({7, 7, 7});
  SAMPLE_rescale(sample.get(), -3, 9);
  EXPECT_EQ(values_of(sample.get()), (Values{-3, -3, -3}));
  SamplePtr empty(SAMPLE_create());
  SAMPLE_rescale(empty.get(), 1, 2);
  EXPECT_EQ(empty->length, 0);
}

}  // namespace
