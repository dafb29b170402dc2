#pragma once

#include <cstdint>

// Makes the n-th zero-filled allocation from now (counting from 1) fail, for
// as long as the object lives; counts the allocations made meanwhile. Works
// only in a test binary built with quombrax_fail_allocations(target), which
// sends every calloc of the linked objects through failing_allocation.cpp.
class FailingAllocation {
 public:
  explicit FailingAllocation(int64_t nth);
  ~FailingAllocation();
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;
  int64_t calls() const;
};
