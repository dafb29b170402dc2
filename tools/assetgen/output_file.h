#pragma once

#include <string>

// Writes the bytes as the whole file; the generator stops with a message if
// the file cannot be written, so a half-made set of assets is never taken
// for a good one.
void write_file(const std::string& path, const std::string& bytes);
