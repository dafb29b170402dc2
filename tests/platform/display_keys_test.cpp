// The display and key halves of SDLDPY, on the capture back end.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/img.h"
#include "platform/capture.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "tests/support/module_ids.h"

namespace {

struct SHOWN {
  int32_t frame = 0;
  int32_t width = 0;
  int32_t height = 0;
  const uint32_t* address = nullptr;
  std::vector<uint32_t> pixels;
};

void remember(void* context, int32_t frame, const uint32_t* pixels, int32_t width, int32_t height) {
  auto* shown = static_cast<std::vector<SHOWN>*>(context);
  shown->push_back(
      SHOWN{frame, width, height, pixels, std::vector<uint32_t>(pixels, pixels + width * height)});
}

IMG* numbered_image(int32_t width, int32_t height) {
  IMG* image = IMG_create();
  IMG_resize(image, width, height);
  for (int32_t i = 0; i < width * height; ++i) image->pixels[i] = 0x010203u * (i % 80) + i;
  return image;
}

class DisplayTest : public testing::Test {
 protected:
  void SetUp() override {
    CAPTURE_reset();
    CAPTURE_on_frame(remember, &shown);
    display = SDLDPY_create();
    ASSERT_NE(display, nullptr);
  }
  void TearDown() override {
    SDLDPY_keys_destroy(&keys);
    if (display != nullptr) SDLDPY_destroy(&display);
    for (IMG*& image : images) IMG_destroy(&image);
  }
  IMG* image(int32_t width, int32_t height) {
    images.push_back(numbered_image(width, height));
    return images.back();
  }
  void poll_with(const std::vector<std::array<int32_t, 2>>& events) {
    for (const auto& [kind, symbol] : events) CAPTURE_schedule(0, kind, symbol);
    SDLDPY_keys_poll(keys);
  }

  SDLDPY* display = nullptr;
  SDLDPY_KEYS* keys = nullptr;
  std::vector<IMG*> images;
  std::vector<SHOWN> shown;
};

TEST_F(DisplayTest, CreateOpensA256SquareModeWithTheProgramsFlags) {
  EXPECT_EQ(display->width, 256);
  EXPECT_EQ(display->height, 256);
  EXPECT_EQ(display->bits_per_pixel, 32);
  EXPECT_EQ(CAPTURE_video_flags(), SDLDPY_window_flags);
  EXPECT_EQ(CAPTURE_screen_width(), 256);
  EXPECT_EQ(SDLDPY_create(), display) << "one display at most";
}

TEST_F(DisplayTest, SetModeRecordsTheNewSizeOrKeepsTheOldOneOnFailure) {
  SDLDPY_set_mode(display, 320, 200);
  EXPECT_EQ(display->width, 320);
  EXPECT_EQ(display->height, 200);
  SDLDPY_set_mode(display, -1, 200);
  SDLDPY_set_mode(nullptr, 64, 64);
  EXPECT_EQ(display->width, 320);
  CAPTURE_set_screen_available(0);
  SDLDPY_set_mode(display, 64, 64);
  EXPECT_EQ(display->width, 320);
  EXPECT_EQ(display->height, 200);
  EXPECT_EQ(CAPTURE_screen_width(), 0) << "the old screen is gone";
  SDLDPY_present(display, image(320, 200));
  EXPECT_TRUE(shown.empty()) << "nothing to show on";
}

TEST_F(DisplayTest, FailedModeAtCreationLeavesAnEmptyDisplay) {
  SDLDPY_destroy(&display);
  CAPTURE_set_screen_available(0);
  display = SDLDPY_create();
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->width, 0);
  EXPECT_EQ(display->height, 0);
}

TEST_F(DisplayTest, PresentShowsAnImageOfExactlyTheDisplaySize) {
  IMG* frame = image(256, 256);
  SDLDPY_present(display, frame);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].frame, 1);
  EXPECT_EQ(shown[0].width, 256);
  EXPECT_EQ(shown[0].pixels, std::vector<uint32_t>(frame->pixels, frame->pixels + 65536));
  EXPECT_NE(shown[0].address, frame->pixels) << "present copies";

  SDLDPY_present_direct(display, frame);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].address, frame->pixels) << "the direct present shows the image itself";
}

TEST_F(DisplayTest, PresentRefusesWrongSizesAndMissingImages) {
  struct CASE {
    const char* what;
    IMG* image;
  } cases[] = {
      {"one wider", image(257, 256)},
      {"one taller", image(256, 257)},
      {"null", nullptr},
      {"no pixels", image(256, 256)},
  };
  std::free(cases[3].image->pixels);
  cases[3].image->pixels = nullptr;
  for (const CASE& c : cases) {
    SDLDPY_present(display, c.image);
    SDLDPY_present_direct(display, c.image);
    EXPECT_TRUE(shown.empty()) << c.what;
  }
  SDLDPY other{256, 256, 32};
  SDLDPY_present(&other, image(256, 256));
  SDLDPY_present(nullptr, image(256, 256));
  EXPECT_TRUE(shown.empty()) << "not the display";
}

TEST_F(DisplayTest, ConvertedPresentClipsToTheSmallerSizeKeepingRowsStraight) {
  SDLDPY_present(display, image(256, 256));
  std::vector<uint32_t> before = shown.back().pixels;
  IMG* small = image(10, 3);
  SDLDPY_present_converted(display, small);
  ASSERT_EQ(shown.size(), 2u);
  std::vector<uint32_t> expected = before;
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 10; ++x) expected[y * 256 + x] = small->pixels[y * 10 + x];
  }
  EXPECT_EQ(shown.back().pixels, expected) << "top-left replaced, the rest kept";

  IMG* wide = image(300, 2);
  SDLDPY_present_converted(display, wide);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 256; ++x) expected[y * 256 + x] = wide->pixels[y * 300 + x];
  }
  EXPECT_EQ(shown.back().pixels, expected) << "a wider image keeps its own row length";
}

TEST_F(DisplayTest, DestroyReleasesTheSingletonOnly) {
  SDLDPY other{256, 256, 32};
  SDLDPY* not_ours = &other;
  SDLDPY_destroy(&not_ours);
  EXPECT_EQ(not_ours, &other);
  SDLDPY_destroy(nullptr);
  SDLDPY_destroy(&display);
  EXPECT_EQ(display, nullptr);
  EXPECT_EQ(CAPTURE_screen_width(), 0);
  display = SDLDPY_create();
  EXPECT_NE(display, nullptr) << "a new display after a destroy";
}

TEST_F(DisplayTest, AccessorsKnowOnlyTheSingleton) {
  SDLDPY other{256, 256, 32};
  EXPECT_STREQ(SDLDPY_to_text(display), "");
  EXPECT_EQ(SDLDPY_to_text(&other), nullptr);
  EXPECT_EQ(SDLDPY_from_text(""), nullptr);
  EXPECT_EQ(SDLDPY_clone(display), display);
  EXPECT_EQ(SDLDPY_clone(&other), nullptr);
  EXPECT_EQ(SDLDPY_equal(display, display), 1);
  EXPECT_EQ(SDLDPY_equal(&other, &other), 0);
  EXPECT_EQ(SDLDPY_equal(display, nullptr), 0);
}

TEST_F(DisplayTest, KeysNeedADisplayAndAreASingleton) {
  SDLDPY_destroy(&display);
  EXPECT_EQ(SDLDPY_keys_create(), nullptr);
  display = SDLDPY_create();
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(SDLDPY_keys_create(), keys);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(keys->buffer[i], 0);
  EXPECT_STREQ(SDLDPY_keys_to_text(keys), "");
  EXPECT_EQ(SDLDPY_keys_to_text(nullptr), nullptr);
  EXPECT_EQ(SDLDPY_keys_from_text(""), nullptr);
  EXPECT_EQ(SDLDPY_keys_clone(keys), nullptr);
  EXPECT_EQ(SDLDPY_keys_equal(keys, keys), 1);
  EXPECT_EQ(SDLDPY_keys_equal(keys, nullptr), 0);
  SDLDPY_keys_destroy(nullptr);
  SDLDPY_keys_destroy(&keys);
  EXPECT_EQ(keys, nullptr);
}

TEST_F(DisplayTest, APollKeepsTheLastPressItDelivered) {
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  struct CASE {
    const char* what;
    std::vector<std::array<int32_t, 2>> events;
    uint8_t code;
  } cases[] = {
      {"Escape", {{CAPTURE_KEY_DOWN, 27}}, 27},
      {"Space", {{CAPTURE_KEY_DOWN, 32}}, 32},
      {"q", {{CAPTURE_KEY_DOWN, 113}}, 113},
      {"0", {{CAPTURE_KEY_DOWN, 48}}, 48},
      {"9", {{CAPTURE_KEY_DOWN, 57}}, 57},
      {"latest press wins", {{CAPTURE_KEY_DOWN, 97}, {CAPTURE_KEY_DOWN, 115}}, 115},
      {"a tap: pressed and released", {{CAPTURE_KEY_DOWN, 32}, {CAPTURE_KEY_UP, 32}}, 32},
      {"second pressed, first released",
       {{CAPTURE_KEY_DOWN, 97}, {CAPTURE_KEY_DOWN, 115}, {CAPTURE_KEY_UP, 97}},
       115},
      {"two taps one after the other",
       {{CAPTURE_KEY_DOWN, 97},
        {CAPTURE_KEY_UP, 97},
        {CAPTURE_KEY_DOWN, 115},
        {CAPTURE_KEY_UP, 115}},
       115},
      {"two taps overlapping",
       {{CAPTURE_KEY_DOWN, 97},
        {CAPTURE_KEY_DOWN, 115},
        {CAPTURE_KEY_UP, 115},
        {CAPTURE_KEY_UP, 97}},
       115},
      {"an ignored key's tap keeps nothing", {{CAPTURE_KEY_DOWN, 283}, {CAPTURE_KEY_UP, 283}}, 0},
      {"F2 ignored, not Escape", {{CAPTURE_KEY_DOWN, 283}}, 0},
      {"right Ctrl ignored, not 1", {{CAPTURE_KEY_DOWN, 305}}, 0},
      {"left Alt ignored, not 4", {{CAPTURE_KEY_DOWN, 308}}, 0},
      {"right Super ignored, not 8", {{CAPTURE_KEY_DOWN, 312}}, 0},
      {"a modifier's release keeps the key", {{CAPTURE_KEY_DOWN, 97}, {CAPTURE_KEY_UP, 304}}, 97},
      {"nothing pending", {}, 0},
  };
  for (const CASE& c : cases) {
    keys->buffer[0] = 0;
    poll_with(c.events);
    EXPECT_EQ(keys->buffer[0], c.code) << c.what;
    for (int i = 1; i < 8; ++i) EXPECT_EQ(keys->buffer[i], 0) << c.what;
  }
}

TEST_F(DisplayTest, AHeldKeyIsReportedOnceAndKeptUntilCleared) {
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  poll_with({{CAPTURE_KEY_DOWN, 56}});
  EXPECT_EQ(keys->buffer[0], 56);
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 56) << "the caller clears it";
  keys->buffer[0] = 0;
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 0);
}

// Only a press the same poll delivered outlives a release: one left from an
// earlier poll (not cleared by the caller) is let go as before.
TEST_F(DisplayTest, AReleaseClearsAPressFromAnEarlierPoll) {
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  poll_with({{CAPTURE_KEY_DOWN, 'x'}});
  ASSERT_EQ(keys->buffer[0], 'x');
  poll_with({{CAPTURE_KEY_UP, 'x'}});
  EXPECT_EQ(keys->buffer[0], 0) << "released in the next poll";
  poll_with({{CAPTURE_KEY_DOWN, 'x'}});
  poll_with({{CAPTURE_KEY_UP, 'x'}, {CAPTURE_KEY_DOWN, 'y'}, {CAPTURE_KEY_UP, 'y'}});
  EXPECT_EQ(keys->buffer[0], 'y') << "an old key let go, then a tap";
  poll_with({{CAPTURE_KEY_DOWN, 'x'}});
  poll_with({{CAPTURE_KEY_DOWN, 'y'}, {CAPTURE_KEY_UP, 'x'}});
  EXPECT_EQ(keys->buffer[0], 'y') << "a new press, then an old key let go";
}

TEST_F(DisplayTest, AQuitRequestReadsAsEscapeFromThenOn) {
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  poll_with({{CAPTURE_QUIT, 0}, {CAPTURE_KEY_DOWN, 32}, {CAPTURE_KEY_UP, 32}});
  EXPECT_EQ(keys->buffer[0], SDLDPY_quit_key);
  keys->buffer[0] = 0;
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], SDLDPY_quit_key) << "a quit request cannot be lost";
}

TEST_F(DisplayTest, ScriptedEventsWaitForTheirFrame) {
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  CAPTURE_schedule(2, CAPTURE_KEY_DOWN, 'x');
  CAPTURE_schedule(3, CAPTURE_KEY_UP, 'x');
  IMG* frame = image(256, 256);
  SDLDPY_present(display, frame);
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 0) << "after frame 1";
  SDLDPY_present(display, frame);
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 'x') << "after frame 2";
  SDLDPY_present(display, frame);
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 0) << "released after frame 3";
  EXPECT_EQ(CAPTURE_schedule(0, 99, 1), 0) << "unknown kind";
}

TEST_F(DisplayTest, AScriptedPressIsReleasedAtTheFollowingPoll) {
  keys = SDLDPY_keys_create();
  ASSERT_NE(keys, nullptr);
  IMG* frame = image(256, 256);
  CAPTURE_press(1, ' ');
  CAPTURE_press(1, 'a');  // pressed while Space is down: the latest press wins
  for (int i = 0; i < 3; ++i) SDLDPY_present(display, frame);  // frames without a poll
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 'a') << "not lost to the frames that passed";
  keys->buffer[0] = 'z';
  SDLDPY_keys_poll(keys);
  EXPECT_EQ(keys->buffer[0], 0) << "both keys let go";
}

TEST(ModuleRecords, IdentifyTheModules) {
  struct CASE {
    const MODULE_ID& id;
    std::vector<std::string> fields;
  } cases[] = {
      {SDLDPY_id, {"SDLDPY  ", "20101009", "LINUXSDL", "Kadwelon", "CODE    "}},
      {FPS_id, {"FPS     ", "20101022", "Kadwelon", "C       ", "CODE    "}},
  };
  for (const CASE& c : cases) {
    expect_module_id(c.id, c.fields);
  }
}

}  // namespace
