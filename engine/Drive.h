// The drive: a soft clipper on the delay input whose detector averages |d| over a short window.
#pragma once

#include "engine/TwoLanes.h"

#include <array>
#include <cstddef>

namespace velmora::engine {

class Drive {
  public:
    static constexpr int kRingSize = 16;

    void setWindow(int length); // 2, 4, 8 or 16; ring index to 0 (resume)
    void beginBlock();          // each running sum = sum of the first N ring entries

    // The detector always runs; the gain is applied only when active (Drive above 0).
    void process(double& left, double& right, double gain, bool active);

    void reset(); // rings and sums to 0, index kept

    int window() const { return window_; }

  private:
    static TwoLanes clipGains(TwoLanes sums, double window);

    int window_ = 4;
    std::size_t index_ = 0;
    // Both sides side by side: each ring entry holds the left and the right |d| × gain.
    std::array<TwoLanes, kRingSize> rings_{};
    TwoLanes sums_{};
};

} // namespace velmora::engine
