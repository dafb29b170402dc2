// The whole show with its n-th allocation failing, for every n that start-up
// and a stretch of every scene make: each run must end by itself, on q with
// status 0 or at start-up with status 1 and one line saying what it could not
// make. A crash, a hang or a sanitizer report fails the sweep.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/capture.h"
#include "show/quombrax.h"
#include "tests/support/failing_allocation.h"

namespace {

constexpr int32_t fade_frames = 32;
// Frames shown of each scene before Space moves on. Every scene builds what
// it needs at start-up or before its first frame, so one frame of each meets
// every allocation a longer stretch would; it keeps the sweep inside its time.
constexpr int32_t frames_per_scene = 1;
// Scene four takes three presses (curtain, logo, melt), scene five draws its
// subdivision frames first: eight presses go once round all five and into
// scene one again.
constexpr int32_t presses = 8;
constexpr unsigned time_limit_seconds = 30;
constexpr int parallel_runs = 2;
#ifdef QUOMBRAX_SWEEP_SAMPLED
// A sanitizer build runs ten times slower: every allocation of the first
// stretch of start-up, then every eleventh (eleven is prime to the five
// allocations that each of scene three's star frames makes, so every one of
// them is met).
constexpr int64_t every_one_up_to = 120;
constexpr int64_t stride = 11;
#else
constexpr int64_t every_one_up_to = INT64_MAX;
constexpr int64_t stride = 1;
#endif

struct RUN {
  int status = -1;  // exit status, or -1 when a signal ended it
  int signal = 0;
  std::string errors;       // what it wrote on standard error
  int64_t allocations = 0;  // made by the show, when the run counted it
};

FailingAllocation* failing = nullptr;
FILE* count_file = nullptr;
// The files are named after the test process, whose children write them.
const pid_t sweep_owner = getpid();

void write_count() {
  if (count_file == nullptr || failing == nullptr) return;
  std::fprintf(count_file, "%lld\n", static_cast<long long>(failing->calls()));
  std::fclose(count_file);
}

std::string errors_path(int64_t nth) {
  return testing::TempDir() + "quombrax_sweep_" + std::to_string(sweep_owner) + "_" +
         std::to_string(nth) + ".err";
}

std::string count_path() {
  return testing::TempDir() + "quombrax_sweep_" + std::to_string(sweep_owner) + ".count";
}

[[noreturn]] void run_child(int64_t nth, const std::string& errors, const std::string& counts) {
  if (std::freopen(errors.c_str(), "w", stderr) == nullptr) _exit(91);
  if (nth == 0) count_file = std::fopen(counts.c_str(), "w");
  alarm(time_limit_seconds);
  CAPTURE_reset();
  int32_t frame = fade_frames + frames_per_scene;
  for (int32_t press = 0; press < presses; ++press, frame += fade_frames + frames_per_scene) {
    CAPTURE_press(frame, ' ');
  }
  CAPTURE_press(frame, 'q');
  std::atexit(write_count);
  failing = new FailingAllocation(nth);
  QUOMBRAX_run();
}

std::string read_file(const std::string& path) {
  std::string text;
  if (FILE* file = std::fopen(path.c_str(), "r")) {
    char chunk[512];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
    std::fclose(file);
  }
  std::remove(path.c_str());
  return text;
}

pid_t start_run(int64_t nth) {
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = fork();
  if (pid == 0) run_child(nth, errors_path(nth), count_path());
  return pid;
}

RUN finish_run(int64_t nth, int status) {
  RUN run;
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  run.errors = read_file(errors_path(nth));
  return run;
}

// nth = 0 fails nothing and brings back the count of allocations made.
RUN run_failing(int64_t nth) {
  int status = 0;
  pid_t pid = start_run(nth);
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return RUN{};
  RUN run = finish_run(nth, status);
  if (nth == 0) run.allocations = std::atoll(read_file(count_path()).c_str());
  return run;
}

// Every chosen n, a few runs at a time; `done` hears of each as it ends.
template <typename Done>
void run_each(const std::vector<int64_t>& chosen, Done done) {
  std::map<pid_t, int64_t> running;
  size_t next = 0;
  while (next < chosen.size() || !running.empty()) {
    while (next < chosen.size() && running.size() < parallel_runs) {
      pid_t pid = start_run(chosen[next]);
      ASSERT_GT(pid, 0);
      running[pid] = chosen[next++];
    }
    int status = 0;
    pid_t pid = waitpid(-1, &status, 0);
    ASSERT_GT(pid, 0);
    auto found = running.find(pid);
    if (found == running.end()) continue;
    done(found->second, finish_run(found->second, status));
    running.erase(found);
  }
}

bool one_line(const std::string& text) {
  return !text.empty() && text.find('\n') == text.size() - 1;
}

// How a run ended, in the words of the summary.
std::string outcome(const RUN& run) {
  if (run.signal == SIGALRM) return "hung";
  if (run.signal != 0) return "killed by signal " + std::to_string(run.signal);
  if (run.status == 0 && run.errors.empty()) return "quit on q";
  if (run.status == 1 && one_line(run.errors) && run.errors.rfind("quombrax: ", 0) == 0) {
    return "refused: " + run.errors.substr(0, run.errors.size() - 1);
  }
  return "status " + std::to_string(run.status) + " with " + std::to_string(run.errors.size()) +
         " bytes on standard error";
}

TEST(AllocationSweep, EveryFailedAllocationEndsInAQuitOrAOneLineRefusal) {
  const RUN counted = run_failing(0);
  ASSERT_EQ(outcome(counted), "quit on q") << counted.errors;
  ASSERT_GT(counted.allocations, 0);
  std::map<std::string, int> outcomes;
  std::vector<int64_t> chosen;
  for (int64_t nth = 1; nth <= counted.allocations; ++nth) {
    if (nth <= every_one_up_to || nth % stride == 0) chosen.push_back(nth);
  }
  run_each(chosen, [&outcomes](int64_t nth, const RUN& run) {
    const std::string how = outcome(run);
    outcomes[how] += 1;
    const bool fine = how == "quit on q" || how.rfind("refused: ", 0) == 0;
    EXPECT_TRUE(fine) << "allocation " << nth << " failing: " << how << "\n" << run.errors;
  });
  std::printf("%zu runs over the show's %lld allocations:\n", chosen.size(),
              static_cast<long long>(counted.allocations));
  for (const auto& [how, count] : outcomes) std::printf("  %5d %s\n", count, how.c_str());
  // What start-up cannot go on without is each refused at least once.
  for (const char* what : {"refused: quombrax: cannot open the screen: out of memory",
                           "refused: quombrax: cannot make the key state: out of memory",
                           "refused: quombrax: cannot make the screen image: out of memory"}) {
    EXPECT_GT(outcomes[what], 0) << what;
  }
}

}  // namespace
