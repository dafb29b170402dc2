#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "containers/vec2d.h"
#include "tests/support/module_ids.h"

namespace {

TEST(Vec2dId, NamesModuleDateAuthorLanguageKind) {
  expect_module_id(VEC2D_id, {"VEC2D   ", "20101019", "Kadwelon", "C       ", "CODE    "});
}

TEST(Vec2d, NewVectorsAreOriginAndEqual) {
  VEC2D* a = VEC2D_create();
  VEC2D* b = VEC2D_create();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->x, 0);
  EXPECT_EQ(a->y, 0);
  EXPECT_EQ(VEC2D_equal(a, b), 1);
  b->y = 1;
  EXPECT_EQ(VEC2D_equal(a, b), 0);
  b->y = 0;
  b->x = -1;
  EXPECT_EQ(VEC2D_equal(a, b), 0);
  EXPECT_EQ(VEC2D_equal(a, nullptr), 0);
  EXPECT_EQ(VEC2D_equal(nullptr, nullptr), 0);
  VEC2D_destroy(&a);
  VEC2D_destroy(&b);
}

TEST(Vec2d, CopyAndCloneGiveEqualVectors) {
  VEC2D source{3, -4};
  VEC2D* destination = VEC2D_create();
  VEC2D_copy(&source, destination);
  EXPECT_EQ(destination->x, 3);
  EXPECT_EQ(destination->y, -4);
  EXPECT_EQ(VEC2D_equal(&source, destination), 1);

  VEC2D* clone = VEC2D_clone(&source);
  ASSERT_NE(clone, nullptr);
  EXPECT_NE(clone, &source);
  EXPECT_EQ(VEC2D_equal(clone, &source), 1);

  VEC2D_copy(nullptr, destination);
  VEC2D_copy(&source, nullptr);
  EXPECT_EQ(destination->x, 3);
  EXPECT_EQ(VEC2D_clone(nullptr), nullptr);
  VEC2D_destroy(&clone);
  VEC2D_destroy(&destination);
}

TEST(Vec2d, DestroyClearsTheHandleOnce) {
  VEC2D* vector = VEC2D_create();
  VEC2D_destroy(&vector);
  EXPECT_EQ(vector, nullptr);
  VEC2D_destroy(&vector);  // refused: nothing is freed twice
  VEC2D_destroy(nullptr);
  EXPECT_EQ(vector, nullptr);
}

TEST(Vec2d, HasNoTextForm) {
  VEC2D vector{1, 2};
  EXPECT_EQ(VEC2D_to_text(&vector), nullptr);
  EXPECT_EQ(VEC2D_to_text(nullptr), nullptr);
  EXPECT_EQ(VEC2D_from_text("VEC2D{1,2}"), nullptr);
  EXPECT_EQ(VEC2D_from_text(nullptr), nullptr);
}

}  // namespace
