// Counts heap allocations made by the current thread, to prove a code path allocates nothing.
// The test binary's global operator new is replaced by a counting one (AllocationCounter.cpp).
//
//     AllocationCounter counter;
//     engine.process(...);
//     EXPECT_EQ(counter.count(), 0u);
#pragma once

#include <cstddef>

namespace velmora::test {

// Allocations made by this thread since it started.
std::size_t allocationsOnThisThread();

// Counts the allocations this thread makes between construction and count().
class AllocationCounter {
  public:
    AllocationCounter() : start_(allocationsOnThisThread()) {}
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    std::size_t count() const { return allocationsOnThisThread() - start_; }

  private:
    std::size_t start_;
};

} // namespace velmora::test
