// A stored parameter value. A MIDI controller writes it from the audio thread while the host's
// thread may be saving the program, so every access is a relaxed atomic one; unlike a plain
// atomic it copies, so whole programs still copy as a unit.
#pragma once

#include <atomic>

namespace velmora {

class SharedFloat {
  public:
    static_assert(std::atomic<float>::is_always_lock_free, "the audio thread must never wait");

    constexpr SharedFloat(float value = 0.0f) noexcept : value_(value) {}
    SharedFloat(const SharedFloat& other) noexcept : value_(other.get()) {}
    SharedFloat& operator=(const SharedFloat& other) noexcept {
        set(other.get());
        return *this;
    }
    SharedFloat& operator=(float value) noexcept {
        set(value);
        return *this;
    }
    operator float() const noexcept { return get(); }

    float get() const noexcept { return value_.load(std::memory_order_relaxed); }
    void set(float value) noexcept { value_.store(value, std::memory_order_relaxed); }

  private:
    std::atomic<float> value_;
};

} // namespace velmora
