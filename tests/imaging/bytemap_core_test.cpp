#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/bytemap.h"
#include "tests/imaging/bytemap_helpers.h"
#include "tests/support/module_ids.h"

// Lets the out-of-memory test see calloc return null under AddressSanitizer
// instead of the sanitizer stopping the process.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

TEST(BytemapId, NamesModuleDateAuthorLanguageKind) {
  expect_module_id(BYTEMAP_id, {"BYTEMAP ", "20101021", "Kadwelon", "C       ", "CODE    "});
}

TEST(BytemapErrorHook, PrintsItsLineOnlyWhileSwitchedOn) {
  auto refused_clear = [] { return printed_by([] { BYTEMAP_clear(nullptr); }); };
  EXPECT_EQ(refused_clear(), "");
  BYTEMAP_set_error_report(1);
  EXPECT_EQ(refused_clear(), "BYTEMAP error\n");
  EXPECT_EQ(printed_by(BYTEMAP_error), "BYTEMAP error\n");
  BYTEMAP_set_error_report(0);
  EXPECT_EQ(refused_clear(), "");
}

TEST(BytemapCreate, IsSixteenBySixteenZeros) {
  BytemapPtr map(BYTEMAP_create());
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->width, 16);
  EXPECT_EQ(map->height, 16);
  EXPECT_EQ(bytes_of(map.get()), std::vector<uint8_t>(256, 0));
  for (int32_t y = -1; y <= 16; ++y) {
    for (int32_t x = -1; x <= 16; ++x) {
      EXPECT_EQ(BYTEMAP_get_pixel(map.get(), x, y), 0) << x << "," << y;
    }
  }
}

TEST(BytemapDestroy, NullsTheHandleAndRefusesASecondTime) {
  BYTEMAP* map = BYTEMAP_create();
  ASSERT_NE(map, nullptr);
  BYTEMAP_destroy(&map);
  EXPECT_EQ(map, nullptr);
  BYTEMAP_set_error_report(1);
  EXPECT_EQ(printed_by([&] {
              BYTEMAP_destroy(&map);
              BYTEMAP_destroy(nullptr);
            }),
            "BYTEMAP error\nBYTEMAP error\n");
  BYTEMAP_set_error_report(0);
}

TEST(BytemapResize, GivesTheNewSizeAllZeroWhateverWasThere) {
  BytemapPtr map = make_map(4, 4, [](int32_t x, int32_t y) { return uint8_t(1 + x + y); });
  BYTEMAP_resize(map.get(), 320, 200);
  EXPECT_EQ(map->width, 320);
  EXPECT_EQ(map->height, 200);
  EXPECT_EQ(bytes_of(map.get()), std::vector<uint8_t>(320 * 200, 0));
  BYTEMAP_resize(map.get(), 0, 0);
  EXPECT_EQ(map->width, 0);
  EXPECT_EQ(map->height, 0);
  BYTEMAP_clear(map.get());  // an empty map is still a valid map
}

TEST(BytemapResize, AcceptsTheLargestSize) {
  BytemapPtr map = make_map(1, 1);
  BYTEMAP_resize(map.get(), 16384, 16384);
  ASSERT_NE(map->pixels, nullptr);
  EXPECT_EQ(map->width, 16384);
  EXPECT_EQ(map->height, 16384);
  EXPECT_EQ(map->pixels[16384 * 16384 - 1], 0);
}

struct RefusedSize {
  int32_t width;
  int32_t height;
};

class BytemapRefusedResize : public BytemapErrors,
                             public ::testing::WithParamInterface<RefusedSize> {};

TEST_P(BytemapRefusedResize, ReportsAndKeepsTheMap) {
  BytemapPtr map = make_map(3, 2, [](int32_t x, int32_t y) { return uint8_t(10 * y + x + 1); });
  const std::vector<uint8_t> before = bytes_of(map.get());
  const uint8_t* buffer = map->pixels;
  EXPECT_EQ(printed_by([&] { BYTEMAP_resize(map.get(), GetParam().width, GetParam().height); }),
            kBytemapError);
  EXPECT_EQ(map->width, 3);
  EXPECT_EQ(map->height, 2);
  EXPECT_EQ(map->pixels, buffer);
  EXPECT_EQ(bytes_of(map.get()), before);
}

INSTANTIATE_TEST_SUITE_P(
    NegativeOverflowingOrTooLarge, BytemapRefusedResize,
    ::testing::Values(RefusedSize{-1, 5}, RefusedSize{5, -1}, RefusedSize{-4, -4},
                      RefusedSize{16384, 16385}, RefusedSize{16385, 16384},
                      RefusedSize{1, 16384 * 16384 + 1}, RefusedSize{65536, 65536},
                      RefusedSize{INT32_MAX, INT32_MAX}, RefusedSize{INT32_MIN, 2}));

TEST(BytemapResize, RefusesANullMap) {
  BYTEMAP_set_error_report(1);
  EXPECT_EQ(printed_by([&] { BYTEMAP_resize(nullptr, 4, 4); }), "BYTEMAP error\n");
  BYTEMAP_set_error_report(0);
}

// Runs in a child process with its address space capped, so that the
// largest accepted buffer cannot be had.
TEST(BytemapResizeDeathTest, FailedAllocationLeavesAnEmptyMapWithoutBuffer) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        BYTEMAP* map = BYTEMAP_create();
        rlimit cap{};
        getrlimit(RLIMIT_AS, &cap);
        cap.rlim_cur = 64u << 20;
        setrlimit(RLIMIT_AS, &cap);
        BYTEMAP_resize(map, 16384, 16384);
        const bool empty = map->width == 0 && map->height == 0 && map->pixels == nullptr;
        BYTEMAP_clear(map);  // must notice the missing buffer, not crash
        BYTEMAP_put_pixel(map, 0, 0, 1);
        _exit(empty && BYTEMAP_get_pixel(map, 0, 0) == 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(BytemapPixels, OutsidePositionsAreIgnoredSilently) {
  BytemapPtr map = make_map(6, 4);
  BYTEMAP_set_error_report(1);
  EXPECT_EQ(
      printed_by([&] {
        const int32_t outside[][2] = {{6, 0}, {0, -1}, {-1, 2}, {0, 4}, {INT32_MIN, INT32_MAX}};
        for (const auto& p : outside) {
          BYTEMAP_put_pixel(map.get(), p[0], p[1], 9);
          EXPECT_EQ(BYTEMAP_get_pixel(map.get(), p[0], p[1]), 0);
        }
      }),
      "");
  BYTEMAP_set_error_report(0);
  EXPECT_EQ(bytes_of(map.get()), std::vector<uint8_t>(24, 0));
}

TEST(BytemapPixels, PutAndGetAddressRowMajor) {
  BytemapPtr map = make_map(5, 3);
  BYTEMAP_put_pixel(map.get(), 4, 0, 7);
  BYTEMAP_put_pixel(map.get(), 0, 1, 8);
  BYTEMAP_put_pixel(map.get(), 2, 2, 255);
  EXPECT_EQ(map->pixels[4], 7);
  EXPECT_EQ(map->pixels[5], 8);
  EXPECT_EQ(map->pixels[12], 255);
  EXPECT_EQ(BYTEMAP_get_pixel(map.get(), 2, 2), 255);
  EXPECT_EQ(BYTEMAP_get_pixel(map.get(), 0, 1), 8);
}

TEST(BytemapClear, ZeroesEveryByte) {
  BytemapPtr map = make_map(7, 5, [](int32_t x, int32_t y) { return uint8_t(x * y + 1); });
  BYTEMAP_clear(map.get());
  EXPECT_EQ(bytes_of(map.get()), std::vector<uint8_t>(35, 0));
}

TEST(BytemapEqual, ComparesSizeAndEveryByte) {
  auto ramp = [](int32_t x, int32_t y) { return uint8_t(x + 4 * y); };
  BytemapPtr a = make_map(4, 4, ramp);
  BytemapPtr b = make_map(4, 4, ramp);
  EXPECT_EQ(BYTEMAP_equal(a.get(), b.get()), 1);
  b->pixels[15] ^= 1;
  EXPECT_EQ(BYTEMAP_equal(a.get(), b.get()), 0);
  // The same sixteen bytes laid out 2 x 8 are a different map.
  BytemapPtr tall = make_map(2, 8, [](int32_t x, int32_t y) { return uint8_t(x + 2 * y); });
  EXPECT_EQ(BYTEMAP_equal(a.get(), tall.get()), 0);
  BytemapPtr empty_a = make_map(0, 0);
  BytemapPtr empty_b = make_map(0, 0);
  EXPECT_EQ(BYTEMAP_equal(empty_a.get(), empty_b.get()), 1);
  BYTEMAP failed_resize{0, 0, nullptr};  // what a failed allocation leaves
  EXPECT_EQ(BYTEMAP_equal(empty_a.get(), &failed_resize), 1);
  EXPECT_EQ(BYTEMAP_equal(a.get(), nullptr), 0);
}

TEST(BytemapClone, IsAnEqualIndependentCopy) {
  BytemapPtr map = make_map(9, 3, [](int32_t x, int32_t y) { return uint8_t(x * 31 + y); });
  BytemapPtr copy(BYTEMAP_clone(map.get()));
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->pixels, map->pixels);
  EXPECT_EQ(BYTEMAP_equal(map.get(), copy.get()), 1);
  copy->pixels[0] = 200;
  EXPECT_EQ(map->pixels[0], 0);
  EXPECT_EQ(BYTEMAP_clone(nullptr), nullptr);
}

TEST(BytemapCopy, CopiesOnlyBetweenEqualSizes) {
  BytemapPtr src = make_map(4, 4, [](int32_t x, int32_t y) { return uint8_t(1 + x + 4 * y); });
  BytemapPtr same = make_map(4, 4);
  BytemapPtr tall = make_map(2, 8);
  BYTEMAP_copy(src.get(), same.get());
  EXPECT_EQ(bytes_of(same.get()), bytes_of(src.get()));
  BYTEMAP_copy(src.get(), tall.get());
  EXPECT_EQ(bytes_of(tall.get()), std::vector<uint8_t>(16, 0));
}

TEST(BytemapFade, SubtractsDownToZero) {
  const std::vector<uint8_t> start = {20, 10, 16, 0, 255, 17};
  struct Case {
    uint8_t amount;
    std::vector<uint8_t> expected;
  };
  const Case cases[] = {{16, {4, 0, 0, 0, 239, 1}},
                        {0, start},
                        {255, {0, 0, 0, 0, 0, 0}},
                        {10, {10, 0, 6, 0, 245, 7}}};
  for (const Case& c : cases) {
    BytemapPtr map = make_map(3, 2, [&](int32_t x, int32_t y) { return start[y * 3 + x]; });
    BYTEMAP_fade(map.get(), c.amount);
    EXPECT_EQ(bytes_of(map.get()), c.expected) << "amount " << int(c.amount);
  }
}

TEST(BytemapAdd, WrapsModulo256) {
  BytemapPtr map =
      make_map(4, 1, [](int32_t x, int32_t) { return uint8_t(x == 0 ? 250 : x * 100); });
  BYTEMAP_add(map.get(), 10);
  EXPECT_EQ(bytes_of(map.get()), (std::vector<uint8_t>{4, 110, 210, 54}));
  BYTEMAP_add(map.get(), 255);  // one step backwards
  EXPECT_EQ(bytes_of(map.get()), (std::vector<uint8_t>{3, 109, 209, 53}));
}

TEST(BytemapAdd, TwoHundredFiftySixStepsOfOneComeBackToTheStart) {
  BytemapPtr map = make_map(37, 11, [](int32_t x, int32_t y) { return uint8_t(x * 7 + y * 19); });
  BytemapPtr start(BYTEMAP_clone(map.get()));
  for (int i = 0; i < 255; ++i) {
    BYTEMAP_add(map.get(), 1);
  }
  EXPECT_EQ(BYTEMAP_equal(map.get(), start.get()), 0);
  BYTEMAP_add(map.get(), 1);
  EXPECT_EQ(BYTEMAP_equal(map.get(), start.get()), 1);
}

}  // namespace
