#include "tests/support/frame_compare.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "tools/png/png_file.h"

#ifndef QUOMBRAX_TEST_FAILURE_DIR
#define QUOMBRAX_TEST_FAILURE_DIR "test-failures"
#endif

namespace {

constexpr uint32_t marked = 0xFF0000;  // a differing pixel in the difference picture

std::string& folder() {
  static std::string chosen = QUOMBRAX_TEST_FAILURE_DIR;
  return chosen;
}

bool inside(const FrameView& frame, int32_t x, int32_t y) {
  return x < frame.width && y < frame.height;
}

uint32_t at(const FrameView& frame, int32_t x, int32_t y) {
  return frame
      .pixels[static_cast<size_t>(y) * static_cast<size_t>(frame.width) + static_cast<size_t>(x)];
}

// Red where the pictures differ or only one of them reaches, elsewhere the
// expected picture at a quarter of its brightness so the place can be told.
ImagePtr difference_of(const FrameView& actual, const FrameView& expected) {
  ImagePtr out(IMG_create());
  const int32_t width = std::max(actual.width, expected.width);
  const int32_t height = std::max(actual.height, expected.height);
  IMG_resize(out.get(), width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const bool both = inside(actual, x, y) && inside(expected, x, y);
      const bool same = both && at(actual, x, y) == at(expected, x, y);
      out->pixels[y * width + x] = same ? (at(expected, x, y) >> 2) & 0x3F3F3F : marked;
    }
  }
  return out;
}

ImagePtr image_of(const FrameView& frame) {
  ImagePtr image(IMG_create());
  IMG_resize(image.get(), frame.width, frame.height);
  std::copy(frame.pixels,
            frame.pixels + static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height),
            image->pixels);
  return image;
}

// A file name stem unique to this comparison: the test's name and a count.
std::string stem() {
  static int32_t comparisons = 0;
  std::string name = "outside-a-test";
  if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
    name = std::string(test->test_suite_name()) + "." + test->name();
  }
  for (char& c : name) {
    if (c == '/' || c == ' ') c = '_';
  }
  return name + "-" + std::to_string(++comparisons);
}

// Writes the three pictures and says where they are.
std::string written(const FrameView& actual, const FrameView& expected) {
  std::error_code failed;
  std::filesystem::create_directories(failure_folder(), failed);
  const std::string base = (std::filesystem::path(failure_folder()) / stem()).string();
  std::ostringstream said;
  const struct {
    const char* what;
    ImagePtr image;
  } pictures[] = {{"actual", image_of(actual)},
                  {"expected", image_of(expected)},
                  {"difference", difference_of(actual, expected)}};
  for (const auto& picture : pictures) {
    const std::string path = base + "-" + picture.what + ".ppm";
    const bool saved = IMG_save(picture.image.get(), path.c_str()) != 0;
    said << "\n  " << picture.what << ": " << path << (saved ? "" : " (could not be written)");
  }
  return said.str();
}

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08" PRIX32, value);
  return text;
}

}  // namespace

FrameView::FrameView(const IMG* image) {
  if (image == nullptr) return;
  width = image->width;
  height = image->height;
  pixels = image->pixels;
  is_picture = width >= 0 && height >= 0 && (pixels != nullptr || width * height == 0);
}

FrameView::FrameView(const ImagePtr& image) : FrameView(image.get()) {}

FrameView::FrameView(const PIXELS& all, int32_t frame_width) {
  pixels = all.data();
  if (all.empty()) {  // no rows of any width
    width = std::max(frame_width, 0);
    is_picture = true;
    return;
  }
  if (frame_width <= 0 || all.size() % static_cast<size_t>(frame_width) != 0) return;
  width = frame_width;
  height = static_cast<int32_t>(all.size() / static_cast<size_t>(frame_width));
  is_picture = true;
}

::testing::AssertionResult frames_equal(const char* actual_expr, const char* expected_expr,
                                        const FrameView& actual, const FrameView& expected) {
  if (!actual.is_picture || !expected.is_picture) {
    return ::testing::AssertionFailure()
           << (actual.is_picture ? expected_expr : actual_expr)
           << " is no picture (no image, no pixels, or not whole rows)";
  }
  if (actual.width != expected.width || actual.height != expected.height) {
    return ::testing::AssertionFailure()
           << actual_expr << " is " << actual.width << " x " << actual.height << ", "
           << expected_expr << " is " << expected.width << " x " << expected.height
           << written(actual, expected);
  }
  int64_t differing = 0;
  int32_t first_x = -1;
  int32_t first_y = -1;
  for (int32_t y = 0; y < actual.height; ++y) {
    for (int32_t x = 0; x < actual.width; ++x) {
      if (at(actual, x, y) == at(expected, x, y)) continue;
      if (differing++ == 0) {
        first_x = x;
        first_y = y;
      }
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << actual_expr << " and " << expected_expr << " differ in " << differing << " of "
         << static_cast<int64_t>(actual.width) * actual.height << " pixels (" << actual.width
         << " x " << actual.height << "); the first at (" << first_x << ", " << first_y
         << "): " << hex(at(actual, first_x, first_y)) << " against "
         << hex(at(expected, first_x, first_y)) << written(actual, expected);
}

::testing::AssertionResult frame_matches_file(const char* actual_expr, const char* path_expr,
                                              const FrameView& actual, const std::string& path) {
  ImagePtr expected = load_expected_picture(path);
  if (expected == nullptr) {
    return ::testing::AssertionFailure()
           << path_expr << " (" << path << ") could not be read as a picture";
  }
  const std::string named = std::string(path_expr) + " (" + path + ")";
  return frames_equal(actual_expr, named.c_str(), actual, expected.get());
}

// PNGs (the stills of docs/scenes, say) through the project's PNG library;
// the PNM family through our own reader.
ImagePtr load_expected_picture(const std::string& path) {
  if (!path.ends_with(".png")) return ImagePtr(IMG_load(path.c_str()));
  PNG_PICTURE picture;
  if (!png_read_file(path, &picture)) return nullptr;
  ImagePtr image(IMG_create());
  IMG_resize(image.get(), picture.width, picture.height);
  if (image == nullptr || image->pixels == nullptr) return nullptr;
  std::copy(picture.pixels.begin(), picture.pixels.end(), image->pixels);
  return image;
}

const std::string& failure_folder() { return folder(); }

void use_failure_folder(const std::string& chosen) { folder() = chosen; }
