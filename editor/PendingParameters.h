// Parameter values that reached the editor from any thread, held until the editor's idle
// applies them on the UI thread. Hosts call setParameter from their audio thread during
// automation playback, and widgets may only be touched on the UI thread. Posting is wait-free
// and never allocates: one slot per parameter keeps its latest value, and a mask marks the
// slots that changed since the last idle.
#pragma once

#include "engine/ParameterIndex.h"

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>

namespace velmora::editor {

class PendingParameters {
  public:
    static_assert(kNumParameters <= 64, "one mask bit per parameter");

    // Any thread. Indices outside the parameters are ignored.
    void post(int index, float value) {
        if (index < 0 || index >= kNumParameters) return;
        values_[static_cast<std::size_t>(index)].store(value, std::memory_order_relaxed);
        changed_.fetch_or(bitOf(index), std::memory_order_release);
    }

    // UI thread: hands every changed parameter's latest value to `apply(index, value)`. A value
    // posted while this runs is applied now or on the next call, never lost.
    template <typename Apply> void drain(Apply&& apply) {
        std::uint64_t changed = changed_.exchange(0, std::memory_order_acquire);
        while (changed != 0) {
            const int index = std::countr_zero(changed);
            changed &= changed - 1;
            apply(index, values_[static_cast<std::size_t>(index)].load(std::memory_order_relaxed));
        }
    }

    void discard() { changed_.store(0, std::memory_order_relaxed); }

  private:
    static constexpr std::uint64_t bitOf(int index) { return std::uint64_t{1} << index; }

    std::array<std::atomic<float>, kNumParameters> values_{};
    std::atomic<std::uint64_t> changed_{0};
};

} // namespace velmora::editor
