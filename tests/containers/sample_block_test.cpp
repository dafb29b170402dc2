#include <gtest/gtest.h>

#include <vector>

#include "containers/sample.h"
#include "tests/containers/sample_helpers.h"

namespace {

using Values = std::vector<int32_t>;

// Reference for a copy within one vector: every value read before any is
// written, as if through a temporary.
Values copied_through_temporary(Values values, int32_t count, int32_t from, int32_t to) {
  const Values run(values.begin() + from, values.begin() + from + count);
  std::copy(run.begin(), run.end(), values.begin() + to);
  return values;
}

TEST(SampleCopyRange, WithinOneVectorInEitherDirection) {
  const Values start{1, 2, 3, 4, 5, 6, 7, 8};
  struct Case {
    int32_t count, from, to;
  };
  // Overlapping up, overlapping down, adjacent, disjoint, whole, single.
  const Case cases[] = {{7, 0, 1}, {5, 0, 3}, {7, 1, 0}, {4, 4, 1},
                        {4, 0, 4}, {3, 5, 0}, {8, 0, 0}, {1, 7, 0}};
  for (const Case& c : cases) {
    SamplePtr sample = make_sample(start);
    SAMPLE_copy_range(sample.get(), sample.get(), c.count, c.from, c.to);
    EXPECT_EQ(values_of(sample.get()), copied_through_temporary(start, c.count, c.from, c.to))
        << c.count << " from " << c.from << " to " << c.to;
  }
}

TEST(SampleCopyRange, MovingUpByOneMatchesOneByOneFromTheEnd) {
  SamplePtr sample = make_sample({1, 2, 3, 4, 5});
  SAMPLE_copy_range(sample.get(), sample.get(), 4, 0, 1);
  EXPECT_EQ(values_of(sample.get()), (Values{1, 1, 2, 3, 4}));
}

TEST(SampleCopyRange, BetweenVectors) {
  SamplePtr source = make_sample({1, 2, 3});
  SamplePtr destination = make_sample({0, 0, 0, 0});
  SAMPLE_copy_range(source.get(), destination.get(), 2, 1, 2);
  EXPECT_EQ(values_of(destination.get()), (Values{0, 0, 2, 3}));
}

TEST(SampleCopyRange, RefusesRunsOutsideEitherVector) {
  struct Case {
    int32_t count, from, to;
  };
  const Case refused[] = {{4, 0, 0},  {2, 2, 0},  {3, 0, 2},         {1, -1, 0},
                          {1, 0, -1}, {-1, 0, 0}, {INT32_MAX, 1, 1}, {1, INT32_MAX, 0}};
  SamplePtr source = make_sample({1, 2, 3});
  SamplePtr destination = make_sample({7, 8, 9, 10});
  SAMPLE_set_length(destination.get(), 3);
  const SampleState before(destination.get());
  for (const Case& c : refused) {
    SAMPLE_copy_range(source.get(), destination.get(), c.count, c.from, c.to);
    EXPECT_EQ(SampleState(destination.get()), before)
        << c.count << " from " << c.from << " to " << c.to;
  }
  SAMPLE_copy_range(source.get(), destination.get(), 0, 3, 3);  // empty run at the end
  SAMPLE_copy_range(nullptr, destination.get(), 1, 0, 0);
  EXPECT_EQ(SampleState(destination.get()), before);
  EXPECT_EQ(destination->values[3], 10);
}

TEST(SampleInsertVector, SplicesAndSetsExactCapacity) {
  struct Case {
    Values destination, source;
    int32_t index;
    Values expected;
  };
  const Case cases[] = {
      {{1, 2, 3}, {8, 9}, 0, {8, 9, 1, 2, 3}},
      {{1, 2, 3}, {8, 9}, 1, {1, 8, 9, 2, 3}},
      {{1, 2, 3}, {8, 9}, 3, {1, 2, 3, 8, 9}},
      {{}, {8, 9}, 0, {8, 9}},
      {{1, 2}, {}, 1, {1, 2}},
  };
  for (const Case& c : cases) {
    SamplePtr destination = make_sample(c.destination);
    SamplePtr source = make_sample(c.source);
    SAMPLE_insert_vector(destination.get(), source.get(), c.index);
    EXPECT_EQ(values_of(destination.get()), c.expected) << c.index;
    EXPECT_EQ(destination->capacity, static_cast<int32_t>(c.expected.size()));
    EXPECT_EQ(values_of(source.get()), c.source);
  }
}

TEST(SampleInsertVector, IntoItself) {
  SamplePtr sample = make_sample({1, 2, 3});
  SAMPLE_insert_vector(sample.get(), sample.get(), 1);
  EXPECT_EQ(values_of(sample.get()), (Values{1, 1, 2, 3, 2, 3}));
}

TEST(SampleInsertVector, RefusesAnIndexBeyondTheLength) {
  SamplePtr destination = make_sample({1, 2, 3});
  SamplePtr source = make_sample({8, 9});
  const SampleState before(destination.get());
  for (int32_t index : {4, -1, INT32_MAX}) {
    SAMPLE_insert_vector(destination.get(), source.get(), index);
    EXPECT_EQ(SampleState(destination.get()), before) << index;
  }
  SAMPLE_insert_vector(destination.get(), nullptr, 0);
  EXPECT_EQ(SampleState(destination.get()), before);
}

TEST(SampleSlice, ClampsBoundsAndRefusesReversedOnes) {
  SamplePtr sample = make_sample({10, 20, 30, 40});
  struct Case {
    int32_t from, to;
    Values expected;
  };
  const Case cases[] = {
      {1, 3, {20, 30}}, {-5, 2, {10, 20}}, {2, 99, {30, 40}}, {0, 4, {10, 20, 30, 40}},
      {2, 2, {}},       {6, 9, {}},        {-9, -4, {}},
  };
  for (const Case& c : cases) {
    SamplePtr slice(SAMPLE_slice(sample.get(), c.from, c.to));
    ASSERT_NE(slice, nullptr) << c.from << ".." << c.to;
    EXPECT_EQ(values_of(slice.get()), c.expected) << c.from << ".." << c.to;
    EXPECT_NE(slice->values, sample->values);
  }
  EXPECT_EQ(SAMPLE_slice(sample.get(), 3, 2), nullptr);
  EXPECT_EQ(SAMPLE_slice(nullptr, 0, 1), nullptr);
}

TEST(SampleRotate, BothDirectionsAnyAmount) {
  struct Case {
    int32_t amount;
    Values right, left;
  };
  const Case cases[] = {
      {0, {1, 2, 3}, {1, 2, 3}},  {1, {3, 1, 2}, {2, 3, 1}},         {2, {2, 3, 1}, {3, 1, 2}},
      {3, {1, 2, 3}, {1, 2, 3}},  {4, {3, 1, 2}, {2, 3, 1}},         {-1, {2, 3, 1}, {3, 1, 2}},
      {-5, {3, 1, 2}, {2, 3, 1}}, {INT32_MIN, {3, 1, 2}, {2, 3, 1}},  // -2147483648 = 1 mod 3
  };
  for (const Case& c : cases) {
    SamplePtr right = make_sample({1, 2, 3});
    SamplePtr left = make_sample({1, 2, 3});
    SAMPLE_rotate_right(right.get(), c.amount);
    SAMPLE_rotate_left(left.get(), c.amount);
    EXPECT_EQ(values_of(right.get()), c.right) << c.amount;
    EXPECT_EQ(values_of(left.get()), c.left) << c.amount;
  }
}

TEST(SampleRotate, ReplacesTheArrayWithOneOfTheLengthOrThirtyTwo) {
  Values long_values(40);
  for (int32_t i = 0; i < 40; ++i) {
    long_values[i] = i;
  }
  SamplePtr sample = make_sample(long_values);
  ASSERT_EQ(sample->capacity, 64);
  SAMPLE_rotate_right(sample.get(), 39);
  EXPECT_EQ(sample->capacity, 40);
  EXPECT_EQ(SAMPLE_get(sample.get(), 0), 1);
  EXPECT_EQ(SAMPLE_get(sample.get(), 39), 0);

  SamplePtr short_one = make_sample({1, 2});
  SAMPLE_set_capacity(short_one.get(), 2);
  SAMPLE_rotate_left(short_one.get(), 1);
  EXPECT_EQ(short_one->capacity, 32);
  EXPECT_EQ(values_of(short_one.get()), (Values{2, 1}));
}

TEST(SampleRotate, EmptyVectorIsLeftAlone) {
  SamplePtr sample(SAMPLE_create());
  const SampleState before(sample.get());
  SAMPLE_rotate_right(sample.get(), 3);
  SAMPLE_rotate_left(sample.get(), -3);
  EXPECT_EQ(SampleState(sample.get()), before);
}

TEST(SampleResample, PicksWithoutInterpolation) {
  struct Case {
    Values input;
    int32_t new_length;
    Values expected;
  };
  const Case cases[] = {
      {{1, 2}, 4, {1, 1, 2, 2}},
      {{1, 2, 3, 4}, 2, {2, 4}},
      {{1, 2, 3}, 7, {1, 1, 2, 2, 3, 3, 3}},
      {{1, 2, 3, 4, 5, 6, 7}, 3, {3, 5, 7}},
      {{5}, 3, {5, 5, 5}},
      {{1, 2, 3}, 1, {3}},
      {{1, 2, 3, 4, 5}, 4, {2, 3, 4, 5}},
  };
  for (const Case& c : cases) {
    SamplePtr sample = make_sample(c.input);
    SAMPLE_resample(sample.get(), c.new_length);
    EXPECT_EQ(values_of(sample.get()), c.expected) << c.new_length;
    EXPECT_EQ(sample->capacity, c.new_length);
  }
}

TEST(SampleResample, RefusesSameLengthEmptyVectorsAndBadCounts) {
  SamplePtr sample = make_sample({1, 2, 3});
  const SampleState before(sample.get());
  for (int32_t length : {3, 0, -2}) {
    SAMPLE_resample(sample.get(), length);
    EXPECT_EQ(SampleState(sample.get()), before) << length;
  }
  SamplePtr empty(SAMPLE_create());
  const SampleState empty_before(empty.get());
  SAMPLE_resample(empty.get(), 4);
  EXPECT_EQ(SampleState(empty.get()), empty_before);
}

TEST(SampleMatchCount, CountsEqualValuesUnderTheOverlay) {
  SamplePtr a = make_sample({1, 2, 3, 2});
  SamplePtr b = make_sample({2, 3, 9});
  struct Case {
    int32_t offset, expected;
  };
  // Offsets -2 ... 3 are valid; 1 lays b[0] over a[1].
  const Case cases[] = {{-2, 0}, {-1, 0}, {0, 0}, {1, 2}, {2, 0}, {3, 1}, {-3, 0}, {4, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(SAMPLE_match_count(a.get(), b.get(), c.offset), c.expected) << c.offset;
  }
  SamplePtr c = make_sample({9, 1});
  EXPECT_EQ(SAMPLE_match_count(a.get(), c.get(), -1), 1);  // a[0] meets c[1]
  EXPECT_EQ(SAMPLE_match_count(nullptr, b.get(), 0), 0);
}

TEST(SampleBestOffset, GreatestCountSmallestOffsetOnTies) {
  struct Case {
    Values a, b;
    int32_t expected;
  };
  const Case cases[] = {
      {{4, 5, 6, 7}, {4, 5, 6, 7}, 0},
      {{1, 2, 3}, {7, 8}, -2},
      {{1, 2, 3, 4}, {3, 4}, 2},
      {{3, 4}, {1, 2, 3, 4}, -2},
      {{5, 1, 5}, {5}, 0},  // offsets 0 and 2 tie
      {{1, 2}, {}, 0},
  };
  for (const Case& c : cases) {
    SamplePtr a = make_sample(c.a);
    SamplePtr b = make_sample(c.b);
    EXPECT_EQ(SAMPLE_best_offset(a.get(), b.get()), c.expected);
  }
  SamplePtr a = make_sample({1});
  EXPECT_EQ(SAMPLE_best_offset(a.get(), nullptr), 0);
}

}  // namespace
