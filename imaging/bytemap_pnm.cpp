// The byte map's file and text forms, written once for both twins in
// raster_file.h: a decoded colour becomes the mean of its three channels,
// rounded down, and the writers see each byte v as the grey v, v, v.

#include "imaging/bytemap.h"
#include "imaging/raster_file.h"

BYTEMAP* BYTEMAP_parse(const uint8_t* data, size_t size) {
  return raster_parse<BYTEMAP>(data, size);
}

BYTEMAP* BYTEMAP_load(const char* path) { return raster_load<BYTEMAP>(path); }
int32_t BYTEMAP_save(const BYTEMAP* map, const char* path) { return raster_save(map, path); }
char* BYTEMAP_to_text(const BYTEMAP* map) { return raster_to_text(map); }
BYTEMAP* BYTEMAP_from_text(const char* text) { return raster_from_text<BYTEMAP>(text); }

int32_t BYTEMAP_find(const char* text, const char* literal) {
  return raster_find<BYTEMAP>(text, literal);
}
