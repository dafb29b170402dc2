#pragma once

#include <cstdint>

// Settings of the SDL back end that only tests change.

// The depth asked of SDL_SetVideoMode: 32, so that the screen surface holds
// the image's own pixel layout on 16- and 24-bit displays alike. Tests ask
// for 16 to reach the converting present.
void SDL_BACKEND_request_depth(int32_t depth);
