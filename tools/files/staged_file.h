#pragma once

#include <cstdio>
#include <string>

// An output file that appears whole or not at all. A regular file (or a new
// name) is written under a temporary name beside its path and renamed into
// place when complete; a failed write removes the temporary file, so a
// reader never finds half a file under the real name. Devices and pipes
// (/dev/null, /dev/full, a FIFO) cannot be renamed onto and are written in
// place; the path "-" is standard output.
struct STAGED_FILE {
  std::FILE* stream = nullptr;
  std::string path;  // where the file ends up
  std::string temp;  // where it is being written; empty when written in place
};

// On failure returns false and says why in `error` (when given), e.g.
// "cannot write out/a.png: No such file or directory".
bool staged_open(STAGED_FILE* file, const std::string& path, std::string* error);
// Flushes and closes the file and renames it into place. Returns false, and
// removes what was written, when any write to it failed (a full disk
// included).
bool staged_commit(STAGED_FILE* file, std::string* error);
// Where the bytes go until the commit: the temporary name, or the path
// itself when written in place. For a file another program fills.
const std::string& staged_writing_path(const STAGED_FILE& file);
// Closes the file and removes what was written. Safe on a file never opened.
void staged_abandon(STAGED_FILE* file);
