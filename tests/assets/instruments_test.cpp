// The compiled-in instrument table: sixteen records of 11025 values, each with
// the shape its row of the music generator's table gives.
#include "show/assets/instruments.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

struct Shape {
  int32_t lowest;
  int32_t highest;
  int32_t peak_index;    // first value of the largest magnitude
  int32_t tenth_index;   // last value of at least a tenth of that magnitude
  int32_t sign_changes;  // between adjacent non-zero values, zeros skipped
};

// The table the instruments are made to.
const Shape expected[instrument_count] = {
    {-9885, 10054, 436, 5681, 1710},   {-7474, 7890, 232, 7855, 714},
    {-4220, 4326, 2761, 9416, 2025},   {-18978, 21739, 1560, 6969, 74},
    {-18267, 18209, 2007, 5010, 1398}, {-14416, 13797, 432, 7345, 586},
    {-17164, 16405, 610, 6254, 570},   {-6277, 5448, 406, 10831, 2330},
    {-19028, 11324, 695, 4841, 444},   {-12116, 14426, 50, 4577, 685},
    {-11053, 13976, 544, 11001, 96},   {-10499, 13345, 346, 5160, 199},
    {-6070, 7198, 596, 10354, 505},    {-5743, 5444, 187, 4698, 1394},
    {-17616, 13152, 574, 6636, 315},   {-14997, 12150, 235, 4866, 703},
};

Shape measure(const SAMPLE& s) {
  Shape shape{0, 0, 0, 0, 0};
  int32_t largest = -1;
  int32_t previous_sign = 0;
  for (int32_t i = 0; i < s.length; ++i) {
    int32_t v = s.values[i];
    shape.lowest = std::min(shape.lowest, v);
    shape.highest = std::max(shape.highest, v);
    if (std::abs(v) > largest) {
      largest = std::abs(v);
      shape.peak_index = i;
    }
    if (v == 0) continue;
    int32_t sign = v > 0 ? 1 : -1;
    if (previous_sign != 0 && sign != previous_sign) ++shape.sign_changes;
    previous_sign = sign;
  }
  for (int32_t i = 0; i < s.length; ++i) {
    if (std::abs(s.values[i]) * 10 >= largest) shape.tenth_index = i;
  }
  return shape;
}

TEST(Instruments, SixteenRecordsOfTheFullLengthInTheSixteenBitRange) {
  ASSERT_EQ(instrument_count, 16);
  std::set<const int32_t*> arrays;
  for (int32_t k = 0; k < instrument_count; ++k) {
    const SAMPLE& s = instrument_table[k];
    ASSERT_EQ(s.length, 11025) << k;
    ASSERT_EQ(s.capacity, 11025) << k;
    ASSERT_NE(s.values, nullptr) << k;
    EXPECT_TRUE(arrays.insert(s.values).second) << "instrument " << k << " shares values";
    for (int32_t i = 0; i < s.length; ++i) {
      ASSERT_GE(s.values[i], -32768) << k << " at " << i;
      ASSERT_LE(s.values[i], 32767) << k << " at " << i;
    }
  }
}

TEST(Instruments, EachHasTheShapeOfItsRow) {
  for (int32_t k = 0; k < instrument_count; ++k) {
    SCOPED_TRACE("instrument " + std::to_string(k));
    Shape want = expected[k];
    Shape got = measure(instrument_table[k]);
    EXPECT_EQ(got.lowest, want.lowest);
    EXPECT_EQ(got.highest, want.highest);
    EXPECT_LE(std::abs(got.peak_index - want.peak_index), std::max(want.peak_index / 10, 50));
    EXPECT_LE(std::abs(got.tenth_index - want.tenth_index) * 20, want.tenth_index);
    EXPECT_LE(std::abs(got.sign_changes - want.sign_changes) * 10, want.sign_changes);
  }
}

TEST(Instruments, HitsPeakEarlyAndDieAwayByTheEnd) {
  int32_t largest = 0;
  for (int32_t k = 0; k < instrument_count; ++k) {
    const SAMPLE& s = instrument_table[k];
    Shape got = measure(s);
    int32_t peak = std::max(-got.lowest, got.highest);
    largest = std::max(largest, peak);
    EXPECT_LT(got.peak_index, 2778) << k << " peaks within 63 ms";
    EXPECT_LE(std::abs(s.values[s.length - 1]) * 100, peak) << k << " ends near silence";
  }
  EXPECT_EQ(largest, 21739);
}

TEST(Instruments, ReadingOperationsWorkOnTheCompiledInRecords) {
  for (int32_t k = 0; k < instrument_count; ++k) {
    EXPECT_EQ(SAMPLE_min(&instrument_table[k]), expected[k].lowest) << k;
    EXPECT_EQ(SAMPLE_max(&instrument_table[k]), expected[k].highest) << k;
  }
}

}  // namespace
