// The show's driver in this process, on the capture back end: key handler,
// end of frame, fade-out, the scene loop, start-up.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/img.h"
#include "platform/capture.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"
#include "tests/support/output_capture.h"

namespace {

const QUOMBRAX_CONFIG initial_config = QUOMBRAX_config;

void remember_frame(void* context, int32_t, const uint32_t* pixels, int32_t width, int32_t height) {
  static_cast<std::vector<std::vector<uint32_t>>*>(context)->emplace_back(pixels,
                                                                          pixels + width * height);
}

// The show's state as start-up leaves it, built afresh for every test.
class DriverTest : public testing::Test {
 protected:
  void SetUp() override {
    CAPTURE_reset();
    FPS_state = FPS{};
    QUOMBRAX_config = initial_config;
    QUOMBRAX_state = QUOMBRAX_STATE{};
    CAPTURE_on_frame(remember_frame, &frames);
  }
  void TearDown() override {
    QUOMBRAX_STATE& state = QUOMBRAX_state;
    IMG_destroy(&state.screen_image);
    SDLDPY_keys_destroy(&state.keys);
    if (state.display != nullptr) SDLDPY_destroy(&state.display);
    if (state.audio != nullptr) SDLDPY_audio_close(&state.audio);
  }

  std::vector<std::vector<uint32_t>> frames;
};

TEST_F(DriverTest, StartUpBuildsTheScreenAndPresentsNothing) {
  QUOMBRAX_start_up();
  const QUOMBRAX_STATE& state = QUOMBRAX_state;
  ASSERT_NE(state.display, nullptr);
  EXPECT_NE(state.keys, nullptr);
  EXPECT_NE(state.audio, nullptr);
  EXPECT_EQ(CAPTURE_sound_open(), 1);
  ASSERT_NE(state.screen_image, nullptr);
  EXPECT_EQ(state.screen_image->width, 256);
  EXPECT_EQ(state.screen_image->height, 256);
  EXPECT_EQ(QUOMBRAX_config.screen_width, state.display->width);
  EXPECT_EQ(FPS_state.target_rate, 50);
  EXPECT_EQ(CAPTURE_frames_presented(), 0);
  EXPECT_EQ(CAPTURE_video_flags(), SDLDPY_window_flags);
}

TEST_F(DriverTest, StartUpTakesTheSizeTheDisplayGot) {
  QUOMBRAX_config.screen_width = 320;
  QUOMBRAX_config.screen_height = 200;
  QUOMBRAX_start_up();
  EXPECT_EQ(QUOMBRAX_state.display->width, 320);
  EXPECT_EQ(QUOMBRAX_state.screen_image->width, 320);
  EXPECT_EQ(QUOMBRAX_state.screen_image->height, 200);
}

TEST_F(DriverTest, StartUpWithoutASoundDeviceGoesOnSilent) {
  CAPTURE_set_sound_available(0);
  QUOMBRAX_start_up();
  EXPECT_EQ(QUOMBRAX_state.audio, nullptr);
  EXPECT_NE(QUOMBRAX_state.screen_image, nullptr);
}

TEST_F(DriverTest, TheKeyHandlerFlipsEachOptionBit) {
  struct CASE {
    int8_t code;
    uint32_t flags;
    uint8_t option_1, option_2, options_4_5, display_options;
  } cases[] = {
      {32, 2, 1, 1, 3, 2},  {49, 0, 0, 1, 3, 2}, {50, 0, 1, 0, 3, 2}, {52, 0, 1, 1, 2, 2},
      {53, 0, 1, 1, 1, 2},  {56, 0, 1, 1, 3, 3}, {57, 0, 1, 1, 3, 0}, {0, 0, 1, 1, 3, 2},
      {48, 0, 1, 1, 3, 2},  {51, 0, 1, 1, 3, 2}, {97, 0, 1, 1, 3, 2}, {-1, 0, 1, 1, 3, 2},
      {-27, 0, 1, 1, 3, 2},
  };
  for (const CASE& c : cases) {
    QUOMBRAX_config = initial_config;
    QUOMBRAX_state.flags = 0;
    QUOMBRAX_handle_key(c.code);
    EXPECT_EQ(QUOMBRAX_state.flags, c.flags) << int(c.code);
    EXPECT_EQ(QUOMBRAX_config.option_1, c.option_1) << int(c.code);
    EXPECT_EQ(QUOMBRAX_config.option_2, c.option_2) << int(c.code);
    EXPECT_EQ(QUOMBRAX_config.options_4_5, c.options_4_5) << int(c.code);
    EXPECT_EQ(QUOMBRAX_config.display_options, c.display_options) << int(c.code);
  }
  QUOMBRAX_config = initial_config;
  QUOMBRAX_handle_key(53);
  QUOMBRAX_handle_key(52);
  EXPECT_EQ(QUOMBRAX_config.options_4_5, 0) << "the two bits are separate";
}

TEST_F(DriverTest, QuitKeysShutTheShowDownWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (int8_t code : {int8_t{113}, int8_t{81}, int8_t{27}}) {
    EXPECT_EXIT(
        {
          QUOMBRAX_start_up();
          QUOMBRAX_handle_key(code);
          std::exit(5);
        },
        testing::ExitedWithCode(0), "")
        << int(code);
  }
}

TEST_F(DriverTest, FadeOutDarkensInThirtyTwoPresentedSteps) {
  QUOMBRAX_start_up();
  IMG* screen = QUOMBRAX_state.screen_image;
  const uint32_t colours[] = {0xFFFFFF, 0x102030, 0x0A0A0A, 0x800001, 0};
  for (int32_t i = 0; i < screen->width * screen->height; ++i) screen->pixels[i] = colours[i % 5];
  QUOMBRAX_fade_out();
  ASSERT_EQ(frames.size(), 32u);
  for (uint32_t step = 1; step <= 32; ++step) {
    for (int32_t i = 0; i < 5; ++i) {
      uint32_t expected = 0;
      for (int shift : {16, 8, 0}) {
        int32_t channel = static_cast<int32_t>((colours[i] >> shift) & 0xFF) - 8 * int32_t(step);
        expected |= static_cast<uint32_t>(channel > 0 ? channel : 0) << shift;
      }
      EXPECT_EQ(frames[step - 1][i], expected) << "step " << step << " colour " << i;
    }
  }
  EXPECT_EQ(CAPTURE_milliseconds(), 0u) << "unpaced";
  EXPECT_EQ(CAPTURE_sleeps(), 0);
}

TEST_F(DriverTest, EndFramePacesPresentsHandlesAndClearsTheKey) {
  QUOMBRAX_start_up();
  CAPTURE_press(2, ' ');
  QUOMBRAX_end_frame();
  EXPECT_EQ(frames.size(), 1u);
  EXPECT_EQ(CAPTURE_milliseconds(), 20u) << "the first frame waits a whole frame time";
  EXPECT_EQ(QUOMBRAX_state.flags, 0u) << "the key comes after frame 2";
  QUOMBRAX_end_frame();
  EXPECT_EQ(CAPTURE_milliseconds(), 40u);
  EXPECT_EQ(QUOMBRAX_state.flags, QUOMBRAX_next_scene_flag);
  EXPECT_EQ(QUOMBRAX_state.keys->buffer[0], 0) << "each press is handled once";
}

TEST_F(DriverTest, TheKeyCanBeReadBeforeItIsCleared) {
  QUOMBRAX_start_up();
  CAPTURE_schedule(0, CAPTURE_KEY_DOWN, 0xE9);
  QUOMBRAX_end_frame_keep_key();
  EXPECT_EQ(QUOMBRAX_last_key(), static_cast<int8_t>(0xE9)) << "a signed byte";
  QUOMBRAX_reset_key();
  EXPECT_EQ(QUOMBRAX_last_key(), 0);
}

TEST_F(DriverTest, ASceneIsDoneOnQuitOrNextScene) {
  struct CASE {
    uint32_t flags;
    int32_t done;
    uint32_t after;
  } cases[] = {{0, 0, 0}, {1, 1, 1}, {2, 1, 0}, {3, 1, 1}, {4, 0, 4}};
  for (const CASE& c : cases) {
    QUOMBRAX_state.flags = c.flags;
    EXPECT_EQ(QUOMBRAX_scene_done(), c.done) << c.flags;
    EXPECT_EQ(QUOMBRAX_state.flags, c.after) << c.flags;
  }
}

int drawn = 0;
int ended = 0;
int space_at = -1;

void count_draw() { ++drawn; }
void count_end() {
  ++ended;
  if (ended == space_at) QUOMBRAX_state.flags |= QUOMBRAX_next_scene_flag;
}

TEST_F(DriverTest, TheSceneLoopRunsAtMost1001FramesAndStopsOnRequest) {
  struct CASE {
    int space_at;
    int frames;
  } cases[] = {{-1, 1001}, {1, 1}, {500, 500}, {1001, 1001}};
  for (const CASE& c : cases) {
    drawn = ended = 0;
    space_at = c.space_at;
    QUOMBRAX_state.flags = 0;
    QUOMBRAX_run_frames(count_draw, count_end);
    EXPECT_EQ(drawn, c.frames) << c.space_at;
    EXPECT_EQ(ended, c.frames) << c.space_at;
    EXPECT_EQ(QUOMBRAX_state.flags, 0u) << "left with the request cleared";
  }
}

TEST(ShowRecord, IdentifiesTheProgram) {
  EXPECT_STREQ(QUOMBRAX_id[0], "QUOMBRAX");
  EXPECT_STREQ(QUOMBRAX_id[1], "20101021");
  EXPECT_STREQ(QUOMBRAX_id[2], "Kadwelon");
  EXPECT_STREQ(QUOMBRAX_id[3], "C       ");
  EXPECT_STREQ(QUOMBRAX_id[4], "PROGRAM ");
}

TEST(ShowErrorHook, PrintsItsLineOnlyWhileSwitchedOn) {
  expect_error_line_only_while_on(QUOMBRAX_error, QUOMBRAX_set_error_report, "QUOMBRAX Error.\n");
}

}  // namespace
