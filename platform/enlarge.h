#pragma once

#include <cstddef>
#include <cstdint>

// Whole-number enlargement of a 0x00RRGGBB picture for a screen larger than
// it: every pixel becomes a factor x factor block of itself, so hard edges
// stay hard and every pixel keeps the same size. No SDL here, so the once a
// frame path can be timed and tested alone.

// The largest whole factor by which a width x height picture fits on a
// screen_width x screen_height screen; 0 when it does not fit even once.
int32_t ENLARGE_fit(int32_t screen_width, int32_t screen_height, int32_t width, int32_t height);

// Writes the top-left width x height pixels of `source`, whose rows are
// `stride` pixels long, `factor` times larger to `target`, whose rows start
// `target_pitch` bytes apart. Each enlarged row is written once, then copied
// for its repeats. Allocates nothing.
void ENLARGE_copy(const uint32_t* source, int32_t stride, int32_t width, int32_t height,
                  int32_t factor, uint8_t* target, size_t target_pitch);
