#include "platform/sdldpy.h"

#include <cstdlib>

#include "imaging/img.h"
#include "platform/backend.h"
#include "platform/sdldpy_internal.h"

const MODULE_ID SDLDPY_id = {"SDLDPY  ", "20101009", "LINUXSDL", "Kadwelon", "CODE    "};

namespace {

SDLDPY* the_display = nullptr;
uint32_t video_flags = 0;
// A failed mode change leaves the record's old size behind but no screen:
// the back ends drop the old screen before they try the new mode.
bool screen_open = false;
const char empty_text[] = "";

constexpr int32_t default_size = 256;

bool is_the_display(const SDLDPY* display) { return display != nullptr && display == the_display; }

// The checks every present makes before it touches the screen.
bool presentable(const SDLDPY* display, const IMG* image) {
  return is_the_display(display) && image != nullptr && image->pixels != nullptr;
}

bool presentable_at_size(const SDLDPY* display, const IMG* image) {
  return presentable(display, image) && image->width == display->width &&
         image->height == display->height;
}

}  // namespace

void SDLDPY_error() {}

int32_t SDLDPY_display_exists() { return the_display != nullptr ? 1 : 0; }

int32_t SDLDPY_screen_is_open(const SDLDPY* display) {
  return is_the_display(display) && screen_open ? 1 : 0;
}

SDLDPY* SDLDPY_create() {
  if (the_display != nullptr) {
    SDLDPY_error();
    return the_display;
  }
  video_flags = SDLDPY_program_video_flags;
  the_display = static_cast<SDLDPY*>(std::calloc(1, sizeof(SDLDPY)));
  if (the_display == nullptr) {
    SDLDPY_error();
    return nullptr;
  }
  SDLDPY_set_mode(the_display, default_size, default_size);
  return the_display;
}

void SDLDPY_set_mode(SDLDPY* display, int32_t width, int32_t height) {
  if (display == nullptr || width < 0 || height < 0) {
    SDLDPY_error();
    return;
  }
  int32_t bits_per_pixel = 0;
  screen_open = BACKEND_screen_open(width, height, video_flags, &bits_per_pixel) != 0;
  if (!screen_open) {
    SDLDPY_error();
    return;
  }
  display->bits_per_pixel = bits_per_pixel;
  display->width = width;
  display->height = height;
}

void SDLDPY_present(SDLDPY* display, const IMG* image) {
  if (!presentable_at_size(display, image)) {
    SDLDPY_error();
    return;
  }
  BACKEND_screen_show(image->pixels, image->width, image->height);
}

void SDLDPY_present_direct(SDLDPY* display, const IMG* image) {
  if (!presentable_at_size(display, image)) {
    SDLDPY_error();
    return;
  }
  BACKEND_screen_show_direct(image->pixels, image->width, image->height);
}

void SDLDPY_present_converted(SDLDPY* display, const IMG* image) {
  if (!presentable(display, image)) {
    SDLDPY_error();
    return;
  }
  int32_t width = image->width < display->width ? image->width : display->width;
  int32_t height = image->height < display->height ? image->height : display->height;
  if (width <= 0 || height <= 0) return;
  // The image's own row length is kept, so a wider image is not sheared.
  BACKEND_screen_show_converted(image->pixels, image->width, width, height);
}

void SDLDPY_destroy(SDLDPY** display) {
  if (display == nullptr || !is_the_display(*display)) {
    SDLDPY_error();
    return;
  }
  BACKEND_screen_close();
  screen_open = false;
  std::free(the_display);
  the_display = nullptr;
  *display = nullptr;
}

const char* SDLDPY_to_text(const SDLDPY* display) {
  if (!is_the_display(display)) {
    SDLDPY_error();
    return nullptr;
  }
  return empty_text;
}

SDLDPY* SDLDPY_from_text(const char* text) {
  if (text == nullptr || the_display != nullptr) SDLDPY_error();
  return nullptr;
}

int32_t SDLDPY_equal(const SDLDPY* a, const SDLDPY* b) {
  if (a != nullptr && a == b && is_the_display(a)) return 1;
  SDLDPY_error();
  return 0;
}

SDLDPY* SDLDPY_clone(SDLDPY* display) {
  if (!is_the_display(display)) {
    SDLDPY_error();
    return nullptr;
  }
  return display;
}
