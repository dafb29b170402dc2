// BYTEMAP's file and text forms. The grammar, the limits and the handling of
// untrusted input live in pnm.h; here a decoded colour becomes the mean of its
// three channels, rounded down, and the writers see each byte v as the grey
// v, v, v.

#include "imaging/bytemap.h"
#include "imaging/pnm.h"

namespace {

void store_mean(void* record, size_t index, uint32_t rgb) {
  uint32_t sum = (rgb >> 16 & 0xFFu) + (rgb >> 8 & 0xFFu) + (rgb & 0xFFu);
  static_cast<BYTEMAP*>(record)->pixels[index] = static_cast<uint8_t>(sum / 3);
}

uint32_t grey_at(const void* pixels, size_t index) {
  return static_cast<const uint8_t*>(pixels)[index] * 0x010101u;
}

const PNM_FORMAT map_format = {"BYTEMAP",
                               '5',
                               PNM_make<BYTEMAP, BYTEMAP_create, BYTEMAP_resize, BYTEMAP_destroy>,
                               store_mean,
                               PNM_discard<BYTEMAP, BYTEMAP_destroy>,
                               grey_at,
                               BYTEMAP_error};

}  // namespace

BYTEMAP* BYTEMAP_parse(const uint8_t* data, size_t size) {
  return static_cast<BYTEMAP*>(PNM_parse(&map_format, data, size));
}

BYTEMAP* BYTEMAP_load(const char* path) {
  return static_cast<BYTEMAP*>(PNM_load(&map_format, path));
}

int32_t BYTEMAP_save(const BYTEMAP* map, const char* path) {
  return PNM_save(&map_format, PNM_view(map), path);
}

char* BYTEMAP_to_text(const BYTEMAP* map) { return PNM_to_text(&map_format, PNM_view(map)); }

BYTEMAP* BYTEMAP_from_text(const char* text) {
  return static_cast<BYTEMAP*>(PNM_from_text(&map_format, text));
}

int32_t BYTEMAP_find(const char* text, const char* literal) {
  return PNM_find(&map_format, text, literal);
}
