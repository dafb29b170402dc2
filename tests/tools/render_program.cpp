#include "tests/tools/render_program.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void become_render(const std::vector<std::string>& arguments,
                                const RENDER_SETTINGS& settings, const std::string& out,
                                const std::string& err) {
  if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) {
    _exit(126);
  }
  for (const std::string& variable : settings.environment) {
    putenv(const_cast<char*>(variable.c_str()));
  }
  if (settings.file_size_limit >= 0) {
    // A write past the limit then fails with EFBIG, as one on a full disk
    // fails, instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(settings.file_size_limit),
                       static_cast<rlim_t>(settings.file_size_limit)};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(QUOMBRAX_RENDER_PROGRAM));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(QUOMBRAX_RENDER_PROGRAM, argv.data());
  _exit(127);
}

}  // namespace

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

RENDER_RESULT run_render(const std::vector<std::string>& arguments,
                         const RENDER_SETTINGS& settings) {
  // Kept apart from every test's own folder, so counting its files is exact.
  const ScratchFolder streams;
  const std::string out = streams.file("stdout");
  const std::string err = streams.file("stderr");
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = fork();
  if (pid == 0) become_render(arguments, settings, out, err);
  RENDER_RESULT result;
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return result;
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  result.output = read_bytes(out);
  result.errors = read_bytes(err);
  return result;
}
