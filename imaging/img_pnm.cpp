// IMG's file and text forms. The grammar, the limits and the handling of
// untrusted input live in pnm.h; here a decoded colour is stored whole as the
// pixel, and the writers see each pixel as its colour.

#include "imaging/img.h"
#include "imaging/pnm.h"

namespace {

void store_colour(void* record, size_t index, uint32_t rgb) {
  static_cast<IMG*>(record)->pixels[index] = rgb;
}

uint32_t colour_at(const void* pixels, size_t index) {
  return static_cast<const uint32_t*>(pixels)[index];
}

const PNM_TARGET image_target = {PNM_make<IMG, IMG_create, IMG_resize, IMG_destroy>,
                                 store_colour, PNM_discard<IMG, IMG_destroy>};

PNM_PIXELS view_of(const IMG* image) {
  return PNM_PIXELS{image->width, image->height, image->pixels, colour_at};
}

IMG* reported(void* record) {
  if (!record) {
    IMG_error();
  }
  return static_cast<IMG*>(record);
}

}  // namespace

IMG* IMG_parse(const uint8_t* data, size_t size) {
  return reported(PNM_parse(data, size, &image_target));
}

IMG* IMG_load(const char* path) { return reported(PNM_load(path, &image_target)); }

IMG* IMG_from_text(const char* text) {
  return reported(PNM_from_text(text, "IMG", &image_target));
}

int32_t IMG_save(const IMG* image, const char* path) {
  PNM_PIXELS view = image ? view_of(image) : PNM_PIXELS{};
  int32_t saved = image ? PNM_save(path, '6', &view) : 0;
  if (!saved) {
    IMG_error();
  }
  return saved;
}

char* IMG_to_text(const IMG* image) {
  PNM_PIXELS view = image ? view_of(image) : PNM_PIXELS{};
  char* text = image ? PNM_to_text("IMG", &view) : nullptr;
  if (!text) {
    IMG_error();
  }
  return text;
}

int32_t IMG_find(const char* text, const char* literal) {
  if (!text || !literal) {
    IMG_error();
    return 0;
  }
  return PNM_find(text, literal);
}
