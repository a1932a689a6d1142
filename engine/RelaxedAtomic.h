// A single value shared between the parameter thread and the audio thread. Relaxed order is
// enough: every such value stands alone and the loop re-reads it each sample.
#pragma once

#include <atomic>

namespace velmora::engine {

template <typename T> class RelaxedAtomic {
  public:
    static_assert(std::atomic<T>::is_always_lock_free, "the audio thread must never wait");

    constexpr RelaxedAtomic(T initial = T{}) noexcept : value_(initial) {}
    RelaxedAtomic(const RelaxedAtomic&) = delete;
    RelaxedAtomic& operator=(const RelaxedAtomic&) = delete;

    T get() const noexcept { return value_.load(std::memory_order_relaxed); }
    void set(T value) noexcept { value_.store(value, std::memory_order_relaxed); }
    T exchange(T value) noexcept { return value_.exchange(value, std::memory_order_relaxed); }

  private:
    std::atomic<T> value_;
};

} // namespace velmora::engine
