// Image life cycle, pixel access and the fade. The operations both twins
// share are written once in raster_life.h.

#include "imaging/img.h"

#include "imaging/raster_life.h"

const MODULE_ID IMG_id = {"IMG     ", "20101021", "Kadwelon", "C       ", "CODE    "};

void IMG_error() { raster_error<IMG>(); }
void IMG_set_error_report(int32_t on) { raster_error_report<IMG> = on != 0; }

IMG* IMG_create() { return raster_create<IMG>(); }
void IMG_destroy(IMG** image) { raster_destroy(image); }
void IMG_resize(IMG* image, int32_t width, int32_t height) { raster_resize(image, width, height); }
void IMG_clear(IMG* image) { raster_clear(image); }

void IMG_put_pixel(IMG* image, int32_t x, int32_t y, uint32_t colour) {
  raster_put_pixel(image, x, y, colour);
}

uint32_t IMG_get_pixel(const IMG* image, int32_t x, int32_t y) {
  return raster_get_pixel(image, x, y);
}

int32_t IMG_equal(const IMG* a, const IMG* b) { return raster_equal(a, b); }
IMG* IMG_clone(const IMG* image) { return raster_clone(image); }
void IMG_copy(const IMG* src, IMG* dst) { raster_copy(src, dst); }

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
