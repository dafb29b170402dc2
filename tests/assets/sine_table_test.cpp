#include "show/assets/sine_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// The first quarter wave, rounded to nearest, with the two entries that sit
// one above the rounded value.
int32_t expected_first_quarter(int32_t i) {
  auto exact = 32767.0 * std::sin(2.0 * std::numbers::pi * i / 1024.0);
  auto rounded = static_cast<int32_t>(std::lround(exact));
  return (i == 129 || i == 183) ? rounded + 1 : rounded;
}

int32_t expected_entry(int32_t i) {
  if (i >= 512) return -expected_entry(i - 512);
  if (i >= 256) return expected_entry(255 - (i - 256));
  return expected_first_quarter(i);
}

TEST(SineTable, EveryEntryFollowsTheQuarterWaveRules) {
  for (int32_t i = 0; i < sine_length; ++i) {
    EXPECT_EQ(sine_table[i], expected_entry(i)) << "entry " << i;
  }
}

TEST(SineTable, LandmarksAndConstants) {
  EXPECT_EQ(sine_mask, 1023);
  EXPECT_EQ(sine_length, 1024);
  EXPECT_EQ(sine_table[0], 0);
  EXPECT_EQ(sine_table[129], 23312);
  EXPECT_EQ(sine_table[183], 29535);
  EXPECT_EQ(sine_table[255], 32766);
  EXPECT_EQ(sine_table[256], 32766);
  EXPECT_EQ(sine_table[511], 0);
  EXPECT_EQ(sine_table[767], -32766);
  EXPECT_EQ(sine_table[768], -32766);
}

}  // namespace
