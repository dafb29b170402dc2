#pragma once

// The file and text forms (PNM family and the "NAME{" dump), written once for
// the image and the byte map. The grammar, the limits and the handling of
// untrusted input live in pnm.h; the twin's RASTER_TRAITS say how a decoded
// colour becomes a pixel and how a pixel is written back. Not part of the
// interface.

#include "imaging/pnm.h"
#include "imaging/raster.h"
#include "imaging/raster_life.h"

namespace raster_detail {

// A record of exactly width x height zeroed pixels, or none at all.
template <class Record>
void* pnm_make(int32_t width, int32_t height) {
  Record* record = raster_create<Record>();
  if (record == nullptr) return nullptr;
  raster_resize(record, width, height);
  const bool sized = record->width == width && record->height == height;
  if (!sized || (record->pixels == nullptr && width > 0 && height > 0)) raster_destroy(&record);
  return record;
}

template <class Record>
void pnm_store(void* record, size_t index, uint32_t rgb) {
  static_cast<Record*>(record)->pixels[index] = RASTER_TRAITS<Record>::from_rgb(rgb);
}

template <class Record>
void pnm_discard(void* record) {
  auto* typed = static_cast<Record*>(record);
  raster_destroy(&typed);
}

template <class Record>
uint32_t pnm_rgb_at(const void* pixels, size_t index) {
  return RASTER_TRAITS<Record>::rgb_of(static_cast<const RASTER_PIXEL<Record>*>(pixels)[index]);
}

template <class Record>
constexpr PNM_FORMAT pnm_format = {RASTER_TRAITS<Record>::name,
                                   RASTER_TRAITS<Record>::file_magic,
                                   pnm_make<Record>,
                                   pnm_store<Record>,
                                   pnm_discard<Record>,
                                   pnm_rgb_at<Record>,
                                   RASTER_TRAITS<Record>::error};

// A record seen from the writers. A missing record is seen without pixels.
template <class Record>
PNM_PIXELS pnm_view(const Record* record) {
  return record ? PNM_PIXELS{record->width, record->height, record->pixels} : PNM_PIXELS{};
}

}  // namespace raster_detail

template <class Record>
Record* raster_parse(const uint8_t* data, size_t size) {
  return static_cast<Record*>(PNM_parse(&raster_detail::pnm_format<Record>, data, size));
}

template <class Record>
Record* raster_load(const char* path) {
  return static_cast<Record*>(PNM_load(&raster_detail::pnm_format<Record>, path));
}

template <class Record>
int32_t raster_save(const Record* raster, const char* path) {
  return PNM_save(&raster_detail::pnm_format<Record>, raster_detail::pnm_view(raster), path);
}

template <class Record>
char* raster_to_text(const Record* raster) {
  return PNM_to_text(&raster_detail::pnm_format<Record>, raster_detail::pnm_view(raster));
}

template <class Record>
Record* raster_from_text(const char* text) {
  return static_cast<Record*>(PNM_from_text(&raster_detail::pnm_format<Record>, text));
}

template <class Record>
int32_t raster_find(const char* text, const char* literal) {
  return PNM_find(&raster_detail::pnm_format<Record>, text, literal);
}
