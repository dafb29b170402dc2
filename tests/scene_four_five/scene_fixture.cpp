#include "tests/scene_four_five/scene_fixture.h"

#include "containers/sample.h"
#include "imaging/font.h"
#include "imaging/img.h"
#include "imaging/palette.h"
#include "platform/capture.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"

namespace {

// What the show never frees (the music generator, some of scene three) stays
// reachable here, as it would in the show until the process ends. A plain
// array: it outlives the leak check, which runs after static destructors.
constexpr size_t retired_limit = 256;
QUOMBRAX_STATE retired_states[retired_limit];
size_t retired_count = 0;

}  // namespace

void SceneTest::SetUp() {
  saved_config_ = QUOMBRAX_config;
  saved_orbit_ = QUOMBRAX_orbit;
  CAPTURE_reset();
  FPS_state = FPS{};
  QUOMBRAX_state = QUOMBRAX_STATE{};
  keep = nullptr;
  presented = 0;
  kept_numbers.clear();
  kept.clear();
  CAPTURE_on_frame(remember, this);
}

void SceneTest::TearDown() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  QUOMBRAX_release_all();
  PALETTE_destroy(&state.palette);
  retired_states[retired_count++ % retired_limit] = state;
  QUOMBRAX_state = QUOMBRAX_STATE{};
  CAPTURE_on_frame(nullptr, nullptr);
  QUOMBRAX_config = saved_config_;
  QUOMBRAX_orbit = saved_orbit_;
}

void SceneTest::start(int32_t width, int32_t height) {
  QUOMBRAX_config.screen_width = width;
  QUOMBRAX_config.screen_height = height;
  QUOMBRAX_start_up();
}

void SceneTest::drop_small_font() { FONT_destroy(&QUOMBRAX_state.small_font); }

void SceneTest::use_logo(IMG* logo) {
  IMG_destroy(&QUOMBRAX_state.logo_image);
  QUOMBRAX_state.logo_image = logo;
}

void SceneTest::use_large_font_image(IMG* sheet) {
  FONT* font = QUOMBRAX_state.large_font;
  ASSERT_NE(font, nullptr);
  IMG_destroy(&font->image);
  font->image = sheet;
}

const PIXELS& SceneTest::frame(int32_t number) const {
  for (size_t i = 0; i < kept_numbers.size(); ++i) {
    if (kept_numbers[i] == number) return kept[i];
  }
  ADD_FAILURE() << "frame " << number << " was not kept";
  static const PIXELS none;
  return none;
}

void SceneTest::remember(void* context, int32_t number, const uint32_t* pixels, int32_t width,
                         int32_t height) {
  auto* test = static_cast<SceneTest*>(context);
  ++test->presented;
  if (test->keep && !test->keep(number)) return;
  test->kept_numbers.push_back(number);
  test->kept.emplace_back(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
}

PIXELS pixels_of(const IMG* image) {
  return PIXELS(image->pixels,
                image->pixels + static_cast<size_t>(image->width) * static_cast<size_t>(image->height));
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
