#pragma once

#include <string>

// Each maker writes one asset file into the output folder.
void make_font_bitmap(const std::string& folder);
void make_picture_sheet(const std::string& folder);
void make_logo_picture(const std::string& folder);
void make_roll_picture(const std::string& folder);
void make_corner_picture(const std::string& folder);
void make_instruments(const std::string& folder);
void make_scroll_text(const std::string& folder);
void make_menu_icon(const std::string& folder);
