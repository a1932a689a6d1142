#include "engine/Drive.h"

namespace velmora::engine {

void Drive::setWindow(int length) {
    window_ = (length == 2 || length == 4 || length == 8 || length == 16) ? length : 4;
    index_ = 0;
}

void Drive::beginBlock() {
    // Re-summing at each block keeps rounding drift of the running sums from accumulating.
    TwoLanes sums{};
    for (int i = 0; i < window_; ++i)
        sums += rings_[static_cast<std::size_t>(i)];
    sums_ = sums;
}

// With the mean A = sum / N: 1 − A / 4 up to A = 2, then 1 / A (continuous at 0.5). Both are
// worked out and the gain picked without a branch: which one applies follows the signal, and a
// mispredicted choice costs more than the second division. The second divides by at least 2N,
// so no lane divides by zero.
TwoLanes Drive::clipGains(TwoLanes sums, double window) {
    const TwoLanes limit = bothLanes(2.0 * window);
    const TwoLanes linear = 1.0 - sums * 0.25 / window;
    const TwoLanes inverse = window / maxLanes(limit, sums);
    return sums <= limit ? linear : inverse;
}

void Drive::process(double& left, double& right, double gain, bool active) {
    const TwoLanes a = absLanes(TwoLanes{left, right}) * gain;
    sums_ = sums_ - rings_[index_] + a;
    rings_[index_] = a;
    index_ = (index_ + 1) & static_cast<std::size_t>(window_ - 1);
    if (!active) return;
    const TwoLanes gains = clipGains(sums_, static_cast<double>(window_));
    left *= gains[0];
    right *= gains[1];
}

void Drive::reset() {
    rings_ = {};
    sums_ = TwoLanes{};
}

} // namespace velmora::engine
