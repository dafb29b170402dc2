#include "tools/png/png_file.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "tools/files/staged_file.h"

// libpng reports errors by longjmp to the setjmp of the function that called
// it. The functions holding a setjmp keep only plain values in their frames,
// so the jump skips no destructor; buffers live in the callers.

namespace {

constexpr int bytes_per_rgb = 3;
// Fixed, so that the bytes of a file do not depend on libpng's defaults.
constexpr int compression_level = 6;
// A header may claim any size; a picture is only read when it fits this.
constexpr uint64_t max_pixels = uint64_t{1} << 28;

// What libpng last complained of, kept instead of printed.
struct PNG_COMPLAINT {
  char text[128];
};

[[noreturn]] void keep_complaint(png_structp png, png_const_charp message) {
  auto* complaint = static_cast<PNG_COMPLAINT*>(png_get_error_ptr(png));
  std::snprintf(complaint->text, sizeof complaint->text, "%s", message);
  png_longjmp(png, 1);
}

void ignore_warning(png_structp, png_const_charp) {}

bool fail(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
  return false;
}

// One row of the picture in RGB bytes, each pixel repeated `scale` times.
void fill_scaled_row(const uint32_t* row, int32_t width, int32_t scale, png_byte* out) {
  for (int32_t x = 0; x < width; ++x) {
    const uint32_t pixel = row[x];
    for (int32_t i = 0; i < scale; ++i) {
      *out++ = static_cast<png_byte>(pixel >> 16);
      *out++ = static_cast<png_byte>(pixel >> 8);
      *out++ = static_cast<png_byte>(pixel);
    }
  }
}

bool write_rows(std::FILE* stream, const uint32_t* pixels, int32_t width, int32_t height,
                int32_t scale, png_byte* row, PNG_COMPLAINT* complaint) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, complaint, keep_complaint, ignore_warning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, stream);
  png_set_compression_level(png, compression_level);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width * scale),
               static_cast<png_uint_32>(height * scale), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < height; ++y) {
    fill_scaled_row(pixels + static_cast<size_t>(y) * static_cast<size_t>(width), width, scale,
                    row);
    for (int32_t i = 0; i < scale; ++i) png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// Reads into `rgb` (grown to fit) as 8-bit RGB rows; the size in `width`,
// `height`. Every other colour type and depth is converted on the way.
bool read_rgb(std::FILE* stream, std::vector<png_byte>& rgb, std::vector<png_bytep>& rows,
              png_uint_32* width, png_uint_32* height, PNG_COMPLAINT* complaint) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, complaint, keep_complaint, ignore_warning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, stream);
  png_set_user_limits(png, PNG_max_side, PNG_max_side);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  const size_t stride = static_cast<size_t>(*width) * bytes_per_rgb;
  if (png_get_rowbytes(png, info) != stride) png_error(png, "unexpected row layout");
  if (uint64_t{*width} * *height > max_pixels) png_error(png, "too many pixels");
  rgb.resize(stride * *height);
  rows.resize(*height);
  for (png_uint_32 y = 0; y < *height; ++y) rows[y] = rgb.data() + stride * y;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

bool png_write_file(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
                    int32_t scale, std::string* error) {
  if (pixels == nullptr || width <= 0 || height <= 0 || scale <= 0 ||
      int64_t{width} * scale > PNG_max_side || int64_t{height} * scale > PNG_max_side) {
    return fail(error, "cannot write " + path + ": no picture of that size");
  }
  STAGED_FILE file;
  if (!staged_open(&file, path, error)) return false;
  std::vector<png_byte> row(static_cast<size_t>(width) * static_cast<size_t>(scale) *
                            bytes_per_rgb);
  PNG_COMPLAINT complaint{};
  if (!write_rows(file.stream, pixels, width, height, scale, row.data(), &complaint)) {
    staged_abandon(&file);
    return fail(error, "cannot write " + path + ": " + complaint.text);
  }
  return staged_commit(&file, error);
}

bool png_read_file(const std::string& path, PNG_PICTURE* picture, std::string* error) {
  std::FILE* stream = std::fopen(path.c_str(), "rb");
  if (stream == nullptr) return fail(error, "cannot open " + path + ": " + std::strerror(errno));
  std::vector<png_byte> rgb;
  std::vector<png_bytep> rows;
  png_uint_32 width = 0, height = 0;
  PNG_COMPLAINT complaint{};
  const bool read = read_rgb(stream, rgb, rows, &width, &height, &complaint);
  std::fclose(stream);
  if (!read) return fail(error, path + " is not a readable PNG: " + complaint.text);
  PNG_PICTURE result;
  result.width = static_cast<int32_t>(width);
  result.height = static_cast<int32_t>(height);
  result.pixels.resize(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < result.pixels.size(); ++i) {
    const png_byte* p = rgb.data() + i * bytes_per_rgb;
    result.pixels[i] = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
  }
  *picture = std::move(result);
  return true;
}
