// The image's file and text forms, written once for both twins in
// raster_file.h: a decoded colour is stored whole as the pixel, and the
// writers see each pixel as its colour.

#include "imaging/img.h"
#include "imaging/raster_file.h"

IMG* IMG_parse(const uint8_t* data, size_t size) { return raster_parse<IMG>(data, size); }
IMG* IMG_load(const char* path) { return raster_load<IMG>(path); }
int32_t IMG_save(const IMG* image, const char* path) { return raster_save(image, path); }
char* IMG_to_text(const IMG* image) { return raster_to_text(image); }
IMG* IMG_from_text(const char* text) { return raster_from_text<IMG>(text); }
int32_t IMG_find(const char* text, const char* literal) { return raster_find<IMG>(text, literal); }
