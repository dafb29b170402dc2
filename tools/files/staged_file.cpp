#include "tools/files/staged_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool say(std::string* error, const std::string& path, int number) {
  if (error != nullptr) *error = "cannot write " + path + ": " + std::strerror(number);
  return false;
}

// Only a regular file can be replaced by a rename; a missing one is made.
bool written_in_place(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
}

bool is_standard_output(const STAGED_FILE& file) { return file.stream == stdout; }

}  // namespace

bool staged_open(STAGED_FILE* file, const std::string& path, std::string* error) {
  *file = STAGED_FILE{};
  file->path = path;
  if (path == "-") {
    file->stream = stdout;
    return true;
  }
  if (!written_in_place(path)) {
    // The process id keeps two programs writing the same name apart.
    file->temp = path + ".part" + std::to_string(getpid());
  }
  const std::string& target = staged_writing_path(*file);
  // Not inherited by programs started meanwhile (an encoder).
  file->stream = std::fopen(target.c_str(), "wbe");
  if (file->stream == nullptr) {
    const int number = errno;
    file->temp.clear();
    return say(error, path, number);
  }
  return true;
}

bool staged_commit(STAGED_FILE* file, std::string* error) {
  errno = 0;
  bool good = std::ferror(file->stream) == 0 && std::fflush(file->stream) == 0;
  int number = errno;
  if (!is_standard_output(*file)) {
    if (std::fclose(file->stream) != 0 && good) {
      good = false;
      number = errno;
    }
    file->stream = nullptr;
  }
  if (good && !file->temp.empty() && std::rename(file->temp.c_str(), file->path.c_str()) != 0) {
    good = false;
    number = errno;
  }
  if (!good) {
    staged_abandon(file);
    // A failed stream write may leave errno unset; a full device is the usual cause.
    return say(error, file->path, number != 0 ? number : ENOSPC);
  }
  file->temp.clear();
  return true;
}

const std::string& staged_writing_path(const STAGED_FILE& file) {
  return file.temp.empty() ? file.path : file.temp;
}

void staged_abandon(STAGED_FILE* file) {
  if (file->stream != nullptr && !is_standard_output(*file)) std::fclose(file->stream);
  file->stream = nullptr;
  if (!file->temp.empty()) std::remove(file->temp.c_str());
  file->temp.clear();
}
