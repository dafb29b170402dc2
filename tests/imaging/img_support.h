#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/img.h"
#include "tests/support/failing_allocation.h"
#include "tests/support/handles.h"
#include "tests/support/images.h"
#include "tests/support/output_capture.h"
#include "tests/support/pixels.h"

// Every pixel distinct and non-zero, so a misplaced copy shows.
inline ImagePtr numbered_image(int32_t width, int32_t height, uint32_t base = 0x010000) {
  return make_image(width, height, [=](int32_t x, int32_t y) {
    return base + static_cast<uint32_t>(y * width + x) + 1;
  });
}

inline const char* const img_error_line = "IMG error\n";
