#pragma once

// The PNM family (P1 to P6) and the "NAME{" text dumps, shared by IMG and
// BYTEMAP. Both modules read one header grammar and one pixel layout; they
// differ only in how a decoded colour becomes a pixel and how a pixel is
// written back, which each supplies through PNM_FORMAT. Every failure of the
// whole-image operations calls the module's error hook once and gives null
// or 0.
//
// All input is treated as untrusted:
// - the magic comes before the numbers, and a header byte in 33..126 that is
//   neither a digit, "#" nor the magic's "P" fails the read;
// - only P1 to P6 are read: any other magic, among them the P7 (PAM) that
//   netpbm and ImageMagick write, fails the read like an unknown one;
// - a maxval of 0 or above 65535 fails the read. Up to 255 the maxval is
//   only read: every sample is the channel as it stands, unscaled (a P5 with
//   maxval 15 and sample 15 is grey 15). Above 255, binary samples take two
//   bytes, most significant first, and every sample, binary or text, becomes
//   (sample x 255 + maxval / 2) / maxval, 0..255 rounded to nearest; a
//   sample above such a maxval counts as the maxval (255), as no narrower
//   sample is refused for exceeding its maxval either;
// - a width or height of 0, or more pixels than a resize accepts (16384 x
//   16384, clip.h), fails the read before anything is allocated (checked
//   after the memory readers' P4 width padding);
// - short pixel data fails the read: when the bytes left cannot hold the
//   pixels the header announces, the read fails before allocating, and when
//   the data runs out while decoding, the partly decoded image is freed.
//   No partial image is ever returned;
// - with a maxval up to 255, text samples and dump values above 255 keep
//   their low 8 bits, so every decoded colour is 0x00RRGGBB;
// - memory readers never read past the block's size, text readers never
//   step past the terminating NUL.

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Where the bytes of an image come from: a memory block or an open stream.
struct PNM_SOURCE {
  const uint8_t* data;  // memory block, or null when reading `file`
  size_t size;
  size_t position;
  std::FILE* file;
};

PNM_SOURCE PNM_memory_source(const uint8_t* data, size_t size);
PNM_SOURCE PNM_file_source(std::FILE* file);

struct PNM_HEADER {
  int32_t format;  // the magic digit, 1 to 6
  int32_t width;   // padded to a multiple of 8 for P4 from memory
  int32_t height;
  int32_t maxval;  // 1 to 65535; scales samples only above 255; 1 for P1 and P4
};

// Reads the header and leaves the source at the first byte of pixel data.
// 1 on success, 0 on a malformed, refused or truncated header (a refused
// size or maxval included).
int32_t PNM_read_header(PNM_SOURCE* source, PNM_HEADER* header);

// How one module reads and writes its records (raster_file.h fills it from
// the twin's RASTER_TRAITS, so the reader and writers compile once for both
// twins). `make` returns a record of
// width x height zeroed pixels or null; `store` puts colour 0x00RRGGBB at
// pixel `index`; `discard` frees a record that `make` returned; `rgb_at` is
// the colour of pixel `index` of a pixel buffer; `error` is the module's
// error hook, called once by every failed operation below.
struct PNM_FORMAT {
  const char* name;  // the text dump's frame, "IMG" or "BYTEMAP"
  char magic;        // the file the writer makes: '6' (P6) or '5' (P5)
  void* (*make)(int32_t width, int32_t height);
  void (*store)(void* record, size_t index, uint32_t rgb);
  void (*discard)(void* record);
  uint32_t (*rgb_at)(const void* pixels, size_t index);
  void (*error)();
};

// A record seen from the writers. A missing record is seen without pixels.
struct PNM_PIXELS {
  int32_t width;
  int32_t height;
  const void* pixels;
};

// Decodes one image from `source` without reporting; a new record or null.
void* PNM_read(PNM_SOURCE* source, const PNM_FORMAT* format);

// The whole-image readers; each returns a new record from `format`, or null.
void* PNM_parse(const PNM_FORMAT* format, const uint8_t* data, size_t size);
void* PNM_load(const PNM_FORMAT* format, const char* path);

// Writes "P6" (three bytes per pixel: red, green, blue) or "P5" (one byte per
// pixel: the low byte of the colour). 1 on success; 0 for a null path, a
// missing buffer, a width or height below 1, a file that cannot be opened or
// any failed write, including the final flush.
int32_t PNM_save(const PNM_FORMAT* format, PNM_PIXELS image, const char* path);

// The text dump "NAME{\nP3\nW H\n255\n" followed by a twelve-character
// "%3d %3d %3d " group per pixel, a line feed ending every sixth group and
// the last, and "}\n"; "NAME{}" for an image without pixels. A new
// std::malloc'd string, or null for a missing buffer or when memory runs out.
char* PNM_to_text(const PNM_FORMAT* format, PNM_PIXELS image);

// Reads a dump written by PNM_to_text under the format's name; null when the
// text is null, lacks the frame, announces a size the PNM readers refuse (0
// included: a dump of an empty image has no size line) or holds fewer values
// than the size needs.
void* PNM_from_text(const PNM_FORMAT* format, const char* text);

// Index just past the first occurrence of `literal` in `text`, 0 when it does
// not occur (or is empty) and when either is null.
int32_t PNM_find(const PNM_FORMAT* format, const char* text, const char* literal);
