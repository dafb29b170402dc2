#include "imaging/img.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "imaging/raster.h"

const MODULE_ID IMG_id = {"IMG     ", "20101021", "Kadwelon", "C       ", "CODE    "};

namespace {

constexpr int32_t new_image_side = 16;

// Errors are silent in the show; tests turn the report on.
bool error_report = false;

// A buffer for count pixels, zero-filled. Never empty, so that a 0 x 0 image
// still has a buffer and "no buffer" always means a failed allocation.
uint32_t* allocate_pixels(size_t count) {
  return static_cast<uint32_t*>(std::calloc(count > 0 ? count : 1, sizeof(uint32_t)));
}

}  // namespace

void IMG_error() {
  if (!error_report) return;
  std::fputs("IMG error\n", stdout);
  std::fflush(stdout);
}

void IMG_set_error_report(int32_t on) { error_report = on != 0; }

IMG* IMG_create() {
  IMG* image = static_cast<IMG*>(std::calloc(1, sizeof(IMG)));
  uint32_t* pixels = allocate_pixels(clip_pixel_count(new_image_side, new_image_side));
  if (image == nullptr || pixels == nullptr) {
    std::free(image);
    std::free(pixels);
    IMG_error();
    return nullptr;
  }
  image->width = new_image_side;
  image->height = new_image_side;
  image->pixels = pixels;
  return image;
}

void IMG_destroy(IMG** image) {
  if (image == nullptr || *image == nullptr) {
    IMG_error();
    return;
  }
  std::free((*image)->pixels);
  std::free(*image);
  *image = nullptr;
}

void IMG_resize(IMG* image, int32_t width, int32_t height) {
  // Refusing a bad size keeps the old image whole, so width x height always
  // describes the buffer.
  if (image == nullptr || !clip_size_acceptable(width, height)) {
    IMG_error();
    return;
  }
  uint32_t* pixels = allocate_pixels(clip_pixel_count(width, height));
  std::free(image->pixels);
  image->pixels = pixels;
  if (pixels == nullptr) {
    image->width = 0;
    image->height = 0;
    IMG_error();
    return;
  }
  image->width = width;
  image->height = height;
}

void IMG_clear(IMG* image) {
  if (!raster_has_pixels(image)) {
    IMG_error();
    return;
  }
  std::memset(image->pixels, 0, raster_pixel_count(image) * sizeof(uint32_t));
}

void IMG_put_pixel(IMG* image, int32_t x, int32_t y, uint32_t colour) {
  if (!raster_has_pixels(image)) {
    IMG_error();
    return;
  }
  if (raster_contains(image, x, y)) image->pixels[raster_index(image, x, y)] = colour;
}

uint32_t IMG_get_pixel(const IMG* image, int32_t x, int32_t y) {
  if (!raster_has_pixels(image)) {
    IMG_error();
    return 0;
  }
  return raster_contains(image, x, y) ? image->pixels[raster_index(image, x, y)] : 0;
}

int32_t IMG_equal(const IMG* a, const IMG* b) {
  if (a == nullptr || b == nullptr) {
    IMG_error();
    return 0;
  }
  if (a->width != b->width || a->height != b->height) return 0;
  const size_t count = raster_pixel_count(a);
  if (count == 0) return 1;
  if (!raster_has_pixels(a) || !raster_has_pixels(b)) {
    IMG_error();
    return 0;
  }
  return std::memcmp(a->pixels, b->pixels, count * sizeof(uint32_t)) == 0 ? 1 : 0;
}

IMG* IMG_clone(const IMG* image) {
  if (!raster_has_pixels(image)) {
    IMG_error();
    return nullptr;
  }
  IMG* copy = IMG_create();
  if (copy == nullptr) return nullptr;
  IMG_resize(copy, image->width, image->height);
  if (copy->pixels == nullptr) {
    IMG_destroy(&copy);
    return nullptr;
  }
  std::memcpy(copy->pixels, image->pixels, raster_pixel_count(image) * sizeof(uint32_t));
  return copy;
}

void IMG_copy(const IMG* src, IMG* dst) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) || src->width != dst->width ||
      src->height != dst->height) {
    IMG_error();
    return;
  }
  std::memmove(dst->pixels, src->pixels, raster_pixel_count(src) * sizeof(uint32_t));
}

void IMG_fade(IMG* image, uint8_t amount) {
  if (!raster_has_pixels(image)) {
    IMG_error();
    return;
  }
  // Same result as going through get/put pixel for every position, in one pass.
  const uint32_t a = amount;
  uint32_t* pixels = image->pixels;
  const size_t count = raster_pixel_count(image);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = pixels[i];
    const uint32_t r = (p >> 16) & 0xFFu, g = (p >> 8) & 0xFFu, b = p & 0xFFu;
    pixels[i] = ((r > a ? r - a : 0) << 16) | ((g > a ? g - a : 0) << 8) | (b > a ? b - a : 0);
  }
}
