#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "containers/array.h"
#include "tests/support/handles.h"
#include "tests/support/module_ids.h"
#include "tests/support/output_capture.h"

namespace {

// Distinct handles to store; the array never looks behind them.
struct Handles : testing::Test {
  int objects[8] = {};
  void* A = &objects[0];
  void* B = &objects[1];
  void* C = &objects[2];
  void* P = &objects[3];
  void* Q = &objects[4];
  void* R = &objects[5];
  void* X = &objects[6];

  static ArrayPtr make(const std::vector<void*>& items) {
    ArrayPtr array(ARRAY_create());
    for (void* item : items) {
      ARRAY_push(array.get(), item);
    }
    return array;
  }

  static std::vector<void*> items_of(const ARRAY* array) {
    return std::vector<void*>(array->items, array->items + array->length);
  }
};

// Everything a refused call must leave alone.
struct ArrayState {
  int32_t capacity;
  int32_t length;
  void* const* items;
  std::vector<void*> contents;

  explicit ArrayState(const ARRAY* array)
      : capacity(array->capacity),
        length(array->length),
        items(array->items),
        contents(array->items, array->items + array->capacity) {}

  bool operator==(const ArrayState&) const = default;
};

TEST(ArrayId, NamesModuleDateAuthorLanguageKind) {
  expect_module_id(ARRAY_id, {"ARRAY   ", "20101011", "Kadwelon", "C       ", "CODE    "});
}

// The report switch is module state: every test leaves it off.
struct ArrayErrorReport : testing::Test {
  void TearDown() override { ARRAY_set_error_report(0); }
};

TEST_F(ArrayErrorReport, PrintsTheLineOnlyWhileOn) {
  expect_error_line_only_while_on(ARRAY_error, ARRAY_set_error_report, "ARRAY error\n");
}

TEST_F(ArrayErrorReport, RefusedCallsReportAndGoodCallsDoNot) {
  ARRAY_set_error_report(1);
  EXPECT_EQ(printed_by([] { EXPECT_EQ(ARRAY_pop(nullptr), nullptr); }), "ARRAY error\n");
  EXPECT_EQ(printed_by([] {
              ArrayPtr array(ARRAY_create());
              EXPECT_EQ(ARRAY_get(array.get(), 0), nullptr);
              EXPECT_EQ(ARRAY_find(array.get(), nullptr), -1);
            }),
            "ARRAY error\nARRAY error\n");
  EXPECT_EQ(printed_by([] {
              ArrayPtr array(ARRAY_create());
              ARRAY_push(array.get(), nullptr);
              EXPECT_EQ(ARRAY_equal(nullptr, array.get()), 0);  // never reports
              EXPECT_EQ(ARRAY_to_text(array.get()), nullptr);
              EXPECT_EQ(ARRAY_from_text("[]"), nullptr);
            }),
            "");
  EXPECT_EQ(printed_by([] {
              EXPECT_EQ(ARRAY_to_text(nullptr), nullptr);
              EXPECT_EQ(ARRAY_from_text(nullptr), nullptr);
            }),
            "ARRAY error\nARRAY error\n");
}

TEST_F(Handles, CreateStartsWithTwoZeroSlots) {
  ArrayPtr array(ARRAY_create());
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(array->capacity, 2);
  EXPECT_EQ(array->length, 0);
  EXPECT_EQ(array->items[0], nullptr);
  EXPECT_EQ(array->items[1], nullptr);
}

TEST_F(Handles, DestroyClearsTheHandleAndRefusesNulls) {
  ARRAY* array = ARRAY_create();
  ARRAY_push(array, A);
  ARRAY_destroy(&array);
  EXPECT_EQ(array, nullptr);
  ARRAY_destroy(&array);
  ARRAY_destroy(nullptr);
  EXPECT_EQ(array, nullptr);
}

TEST_F(Handles, PushDoublesWhenFull) {
  ArrayPtr array(ARRAY_create());
  std::vector<int32_t> capacities;
  for (int i = 0; i < 9; ++i) {
    ARRAY_push(array.get(), &objects[i % 8]);
    capacities.push_back(array->capacity);
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{2, 2, 4, 4, 8, 8, 8, 8, 16}));
  EXPECT_EQ(ARRAY_get(array.get(), 8), &objects[0]);
  EXPECT_EQ(ARRAY_get(array.get(), 7), &objects[7]);
}

TEST_F(Handles, PopReturnsTheLastAndRefusesEmpty) {
  ArrayPtr array = make({A, nullptr, B});
  EXPECT_EQ(ARRAY_pop(array.get()), B);
  EXPECT_EQ(ARRAY_pop(array.get()), nullptr);
  EXPECT_EQ(ARRAY_pop(array.get()), A);
  EXPECT_EQ(array->length, 0);
  EXPECT_EQ(ARRAY_pop(array.get()), nullptr);
  EXPECT_EQ(array->length, 0);
}

TEST_F(Handles, InsertAtAnyIndexUpToTheLength) {
  ArrayPtr array = make({A, B});
  ARRAY_insert(array.get(), X, 0);
  EXPECT_EQ(items_of(array.get()), (std::vector<void*>{X, A, B}));
  EXPECT_EQ(array->capacity, 4);
  ARRAY_insert(array.get(), C, 3);
  ARRAY_insert(array.get(), nullptr, 2);
  EXPECT_EQ(items_of(array.get()), (std::vector<void*>{X, A, nullptr, B, C}));
  EXPECT_EQ(array->capacity, 8);
  const ArrayState before(array.get());
  ARRAY_insert(array.get(), X, 6);
  ARRAY_insert(array.get(), X, -1);
  ARRAY_insert(nullptr, X, 0);
  EXPECT_EQ(ArrayState(array.get()), before);
}

TEST_F(Handles, RemoveFromTheFrontClearsTheVacatedSlot) {
  ArrayPtr array = make({A, B, C});
  ARRAY_remove(array.get(), 0);
  EXPECT_EQ(items_of(array.get()), (std::vector<void*>{B, C}));
  EXPECT_EQ(array->items[2], nullptr);
  const ArrayState before(array.get());
  ARRAY_remove(array.get(), 2);
  ARRAY_remove(array.get(), -1);
  EXPECT_EQ(ArrayState(array.get()), before);
}

TEST_F(Handles, UsedAsAQueue) {
  ArrayPtr queue(ARRAY_create());
  ARRAY_push(queue.get(), A);
  ARRAY_push(queue.get(), B);
  EXPECT_EQ(ARRAY_get(queue.get(), 0), A);
  ARRAY_remove(queue.get(), 0);
  ARRAY_push(queue.get(), C);
  EXPECT_EQ(ARRAY_get(queue.get(), 0), B);
  ARRAY_remove(queue.get(), 0);
  EXPECT_EQ(ARRAY_get(queue.get(), 0), C);
  ARRAY_remove(queue.get(), 0);
  EXPECT_EQ(queue->length, 0);
  EXPECT_EQ(ARRAY_get(queue.get(), 0), nullptr);
}

TEST_F(Handles, GetAndSetWithinTheLength) {
  ArrayPtr array = make({A, B});
  ARRAY_set(array.get(), C, 1);
  ARRAY_set(array.get(), nullptr, 0);
  EXPECT_EQ(items_of(array.get()), (std::vector<void*>{nullptr, C}));
  const ArrayState before(array.get());
  ARRAY_set(array.get(), X, 2);
  ARRAY_set(array.get(), X, -1);
  EXPECT_EQ(ArrayState(array.get()), before);
  EXPECT_EQ(ARRAY_get(array.get(), 2), nullptr);
  EXPECT_EQ(ARRAY_get(array.get(), -1), nullptr);
  EXPECT_EQ(ARRAY_get(nullptr, 0), nullptr);
}

TEST_F(Handles, FindGivesTheLowestIndex) {
  ArrayPtr array = make({A, B, A, nullptr});
  EXPECT_EQ(ARRAY_find(array.get(), A), 0);
  EXPECT_EQ(ARRAY_find(array.get(), B), 1);
  EXPECT_EQ(ARRAY_find(array.get(), C), -1);
  EXPECT_EQ(ARRAY_find(array.get(), nullptr), -1);
  EXPECT_EQ(ARRAY_find(nullptr, A), -1);
}

TEST_F(Handles, EqualComparesHandlesPositionByPosition) {
  ArrayPtr ab = make({A, B});
  ArrayPtr ab_again = make({A, B});
  ArrayPtr ba = make({B, A});
  ArrayPtr a = make({A});
  ArrayPtr empty = make({});
  ArrayPtr empty_again = make({});
  EXPECT_EQ(ARRAY_equal(nullptr, nullptr), 1);
  EXPECT_EQ(ARRAY_equal(ab.get(), nullptr), 0);
  EXPECT_EQ(ARRAY_equal(nullptr, ab.get()), 0);
  EXPECT_EQ(ARRAY_equal(ab.get(), ab.get()), 1);
  EXPECT_EQ(ARRAY_equal(ab.get(), ab_again.get()), 1);
  EXPECT_EQ(ARRAY_equal(ab.get(), ba.get()), 0);
  EXPECT_EQ(ARRAY_equal(ab.get(), a.get()), 0);
  EXPECT_EQ(ARRAY_equal(empty.get(), empty_again.get()), 1);
}

TEST_F(Handles, CloneKeepsOrderInItsOwnStorage) {
  ArrayPtr array = make({A, nullptr, B, C, A});
  ArrayPtr clone(ARRAY_clone(array.get()));
  ASSERT_NE(clone, nullptr);
  EXPECT_NE(clone->items, array->items);
  EXPECT_EQ(items_of(clone.get()), items_of(array.get()));
  EXPECT_EQ(clone->capacity, 8);
  ArrayPtr empty_clone(ARRAY_clone(make({}).get()));
  ASSERT_NE(empty_clone, nullptr);
  EXPECT_EQ(empty_clone->length, 0);
  EXPECT_EQ(ARRAY_clone(nullptr), nullptr);
}

TEST_F(Handles, SliceNeedsANonEmptyRunInside) {
  ArrayPtr array = make({A, B, C});
  ArrayPtr whole(ARRAY_slice(array.get(), 0, 3));
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(ARRAY_equal(whole.get(), array.get()), 1);
  EXPECT_NE(whole.get(), array.get());
  ArrayPtr middle(ARRAY_slice(array.get(), 1, 2));
  ASSERT_NE(middle, nullptr);
  EXPECT_EQ(items_of(middle.get()), (std::vector<void*>{B}));
  struct Case {
    int32_t from, to;
  };
  for (const Case& c : {Case{1, 1}, Case{2, 1}, Case{-1, 2}, Case{0, 4}}) {
    EXPECT_EQ(ARRAY_slice(array.get(), c.from, c.to), nullptr) << c.from << ".." << c.to;
  }
}

TEST_F(Handles, RemoveRangeClosesTheRun) {
  ArrayPtr array = make({A, B, C, P, Q});
  ARRAY_remove_range(array.get(), 1, 3);
  EXPECT_EQ(items_of(array.get()), (std::vector<void*>{A, P, Q}));
  ARRAY_remove_range(array.get(), 1, 3);
  EXPECT_EQ(items_of(array.get()), (std::vector<void*>{A}));
  const ArrayState before(array.get());
  ARRAY_remove_range(array.get(), 0, 0);
  ARRAY_remove_range(array.get(), 0, 2);
  ARRAY_remove_range(array.get(), -1, 1);
  EXPECT_EQ(ArrayState(array.get()), before);
}

TEST_F(Handles, InsertRangeSplicesAndGrowsByDoubling) {
  struct Case {
    std::vector<void*> source, destination;
    int32_t from, to, index;
    std::vector<void*> expected;
    int32_t capacity;
  };
  const Case cases[] = {
      {{P, Q, R}, {A, B}, 1, 2, 1, {A, Q, B}, 4},
      {{P, Q, R}, {A, B}, 0, 3, 0, {P, Q, R, A, B}, 8},
      {{P, Q, R}, {A, B}, 1, 3, 2, {A, B, Q, R}, 4},
      {{P, Q, R}, {}, 0, 3, 0, {P, Q, R}, 4},
  };
  for (const Case& c : cases) {
    ArrayPtr source = make(c.source);
    ArrayPtr destination = make(c.destination);
    ARRAY_insert_range(source.get(), destination.get(), c.from, c.to, c.index);
    EXPECT_EQ(items_of(destination.get()), c.expected);
    EXPECT_EQ(destination->capacity, c.capacity);
    EXPECT_EQ(items_of(source.get()), c.source);
  }
}

TEST_F(Handles, InsertRangeFromItself) {
  ArrayPtr array = make({A, B, C});
  ARRAY_insert_range(array.get(), array.get(), 0, 2, 1);
  EXPECT_EQ(items_of(array.get()), (std::vector<void*>{A, A, B, B, C}));
  // The run lies after the index, so opening the gap moves it.
  ArrayPtr moved = make({A, B, C});
  ARRAY_insert_range(moved.get(), moved.get(), 1, 3, 0);
  EXPECT_EQ(items_of(moved.get()), (std::vector<void*>{B, C, A, B, C}));
}

TEST_F(Handles, InsertRangeRefusesBadRunsAndIndices) {
  ArrayPtr source = make({P, Q, R});
  ArrayPtr destination = make({A, B});
  const ArrayState before(destination.get());
  struct Case {
    int32_t from, to, index;
  };
  const Case cases[] = {{1, 1, 0}, {2, 1, 0}, {-1, 1, 0}, {0, 4, 0}, {0, 1, 3}, {0, 1, -1}};
  for (const Case& c : cases) {
    ARRAY_insert_range(source.get(), destination.get(), c.from, c.to, c.index);
    EXPECT_EQ(ArrayState(destination.get()), before) << c.from << ".." << c.to << " at " << c.index;
  }
  ARRAY_insert_range(nullptr, destination.get(), 0, 1, 0);
  ARRAY_insert_range(source.get(), nullptr, 0, 1, 0);
  EXPECT_EQ(ArrayState(destination.get()), before);
}

TEST_F(Handles, GrowDoublesAndKeepsHandles) {
  ArrayPtr array = make({A, B});
  EXPECT_EQ(ARRAY_grow(array.get()), 1);
  EXPECT_EQ(array->capacity, 4);
  EXPECT_EQ(items_of(array.get()), (std::vector<void*>{A, B}));
  EXPECT_EQ(array->items[2], nullptr);
  EXPECT_EQ(ARRAY_grow(nullptr), 0);
}

// Sizes at the 32-bit limit over a small real array: refusals must come
// before anything is allocated or moved.
TEST_F(Handles, SizesThatCannotGrowAreRefused) {
  void* storage[2] = {A, B};
  ARRAY huge{(1 << 30) + 1, (1 << 30) + 1, storage};
  EXPECT_EQ(ARRAY_grow(&huge), 0);
  ARRAY_push(&huge, C);
  ARRAY_insert(&huge, C, 0);
  EXPECT_EQ(huge.capacity, (1 << 30) + 1);
  EXPECT_EQ(huge.length, (1 << 30) + 1);

  ARRAY full{INT32_MAX, INT32_MAX - 1, storage};
  ArrayPtr source = make({P, Q});
  ARRAY_insert_range(source.get(), &full, 0, 2, 0);
  EXPECT_EQ(full.length, INT32_MAX - 1);
  EXPECT_EQ(full.capacity, INT32_MAX);
  EXPECT_EQ(full.items, storage);
  EXPECT_EQ(storage[0], A);
  EXPECT_EQ(storage[1], B);
}

}  // namespace
