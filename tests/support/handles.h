#pragma once

// Owning handles, so a failing assertion never leaks what a test made: one
// deleter per handle type, each calling its module's own destroy.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "containers/array.h"
#include "containers/sample.h"
#include "effects/cursor.h"
#include "effects/disty.h"
#include "effects/roll.h"
#include "effects/scroll.h"
#include "effects/stars.h"
#include "imaging/bytemap.h"
#include "imaging/font.h"
#include "imaging/img.h"

template <auto destroy>
struct Destroyer {
  template <typename Handle>
  void operator()(Handle* handle) const {
    destroy(&handle);
  }
};

template <typename Handle, auto destroy>
using Owned = std::unique_ptr<Handle, Destroyer<destroy>>;

using ImagePtr = Owned<IMG, IMG_destroy>;
using BytemapPtr = Owned<BYTEMAP, BYTEMAP_destroy>;
using FontPtr = Owned<FONT, FONT_destroy>;
using SamplePtr = Owned<SAMPLE, SAMPLE_destroy>;
using ArrayPtr = Owned<ARRAY, ARRAY_destroy>;
using RollPtr = Owned<ROLL, ROLL_destroy>;
using StarsPtr = Owned<STARS, STARS_destroy>;
using ScrollPtr = Owned<SCROLL, SCROLL_destroy>;
using CursorPtr = Owned<CURSOR, CURSOR_destroy>;
using DistyPtr = Owned<DISTY, DISTY_destroy>;

// Memory a module hands over to be released with free().
struct FreeDeleter {
  void operator()(void* memory) const { std::free(memory); }
};
template <typename Value>
using FreedPtr = std::unique_ptr<Value, FreeDeleter>;
