#include "tests/show/show_state.h"

uint32_t pixel_at(const IMG* image, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= image->width || y >= image->height) return 0;
  return image->pixels[y * image->width + x];
}

ImagePtr black_image(int32_t width, int32_t height) {
  ImagePtr image(IMG_create());
  IMG_resize(image.get(), width, height);
  return image;
}

ImagePtr decoded_picture(const uint8_t* data, size_t size, int32_t width, int32_t height) {
  ImagePtr picture(IMG_parse(data, size));
  if (picture == nullptr || picture->width != width || picture->height != height) {
    ADD_FAILURE() << "the picture does not decode to " << width << " x " << height;
    return nullptr;
  }
  return picture;
}
