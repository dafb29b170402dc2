#include "tools/render/ffmpeg_pipe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

std::vector<char*> argument_vector(const std::string& program,
                                   const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

// Starts the program with `input` (or /dev/null) as its standard input and
// /dev/null as its standard output; its messages go to our standard error.
bool spawn(const std::string& program, const std::vector<std::string>& arguments, int input,
           pid_t* pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input >= 0) {
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv = argument_vector(program, arguments);
  const int result = posix_spawn(pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return result == 0;
}

bool ended_well(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::string ffmpeg_find() {
  const char* path = std::getenv("PATH");
  for (const char* folder = path != nullptr ? path : ""; *folder != '\0';) {
    const char* colon = std::strchr(folder, ':');
    const int length = static_cast<int>(colon != nullptr ? colon - folder : std::strlen(folder));
    char candidate[4096];
    // An empty entry is the current folder.
    if (length > 0) {
      std::snprintf(candidate, sizeof candidate, "%.*s/ffmpeg", length, folder);
    } else {
      std::snprintf(candidate, sizeof candidate, "./ffmpeg");
    }
    struct stat status {};
    if (stat(candidate, &status) == 0 && S_ISREG(status.st_mode) && access(candidate, X_OK) == 0) {
      return candidate;
    }
    if (colon == nullptr) break;
    folder = colon + 1;
  }
  return "";
}

bool ffmpeg_start(FFMPEG_PIPE* pipe, const std::string& program,
                  const std::vector<std::string>& arguments, std::string* error) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    *error = std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
    return false;
  }
  if (!spawn(program, arguments, ends[0], &pipe->pid)) {
    *error = "cannot start " + program;
    close(ends[0]);
    close(ends[1]);
    return false;
  }
  close(ends[0]);
  pipe->input = fdopen(ends[1], "wb");
  return pipe->input != nullptr;
}

bool ffmpeg_finish(FFMPEG_PIPE* pipe) {
  bool good = true;
  if (pipe->input != nullptr) good = std::fclose(pipe->input) == 0;
  pipe->input = nullptr;
  if (pipe->pid > 0) good = ended_well(pipe->pid) && good;
  pipe->pid = -1;
  return good;
}

bool ffmpeg_run(const std::string& program, const std::vector<std::string>& arguments) {
  pid_t pid = -1;
  return spawn(program, arguments, -1, &pid) && ended_well(pid);
}
