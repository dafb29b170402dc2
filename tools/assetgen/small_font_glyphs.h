#pragma once

// Hand-drawn pixel art of the 8 x 8 font; small_font.cpp assembles it.
extern const char* const ascii_glyph_art;
extern const char* const hex_digit_art[16][5];

enum Accent { grave, acute, circumflex, tilde, diaeresis, ring, accent_count };
extern const char* const accent_art[accent_count][2];
