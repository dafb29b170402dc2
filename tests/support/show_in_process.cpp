#include "tests/support/show_in_process.h"

#include <algorithm>

#include "containers/sample.h"
#include "effects/cursor.h"
#include "effects/scroll.h"
#include "imaging/font.h"
#include "imaging/img.h"
#include "imaging/palette.h"
#include "music/music.h"
#include "platform/capture.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"

void release_show() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  // Destroying what was never built is a silent no-op.
  QUOMBRAX_release_all();
  // The sound device is closed now, so nothing plays the generator's loop.
  MUSIC_destroy(&state.music);
  PALETTE_destroy(&state.palette);
  release_scene_three_whole();
  state = QUOMBRAX_STATE{};
}

void release_scene_three_whole() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  QUOMBRAX_release_scene_three();
  for (FONT*& sheet : state.star_sheets) FONT_destroy(&sheet);
  IMG_destroy(&state.scroll_image);
  SCROLL_destroy(&state.scroll);
  CURSOR_destroy(&state.cursor);
}

void ShowInProcess::SetUp() {
  saved_config_ = QUOMBRAX_config;
  saved_orbit_ = QUOMBRAX_orbit;
  begin_afresh();
}

void ShowInProcess::begin_afresh() {
  CAPTURE_reset();
  FPS_state = FPS{};
  QUOMBRAX_state = QUOMBRAX_STATE{};
  keep = nullptr;
  presented = 0;
  kept_numbers.clear();
  kept.clear();
  CAPTURE_on_frame(remember, this);
}

void ShowInProcess::TearDown() {
  release_show();
  FPS_state = FPS{};
  CAPTURE_on_frame(nullptr, nullptr);
  QUOMBRAX_config = saved_config_;
  QUOMBRAX_orbit = saved_orbit_;
}

void ShowInProcess::start(int32_t width, int32_t height) {
  QUOMBRAX_config.screen_width = width;
  QUOMBRAX_config.screen_height = height;
  QUOMBRAX_start_up();
}

void ShowInProcess::build_screen(int32_t width, int32_t height) {
  release_show();
  begin_afresh();
  QUOMBRAX_config = saved_config_;
  QUOMBRAX_config.screen_width = width;
  QUOMBRAX_config.screen_height = height;
  QUOMBRAX_state.screen_image = IMG_create();
  IMG_resize(QUOMBRAX_state.screen_image, width, height);
}

void ShowInProcess::build_display(int32_t width, int32_t height) {
  FPS_state.target_rate = QUOMBRAX_target_frame_rate;
  QUOMBRAX_config.screen_width = width;
  QUOMBRAX_config.screen_height = height;
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  state.display = SDLDPY_create();
  state.keys = SDLDPY_keys_create();
  state.screen_image = IMG_create();
  IMG_resize(state.screen_image, width, height);
}

void ShowInProcess::drop_small_font() { FONT_destroy(&QUOMBRAX_state.small_font); }

void ShowInProcess::use_logo(IMG* logo) {
  IMG_destroy(&QUOMBRAX_state.logo_image);
  QUOMBRAX_state.logo_image = logo;
}

void ShowInProcess::use_large_font_image(IMG* sheet) {
  FONT* font = QUOMBRAX_state.large_font;
  ASSERT_NE(font, nullptr);
  IMG_destroy(&font->image);
  font->image = sheet;
}

void ShowInProcess::keep_only(std::vector<int32_t> numbers) {
  keep = [numbers = std::move(numbers)](int32_t number) {
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
  };
}

const PIXELS& ShowInProcess::frame(int32_t number) const {
  for (size_t i = 0; i < kept_numbers.size(); ++i) {
    if (kept_numbers[i] == number) return kept[i];
  }
  ADD_FAILURE() << "frame " << number << " was not kept";
  static const PIXELS none;
  return none;
}

void ShowInProcess::remember(void* context, int32_t number, const uint32_t* pixels, int32_t width,
                             int32_t height) {
  auto* test = static_cast<ShowInProcess*>(context);
  ++test->presented;
  if (test->keep && !test->keep(number)) return;
  test->kept_numbers.push_back(number);
  test->kept.emplace_back(pixels,
                          pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
}

FrameView ShowInProcess::on_screen(const PIXELS& pixels) {
  return FrameView(pixels, QUOMBRAX_config.screen_width);
}

PIXELS row_of(const PIXELS& frame, int32_t width, int32_t y) {
  auto begin = frame.begin() + static_cast<ptrdiff_t>(y) * width;
  return PIXELS(begin, begin + width);
}

IMG* numbered_image(int32_t width, int32_t height) {
  IMG* image = IMG_create();
  IMG_resize(image, width, height);
  for (int32_t i = 0; i < width * height; ++i) {
    image->pixels[i] = static_cast<uint32_t>(i + 1);
  }
  return image;
}
