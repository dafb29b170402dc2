#pragma once

// Life cycle, pixel access, comparison and copies of whole rasters, written
// once for the image and the byte map. Every operation that touches pixels
// reports a raster without a buffer and leaves it alone. Not part of the
// interface.

#include <cstdlib>
#include <cstring>

#include "imaging/raster.h"

namespace raster_detail {

constexpr int32_t new_side = 16;

// A buffer for count pixels, zero-filled. Never empty, so that a 0 x 0 raster
// still has a buffer and "no buffer" always means a failed allocation.
template <class Record>
RASTER_PIXEL<Record>* allocate_pixels(size_t count) {
  return static_cast<RASTER_PIXEL<Record>*>(
      std::calloc(count > 0 ? count : 1, sizeof(RASTER_PIXEL<Record>)));
}

template <class Record>
size_t byte_count(const Record* raster) {
  return raster_pixel_count(raster) * sizeof(RASTER_PIXEL<Record>);
}

}  // namespace raster_detail

// A new_side x new_side raster of zeros, or null (reported once) when either
// allocation fails.
template <class Record>
Record* raster_create() {
  auto* raster = static_cast<Record*>(std::calloc(1, sizeof(Record)));
  auto* pixels = raster_detail::allocate_pixels<Record>(
      clip_pixel_count(raster_detail::new_side, raster_detail::new_side));
  if (raster == nullptr || pixels == nullptr) {
    std::free(raster);
    std::free(pixels);
    RASTER_TRAITS<Record>::error();
    return nullptr;
  }
  raster->width = raster_detail::new_side;
  raster->height = raster_detail::new_side;
  raster->pixels = pixels;
  return raster;
}

template <class Record>
void raster_destroy(Record** raster) {
  if (raster == nullptr || *raster == nullptr) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  std::free((*raster)->pixels);
  std::free(*raster);
  *raster = nullptr;
}

template <class Record>
void raster_resize(Record* raster, int32_t width, int32_t height) {
  // Refusing a bad size keeps the old raster whole, so width x height always
  // describes the buffer; the pixel bound keeps width x height from
  // overflowing or asking for an absurd buffer.
  if (raster == nullptr || !clip_size_acceptable(width, height)) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  auto* pixels = raster_detail::allocate_pixels<Record>(clip_pixel_count(width, height));
  std::free(raster->pixels);
  raster->pixels = pixels;
  if (pixels == nullptr) {  // width x height keeps matching the absent buffer
    raster->width = 0;
    raster->height = 0;
    RASTER_TRAITS<Record>::error();
    return;
  }
  raster->width = width;
  raster->height = height;
}

template <class Record>
void raster_clear(Record* raster) {
  if (!raster_has_pixels(raster)) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  std::memset(raster->pixels, 0, raster_detail::byte_count(raster));
}

template <class Record>
void raster_put_pixel(Record* raster, int32_t x, int32_t y, RASTER_PIXEL<Record> value) {
  if (!raster_has_pixels(raster)) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  if (raster_contains(raster, x, y)) raster->pixels[raster_index(raster, x, y)] = value;
}

template <class Record>
RASTER_PIXEL<Record> raster_get_pixel(const Record* raster, int32_t x, int32_t y) {
  if (!raster_has_pixels(raster)) {
    RASTER_TRAITS<Record>::error();
    return 0;
  }
  return raster_contains(raster, x, y) ? raster->pixels[raster_index(raster, x, y)] : 0;
}

template <class Record>
int32_t raster_equal(const Record* a, const Record* b) {
  if (a == nullptr || b == nullptr) {
    RASTER_TRAITS<Record>::error();
    return 0;
  }
  if (a->width != b->width || a->height != b->height) return 0;
  if (raster_pixel_count(a) == 0) return 1;  // nothing to compare, buffer or not
  if (!raster_has_pixels(a) || !raster_has_pixels(b)) {
    RASTER_TRAITS<Record>::error();
    return 0;
  }
  return std::memcmp(a->pixels, b->pixels, raster_detail::byte_count(a)) == 0 ? 1 : 0;
}

template <class Record>
Record* raster_clone(const Record* raster) {
  if (!raster_has_pixels(raster)) {
    RASTER_TRAITS<Record>::error();
    return nullptr;
  }
  Record* copy = raster_create<Record>();
  if (copy == nullptr) return nullptr;
  raster_resize(copy, raster->width, raster->height);
  if (copy->pixels == nullptr) {
    raster_destroy(&copy);
    return nullptr;
  }
  std::memcpy(copy->pixels, raster->pixels, raster_detail::byte_count(raster));
  return copy;
}

// Source and destination may be one raster.
template <class Record>
void raster_copy(const Record* src, Record* dst) {
  if (!raster_has_pixels(src) || !raster_has_pixels(dst) || src->width != dst->width ||
      src->height != dst->height) {
    RASTER_TRAITS<Record>::error();
    return;
  }
  std::memmove(dst->pixels, src->pixels, raster_detail::byte_count(src));
}
