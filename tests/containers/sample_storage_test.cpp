#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "containers/sample.h"
#include "tests/containers/sample_helpers.h"
#include "tests/support/module_ids.h"

namespace {

TEST(SampleId, NamesModuleDateAuthorLanguageKind) {
  expect_module_id(SAMPLE_id, {"SAMPLE  ", "20101019", "Kadwelon", "C       ", "CODE    "});
}

TEST(SampleCreate, StartsEmptyWithThirtyTwoZeroSlots) {
  SamplePtr sample(SAMPLE_create());
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->length, 0);
  ASSERT_EQ(sample->capacity, 32);
  for (int32_t i = 0; i < 32; ++i) {
    EXPECT_EQ(sample->values[i], 0) << i;
  }
}

TEST(SampleDestroy, ClearsTheHandleAndRefusesNulls) {
  SAMPLE* sample = SAMPLE_create();
  SAMPLE_destroy(&sample);
  EXPECT_EQ(sample, nullptr);
  SAMPLE_destroy(&sample);  // a null handle is refused, not freed twice
  SAMPLE_destroy(nullptr);
  EXPECT_EQ(sample, nullptr);
}

TEST(SampleSetLength, GrowsExactlyWithZeros) {
  SamplePtr sample(SAMPLE_create());
  SAMPLE_set_length(sample.get(), 100);
  EXPECT_EQ(sample->length, 100);
  EXPECT_EQ(sample->capacity, 100);
  EXPECT_EQ(values_of(sample.get()), std::vector<int32_t>(100, 0));
}

TEST(SampleSetLength, ShorteningKeepsOldValuesInTheSlots) {
  SamplePtr sample = make_sample({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  SAMPLE_set_length(sample.get(), 0);
  EXPECT_EQ(sample->length, 0);
  SAMPLE_set_length(sample.get(), 10);
  EXPECT_EQ(values_of(sample.get()), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(sample->capacity, 32);
}

TEST(SampleSetLength, RefusesNegativeCountsAndRecordsWithoutArray) {
  SamplePtr sample = make_sample({4, 5});
  const SampleState before(sample.get());
  SAMPLE_set_length(sample.get(), -1);
  EXPECT_EQ(SampleState(sample.get()), before);
  SAMPLE_set_length(nullptr, 3);

  SAMPLE bare{0, 0, nullptr};
  SAMPLE_set_length(&bare, 0);
  EXPECT_EQ(bare.length, 0);
  SAMPLE_set_length(&bare, 5);  // no array to lengthen into
  EXPECT_EQ(bare.length, 0);
  EXPECT_EQ(bare.values, nullptr);
}

TEST(SampleSetCapacity, ShrinkingTruncatesAndGrowingZeroFills) {
  SamplePtr sample = make_sample({1, 2, 3, 4, 5});
  SAMPLE_set_capacity(sample.get(), 3);
  EXPECT_EQ(sample->capacity, 3);
  EXPECT_EQ(values_of(sample.get()), (std::vector<int32_t>{1, 2, 3}));
  SAMPLE_set_capacity(sample.get(), 6);
  EXPECT_EQ(sample->capacity, 6);
  EXPECT_EQ(sample->length, 3);
  SAMPLE_set_length(sample.get(), 6);
  EXPECT_EQ(values_of(sample.get()), (std::vector<int32_t>{1, 2, 3, 0, 0, 0}));
}

TEST(SampleSetCapacity, RefusesCountsBelowOne) {
  SamplePtr sample = make_sample({1, 2});
  const SampleState before(sample.get());
  for (int32_t count : {0, -1, INT32_MIN}) {
    SAMPLE_set_capacity(sample.get(), count);
    EXPECT_EQ(SampleState(sample.get()), before) << count;
  }
}

TEST(SampleClear, ZeroesOnlyTheValuesInUse) {
  SamplePtr sample = make_sample({7, 8, 9});
  SAMPLE_set_length(sample.get(), 2);
  SAMPLE_clear(sample.get());
  SAMPLE_set_length(sample.get(), 3);
  EXPECT_EQ(values_of(sample.get()), (std::vector<int32_t>{0, 0, 9}));
}

TEST(SampleClone, CopiesValuesWithCapacityOfTheLength) {
  SamplePtr source = make_sample({3, -7, 11});
  SamplePtr clone(SAMPLE_clone(source.get()));
  ASSERT_NE(clone, nullptr);
  EXPECT_NE(clone->values, source->values);
  EXPECT_EQ(clone->capacity, 3);
  EXPECT_EQ(values_of(clone.get()), values_of(source.get()));

  SamplePtr empty(SAMPLE_create());
  SamplePtr empty_clone(SAMPLE_clone(empty.get()));
  ASSERT_NE(empty_clone, nullptr);
  EXPECT_EQ(empty_clone->length, 0);
  EXPECT_EQ(empty_clone->capacity, 32);

  EXPECT_EQ(SAMPLE_clone(nullptr), nullptr);
  SAMPLE bare{0, 0, nullptr};
  EXPECT_EQ(SAMPLE_clone(&bare), nullptr);
}

TEST(SampleEqual, ComparesLengthAndValuesInUse) {
  SamplePtr a = make_sample({1, 2, 3});
  SamplePtr b = make_sample({1, 2, 3});
  SamplePtr shorter = make_sample({1, 2});
  SamplePtr different = make_sample({1, 2, 4});
  SamplePtr empty_a(SAMPLE_create());
  SamplePtr empty_b(SAMPLE_create());
  EXPECT_EQ(SAMPLE_equal(a.get(), b.get()), 1);
  EXPECT_EQ(SAMPLE_equal(a.get(), shorter.get()), 0);
  EXPECT_EQ(SAMPLE_equal(a.get(), different.get()), 0);
  EXPECT_EQ(SAMPLE_equal(empty_a.get(), empty_b.get()), 1);
  EXPECT_EQ(SAMPLE_equal(a.get(), nullptr), 0);
  EXPECT_EQ(SAMPLE_equal(nullptr, nullptr), 0);

  // Slots beyond the length do not take part.
  SAMPLE_set(b.get(), 99, 2);
  SAMPLE_set_length(b.get(), 2);
  EXPECT_EQ(SAMPLE_equal(b.get(), shorter.get()), 1);
}

TEST(SampleGetSet, IndicesOutsideTheLengthAreRefused) {
  SamplePtr sample = make_sample({10, 20, 30});
  SAMPLE_set_length(sample.get(), 2);
  struct Case {
    int32_t index;
    int32_t expected;
  };
  for (const Case& c : {Case{0, 10}, Case{1, 20}, Case{2, 0}, Case{-1, 0}, Case{INT32_MAX, 0}}) {
    EXPECT_EQ(SAMPLE_get(sample.get(), c.index), c.expected) << c.index;
  }
  SAMPLE_set(sample.get(), 5, 1);
  EXPECT_EQ(SAMPLE_get(sample.get(), 1), 5);
  const SampleState before(sample.get());
  SAMPLE_set(sample.get(), 5, 2);
  SAMPLE_set(sample.get(), 5, -1);
  EXPECT_EQ(SampleState(sample.get()), before);
  EXPECT_EQ(sample->values[2], 30);
  EXPECT_EQ(SAMPLE_get(nullptr, 0), 0);
}

TEST(SampleFind, SearchesFromStart) {
  SamplePtr sample = make_sample({4, 9, 4, 7});
  struct Case {
    int32_t value;
    int32_t start;
    int32_t expected;
  };
  const Case cases[] = {{4, 0, 0},  {4, 1, 2},   {4, 3, -1}, {7, 0, 3},
                        {5, 0, -1}, {4, -1, -1}, {4, 4, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(SAMPLE_find(sample.get(), c.value, c.start), c.expected)
        << c.value << " from " << c.start;
  }
  EXPECT_EQ(SAMPLE_find(nullptr, 4, 0), -1);
}

TEST(SampleInsert, PlacesValueAndShiftsTheRest) {
  SamplePtr sample = make_sample({1, 2, 3});
  SAMPLE_insert(sample.get(), 9, 0);
  SAMPLE_insert(sample.get(), 8, 2);
  SAMPLE_insert(sample.get(), 7, 5);
  EXPECT_EQ(values_of(sample.get()), (std::vector<int32_t>{9, 1, 8, 2, 3, 7}));
  const SampleState before(sample.get());
  SAMPLE_insert(sample.get(), 6, 7);
  SAMPLE_insert(sample.get(), 6, -1);
  EXPECT_EQ(SampleState(sample.get()), before);
}

TEST(SampleInsert, DoublesCapacityWhenFull) {
  SamplePtr sample(SAMPLE_create());
  std::vector<int32_t> capacities;
  for (int32_t i = 0; i < 65; ++i) {
    SAMPLE_insert(sample.get(), i, sample->length);
    capacities.push_back(sample->capacity);
  }
  EXPECT_EQ(capacities[31], 32);
  EXPECT_EQ(capacities[32], 64);
  EXPECT_EQ(capacities[63], 64);
  EXPECT_EQ(capacities[64], 128);
  for (int32_t i = 0; i < 65; ++i) {
    ASSERT_EQ(sample->values[i], i);
  }
}

// A record whose sizes are at the 32-bit limit but whose array is small;
// refusals must happen before anything touches the array.
struct HugeRecord : testing::Test {
  int32_t storage[4] = {1, 2, 3, 4};
  SAMPLE record{0, 0, storage};

  void expect_untouched(int32_t length, int32_t capacity) {
    EXPECT_EQ(record.length, length);
    EXPECT_EQ(record.capacity, capacity);
    EXPECT_EQ(record.values, storage);
    EXPECT_EQ(std::vector<int32_t>(storage, storage + 4), (std::vector<int32_t>{1, 2, 3, 4}));
  }
};

TEST_F(HugeRecord, InsertRefusesALengthThatCannotGrow) {
  record.length = INT32_MAX;
  record.capacity = INT32_MAX;
  SAMPLE_insert(&record, 5, 0);
  expect_untouched(INT32_MAX, INT32_MAX);
}

TEST_F(HugeRecord, InsertRefusesACapacityThatCannotDouble) {
  record.length = (1 << 30) + 1;
  record.capacity = (1 << 30) + 1;
  SAMPLE_insert(&record, 5, 0);
  expect_untouched((1 << 30) + 1, (1 << 30) + 1);
}

TEST_F(HugeRecord, InsertVectorRefusesASumBeyondThirtyTwoBits) {
  record.length = INT32_MAX - 1;
  record.capacity = INT32_MAX - 1;
  SamplePtr source = make_sample({7, 8});
  SAMPLE_insert_vector(&record, source.get(), 0);
  expect_untouched(INT32_MAX - 1, INT32_MAX - 1);
}

TEST(SampleRemove, ClosesTheGap) {
  SamplePtr sample = make_sample({1, 2, 3, 4});
  SAMPLE_remove(sample.get(), 1);
  EXPECT_EQ(values_of(sample.get()), (std::vector<int32_t>{1, 3, 4}));
  SAMPLE_remove(sample.get(), 2);
  EXPECT_EQ(values_of(sample.get()), (std::vector<int32_t>{1, 3}));
  const SampleState before(sample.get());
  SAMPLE_remove(sample.get(), 2);
  SAMPLE_remove(sample.get(), -1);
  EXPECT_EQ(SampleState(sample.get()), before);
}

TEST(SampleMinMax, OverValuesInUseAndZeroWhenEmpty) {
  SamplePtr sample = make_sample({5, -3, 12, 0, INT32_MIN});
  SAMPLE_set_length(sample.get(), 4);  // the hidden INT32_MIN must not count
  EXPECT_EQ(SAMPLE_min(sample.get()), -3);
  EXPECT_EQ(SAMPLE_max(sample.get()), 12);
  SamplePtr negatives = make_sample({-5, -9});
  EXPECT_EQ(SAMPLE_max(negatives.get()), -5);
  SamplePtr empty(SAMPLE_create());
  SAMPLE_set(empty.get(), 0, 0);
  empty->values[0] = 44;  // a stale slot is not a value in use
  EXPECT_EQ(SAMPLE_min(empty.get()), 0);
  EXPECT_EQ(SAMPLE_max(empty.get()), 0);
  EXPECT_EQ(SAMPLE_min(nullptr), 0);
}

TEST(SampleReverse, ReversesValuesInUse) {
  SamplePtr sample = make_sample({1, 2, 3, 4, 5});
  SAMPLE_set_length(sample.get(), 4);
  SAMPLE_reverse(sample.get());
  EXPECT_EQ(values_of(sample.get()), (std::vector<int32_t>{4, 3, 2, 1}));
  EXPECT_EQ(sample->values[4], 5);
}

}  // namespace
