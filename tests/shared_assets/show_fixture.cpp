#include "tests/shared_assets/show_fixture.h"

#include "imaging/palette.h"
#include "platform/capture.h"
#include "platform/fps.h"

void ShowState::release() {
  QUOMBRAX_STATE& state = QUOMBRAX_state;
  // Destroying what was never built is a silent no-op.
  QUOMBRAX_destroy_fonts();
  QUOMBRAX_destroy_shared_assets();
  // The show never frees the palette; a test must, or every test leaks one.
  PALETTE_destroy(&state.palette);
  IMG_destroy(&state.screen_image);
  state = QUOMBRAX_STATE{};
  FPS_state = FPS{};
  CAPTURE_reset();
}

void ShowState::use_screen(int32_t width, int32_t height) {
  release();
  QUOMBRAX_config = saved_config_;
  QUOMBRAX_config.screen_width = width;
  QUOMBRAX_config.screen_height = height;
  QUOMBRAX_state.screen_image = IMG_create();
  IMG_resize(QUOMBRAX_state.screen_image, width, height);
}

void ShowState::TearDown() {
  release();
  QUOMBRAX_config = saved_config_;
}

uint32_t pixel_at(const IMG* image, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= image->width || y >= image->height) return 0;
  return image->pixels[y * image->width + x];
}

Image black_image(int32_t width, int32_t height) {
  Image image(IMG_create());
  IMG_resize(image.get(), width, height);
  return image;
}

Image decoded_picture(const uint8_t* data, size_t size, int32_t width, int32_t height) {
  Image picture(IMG_parse(data, size));
  if (picture == nullptr || picture->width != width || picture->height != height) {
    ADD_FAILURE() << "the picture does not decode to " << width << " x " << height;
    return nullptr;
  }
  return picture;
}
