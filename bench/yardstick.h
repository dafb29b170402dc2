#pragma once

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

// CPU time of this thread: unlike the wall clock it does not count the time
// other processes hold the core, so a busy machine still gives fair ratios.
inline double thread_seconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Times op against a memcpy of the bytes it writes, in the same loop so both
// see the same machine. Each iteration runs a batch of ops, then the same
// number of copies (a batch moves at least 8 MiB, so the clock's cost does not
// count). The iteration time is the whole batch of both (register with
// ->UseManualTime()); counters: op_us and memcpy_us, one op and one copy, and
// ratio, op time / copy time.
template <typename Op>
void measure_against_memcpy(benchmark::State& state, size_t bytes, Op op) {
  const size_t batch = std::max<size_t>(1, (size_t{8} << 20) / bytes);
  std::vector<uint8_t> from(bytes, 0x5A), to(bytes, 0);
  double op_total = 0, copy_total = 0;
  for (auto _ : state) {
    const double start = thread_seconds();
    for (size_t i = 0; i < batch; ++i) {
      op();
      benchmark::ClobberMemory();
    }
    const double between = thread_seconds();
    for (size_t i = 0; i < batch; ++i) {
      std::memcpy(to.data(), from.data(), bytes);
      benchmark::DoNotOptimize(to.data());
      benchmark::ClobberMemory();
    }
    const double end = thread_seconds();
    op_total += between - start;
    copy_total += end - between;
    state.SetIterationTime(end - start);
  }
  const double copies = static_cast<double>(state.iterations()) * static_cast<double>(batch);
  state.counters["op_us"] = op_total * 1e6 / copies;
  state.counters["memcpy_us"] = copy_total * 1e6 / copies;
  state.counters["ratio"] = copy_total > 0 ? op_total / copy_total : 0;
}

// CPU time of one memcpy of `bytes`, averaged over batches that move at
// least 64 MiB, for costs measured some other way than by measure_against_memcpy.
inline double memcpy_seconds(size_t bytes) {
  const size_t copies = std::max<size_t>(1, (size_t{64} << 20) / bytes);
  std::vector<uint8_t> from(bytes, 0x5A), to(bytes, 0);
  const double start = thread_seconds();
  for (size_t i = 0; i < copies; ++i) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  return (thread_seconds() - start) / static_cast<double>(copies);
}
