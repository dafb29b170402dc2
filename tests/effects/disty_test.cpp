#include "effects/disty.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/handles.h"

namespace {

DistyPtr make_disty(int32_t size, int32_t base, int32_t base_step, int32_t offset,
                    int32_t offset_step) {
  DistyPtr disty(DISTY_create());
  DISTY_configure(disty.get(), size, base, base_step, offset, offset_step);
  return disty;
}

TEST(Disty, CreateGivesTheDefaultRing) {
  DistyPtr disty(DISTY_create());
  ASSERT_NE(disty, nullptr);
  EXPECT_EQ(disty->size, 1024);
  EXPECT_EQ(disty->value, 0);
  EXPECT_EQ(disty->base, 0);
  EXPECT_EQ(disty->base_step, 1);
  EXPECT_EQ(disty->offset, 0);
  EXPECT_EQ(disty->offset_step, 2);
}

using Operation = std::function<int32_t(DISTY*)>;

struct RingCase {
  std::string name;
  DISTY start;
  Operation operation;
  int32_t base;
  int32_t offset;
  int32_t value;
};

Operation set_base(int32_t v) {
  return [v](DISTY* d) { return DISTY_set_base(d, v); };
}
Operation set_offset(int32_t v) {
  return [v](DISTY* d) { return DISTY_set_offset(d, v); };
}
Operation restart(int32_t v) {
  return [v](DISTY* d) { return DISTY_restart(d, v); };
}

TEST(Disty, OperationsKeepPhasesOnTheRing) {
  // Start records: size, value (recomputed), base, base_step, offset, offset_step.
  const std::vector<RingCase> cases = {
      {"advance wraps past the end", {1024, 0, 1020, 6, 0, 2}, DISTY_advance, 2, 0, 2},
      {"advance backward wraps below zero", {1024, 0, 1, -3, 0, 2}, DISTY_advance, 1022, 0, 1022},
      {"advance by several rings", {10, 0, 3, 47, 0, 2}, DISTY_advance, 0, 0, 0},
      {"set_base -1", {1024, 0, 0, 1, 0, 2}, set_base(-1), 1023, 0, 1023},
      {"set_base -1024 keeps the full ring", {1024, 0, 0, 1, 5, 2}, set_base(-1024), 1024, 5, 5},
      {"set_base above the ring", {1024, 0, 0, 1, 0, 2}, set_base(2050), 2, 0, 2},
      {"set_offset folds only the value", {1024, 0, 1000, 1, 0, 2}, set_offset(100), 1000, 100, 76},
      {"large negative offset", {1024, 0, 7, 1, 0, 2}, set_offset(INT32_MIN), 7, INT32_MIN, 7},
      {"negative offset, odd ring", {100, 0, 10, 1, 0, 2}, set_offset(-2345), 10, -2345, 65},
      {"advance_offset, no fold", {100, 0, 90, 1, 5, 20}, DISTY_advance_offset, 90, 25, 15},
      {"restart clears the offset", {1024, 0, 3, 1, 400, 2}, restart(1030), 6, 0, 6},
  };
  for (const RingCase& c : cases) {
    DISTY disty = c.start;
    const int32_t returned = c.operation(&disty);
    EXPECT_EQ(disty.base, c.base) << c.name;
    EXPECT_EQ(disty.offset, c.offset) << c.name;
    EXPECT_EQ(disty.value, c.value) << c.name;
    EXPECT_EQ(returned, c.value) << c.name;
  }
}

TEST(Disty, OffsetStepsCountColumnsFromTheBase) {
  DistyPtr disty = make_disty(1024, 1022, 1, 77, 1);
  DISTY_set_offset(disty.get(), 0);
  DISTY_advance_offset(disty.get());
  DISTY_advance_offset(disty.get());
  EXPECT_EQ(DISTY_advance_offset(disty.get()), 1);  // (1022 + 3) mod 1024
  EXPECT_EQ(disty->offset, 3);
}

TEST(Disty, SetSizeRefitsTheBase) {
  DistyPtr disty = make_disty(1024, 250, 1, 0, 2);
  DISTY_set_size(disty.get(), 100);
  EXPECT_EQ(disty->size, 100);
  EXPECT_EQ(disty->base, 50);
  EXPECT_EQ(disty->value, 50);
}

TEST(Disty, ConfigureSetsEveryField) {
  DistyPtr disty = make_disty(100, 250, 7, -3, 4);
  EXPECT_EQ(disty->size, 100);
  EXPECT_EQ(disty->base, 50);
  EXPECT_EQ(disty->base_step, 7);
  EXPECT_EQ(disty->offset, -3);
  EXPECT_EQ(disty->offset_step, 4);
  EXPECT_EQ(disty->value, 47);
}

TEST(Disty, ValueStaysInsideTheRingUnderExtremeSteps) {
  DistyPtr disty = make_disty(1000, 999, INT32_MAX, INT32_MAX - 5, INT32_MAX);
  for (int i = 0; i < 50; ++i) {
    const int32_t fast = DISTY_advance_offset(disty.get());
    const int32_t slow = DISTY_advance(disty.get());
    ASSERT_GE(fast, 0);
    ASSERT_LT(fast, 1000);
    ASSERT_GE(slow, 0);
    ASSERT_LT(slow, 1000);
    ASSERT_GE(disty->base, 0);
    ASSERT_LT(disty->base, 1000);
  }
}

TEST(Disty, RingOfSizeZeroRefusesToCount) {
  DistyPtr disty = make_disty(1024, 40, 3, 2, 1);
  DISTY_set_size(disty.get(), 0);
  ASSERT_EQ(disty->size, 0);
  const DISTY before = *disty;

  EXPECT_EQ(DISTY_set_base(disty.get(), 9), 0);
  EXPECT_EQ(DISTY_advance(disty.get()), 0);
  EXPECT_EQ(disty->base, before.base);
  EXPECT_EQ(disty->value, before.value);

  // The offset is still stored; only the value is refused.
  EXPECT_EQ(DISTY_set_offset(disty.get(), 11), 0);
  EXPECT_EQ(disty->offset, 11);
  EXPECT_EQ(DISTY_advance_offset(disty.get()), 0);
  EXPECT_EQ(disty->offset, 12);
  EXPECT_EQ(disty->value, before.value);
}

TEST(Disty, NegativeSizeChangesNothing) {
  DistyPtr disty = make_disty(64, 10, 1, 0, 2);
  DISTY_set_size(disty.get(), -5);
  EXPECT_EQ(disty->size, 64);
  EXPECT_EQ(disty->base, 10);
}

TEST(Disty, CloneAndCopyCarryTheSettings) {
  DistyPtr source = make_disty(300, 290, -7, 25, 3);
  DistyPtr clone(DISTY_clone(source.get()));
  ASSERT_NE(clone, nullptr);
  ASSERT_NE(clone.get(), source.get());
  EXPECT_EQ(clone->size, 300);
  EXPECT_EQ(clone->base, 290);
  EXPECT_EQ(clone->base_step, -7);
  EXPECT_EQ(clone->offset, 25);
  EXPECT_EQ(clone->offset_step, 3);
  EXPECT_EQ(clone->value, 15);
  DISTY_advance(source.get());
  EXPECT_EQ(clone->base, 290) << "a clone is independent of its source";

  // The destination's old value lies outside the copied ring; it must not survive.
  DistyPtr destination = make_disty(1024, 900, 1, 0, 2);
  DISTY_copy(source.get(), destination.get());
  EXPECT_EQ(destination->size, 300);
  EXPECT_EQ(destination->base, 283);
  EXPECT_EQ(destination->base_step, -7);
  EXPECT_EQ(destination->offset, 25);
  EXPECT_EQ(destination->offset_step, 3);
  EXPECT_EQ(destination->value, 8);
}

TEST(Disty, NullArgumentsAreRefused) {
  EXPECT_EQ(DISTY_clone(nullptr), nullptr);
  EXPECT_EQ(DISTY_set_base(nullptr, 4), 0);
  EXPECT_EQ(DISTY_advance(nullptr), 0);
  EXPECT_EQ(DISTY_set_offset(nullptr, 4), 0);
  EXPECT_EQ(DISTY_advance_offset(nullptr), 0);
  EXPECT_EQ(DISTY_restart(nullptr, 4), 0);
  DistyPtr disty = make_disty(50, 5, 1, 0, 2);
  DISTY_copy(nullptr, disty.get());
  DISTY_copy(disty.get(), nullptr);
  DISTY_configure(nullptr, 1, 1, 1, 1, 1);
  DISTY_set_size(nullptr, 10);
  EXPECT_EQ(disty->size, 50);
  EXPECT_EQ(disty->base, 5);

  DISTY* handle = DISTY_create();
  DISTY_destroy(&handle);
  EXPECT_EQ(handle, nullptr);
  DISTY_destroy(&handle);  // a second destroy through the same handle is refused
  DISTY_destroy(nullptr);
}

}  // namespace
