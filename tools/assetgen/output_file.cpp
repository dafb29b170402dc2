#include "tools/assetgen/output_file.h"

#include <cstdio>
#include <cstdlib>

void write_file(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (file && std::fclose(file) != 0) written = false;
  if (!written) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}
