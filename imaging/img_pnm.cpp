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

const PNM_FORMAT image_format = {"IMG",
                                 '6',
                                 PNM_make<IMG, IMG_create, IMG_resize, IMG_destroy>,
                                 store_colour,
                                 PNM_discard<IMG, IMG_destroy>,
                                 colour_at,
                                 IMG_error};

}  // namespace

IMG* IMG_parse(const uint8_t* data, size_t size) {
  return static_cast<IMG*>(PNM_parse(&image_format, data, size));
}

IMG* IMG_load(const char* path) { return static_cast<IMG*>(PNM_load(&image_format, path)); }

int32_t IMG_save(const IMG* image, const char* path) {
  return PNM_save(&image_format, PNM_view(image), path);
}

char* IMG_to_text(const IMG* image) { return PNM_to_text(&image_format, PNM_view(image)); }

IMG* IMG_from_text(const char* text) {
  return static_cast<IMG*>(PNM_from_text(&image_format, text));
}

int32_t IMG_find(const char* text, const char* literal) {
  return PNM_find(&image_format, text, literal);
}
