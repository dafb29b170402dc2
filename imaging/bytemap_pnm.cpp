// BYTEMAP's file and text forms. The grammar, the limits and the handling of
// untrusted input live in pnm.h; here a decoded colour becomes the mean of its
// three channels, and the writers see each byte v as the grey v, v, v.

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

const PNM_TARGET map_target = {
    PNM_make<BYTEMAP, BYTEMAP_create, BYTEMAP_resize, BYTEMAP_destroy>, store_mean,
    PNM_discard<BYTEMAP, BYTEMAP_destroy>};

PNM_PIXELS view_of(const BYTEMAP* map) {
  return PNM_PIXELS{map->width, map->height, map->pixels, grey_at};
}

BYTEMAP* reported(void* record) {
  if (!record) {
    BYTEMAP_error();
  }
  return static_cast<BYTEMAP*>(record);
}

}  // namespace

BYTEMAP* BYTEMAP_parse(const uint8_t* data, size_t size) {
  return reported(PNM_parse(data, size, &map_target));
}

BYTEMAP* BYTEMAP_load(const char* path) { return reported(PNM_load(path, &map_target)); }

BYTEMAP* BYTEMAP_from_text(const char* text) {
  return reported(PNM_from_text(text, "BYTEMAP", &map_target));
}

int32_t BYTEMAP_save(const BYTEMAP* map, const char* path) {
  PNM_PIXELS view = map ? view_of(map) : PNM_PIXELS{};
  int32_t saved = map ? PNM_save(path, '5', &view) : 0;
  if (!saved) {
    BYTEMAP_error();
  }
  return saved;
}

char* BYTEMAP_to_text(const BYTEMAP* map) {
  PNM_PIXELS view = map ? view_of(map) : PNM_PIXELS{};
  char* text = map ? PNM_to_text("BYTEMAP", &view) : nullptr;
  if (!text) {
    BYTEMAP_error();
  }
  return text;
}

int32_t BYTEMAP_find(const char* text, const char* literal) {
  if (!text || !literal) {
    BYTEMAP_error();
    return 0;
  }
  return PNM_find(text, literal);
}
