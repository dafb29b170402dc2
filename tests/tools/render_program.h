#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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
size_t count_entries(const std::filesystem::path& folder);

// A fresh, empty folder for one test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};
