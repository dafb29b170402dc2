#include "tests/scene_one_two/scene_fixture.h"

#include "platform/capture.h"
#include "platform/fps.h"
#include "platform/sdldpy.h"
#include "show/quombrax.h"

namespace {

const QUOMBRAX_CONFIG initial_config = QUOMBRAX_config;

struct KEEPER {
  const std::set<int32_t>* kept;
  std::vector<std::vector<uint32_t>>* frames;
};

KEEPER keeper;

void keep_frame(void* context, int32_t frame, const uint32_t* pixels, int32_t width,
                int32_t height) {
  auto* k = static_cast<KEEPER*>(context);
  if (k->kept->count(frame) == 0) return;
  k->frames->emplace_back(pixels, pixels + width * height);
}

}  // namespace

void SceneTest::SetUp() {
  CAPTURE_reset();
  FPS_state = FPS{};
  FPS_state.target_rate = QUOMBRAX_target_frame_rate;
  QUOMBRAX_config = initial_config;
  QUOMBRAX_state = QUOMBRAX_STATE{};
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  state.display = SDLDPY_create();
  state.keys = SDLDPY_keys_create();
  state.screen_image = IMG_create();
  IMG_resize(state.screen_image, side, side);
  keeper = KEEPER{&kept, &frames};
  CAPTURE_on_frame(keep_frame, &keeper);
}

void SceneTest::TearDown() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  IMG_destroy(&state.screen_image);
  SDLDPY_keys_destroy(&state.keys);
  SDLDPY_destroy(&state.display);
  CAPTURE_on_frame(nullptr, nullptr);
}

void SceneTest::press_space_after(int32_t frame) { CAPTURE_press(frame, ' '); }
