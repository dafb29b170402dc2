#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

// Runs the quombrax-render program built with the tests and brings back how
// it ended and what it said.
struct RENDER_RESULT {
  int status = -1;     // exit status; -1 when it did not exit by itself
  std::string output;  // standard output
  std::string errors;  // standard error
};

struct RENDER_SETTINGS {
  std::vector<std::string> environment;  // NAME=value added to ours
  int64_t file_size_limit = -1;          // bytes a file may grow to, as on a full disk
};

RENDER_RESULT run_render(const std::vector<std::string>& arguments,
                         const RENDER_SETTINGS& settings = {});

std::string read_bytes(const std::filesystem::path& path);
