#include "tests/support/failing_allocation.h"

#include <cstddef>

namespace {
int64_t calls_made = 0;
int64_t failing_call = 0;  // 0: none fails
}  // namespace

extern "C" void* __real_calloc(size_t count, size_t size);

// The linker sends the library's calloc calls here (--wrap=calloc).
extern "C" void* __wrap_calloc(size_t count, size_t size) {
  ++calls_made;
  if (failing_call != 0 && calls_made == failing_call) return nullptr;
  return __real_calloc(count, size);
}

FailingAllocation::FailingAllocation(int64_t nth) {
  calls_made = 0;
  failing_call = nth;
}

FailingAllocation::~FailingAllocation() { failing_call = 0; }

int64_t FailingAllocation::calls() const { return calls_made; }
