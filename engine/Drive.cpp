#include "engine/Drive.h"

#include <cmath>

namespace velmora::engine {

void Drive::setWindow(int length) {
    window_ = (length == 2 || length == 4 || length == 8 || length == 16) ? length : 4;
    index_ = 0;
}

void Drive::beginBlock() {
    // Re-summing at each block keeps rounding drift of the running sums from accumulating.
    for (std::size_t side = 0; side < 2; ++side) {
        double sum = 0.0;
        for (int i = 0; i < window_; ++i)
            sum += rings_[side][static_cast<std::size_t>(i)];
        sums_[side] = sum;
    }
}

double Drive::clipGain(double sum, double window) {
    // With the mean A = sum / N: 1 − A / 4 up to A = 2, then 1 / A (continuous at 0.5).
    if (sum <= 2.0 * window) return 1.0 - sum * 0.25 / window;
    return window / sum;
}

void Drive::process(double& left, double& right, double gain, bool active) {
    std::array<double*, 2> signals{&left, &right};
    for (std::size_t side = 0; side < 2; ++side) {
        const double a = std::fabs(*signals[side]) * gain;
        sums_[side] = sums_[side] - rings_[side][index_] + a;
        rings_[side][index_] = a;
    }
    index_ = (index_ + 1) & static_cast<std::size_t>(window_ - 1);
    if (!active) return;
    const double window = static_cast<double>(window_);
    for (std::size_t side = 0; side < 2; ++side)
        *signals[side] *= clipGain(sums_[side], window);
}

void Drive::reset() {
    rings_ = {};
    sums_ = {};
}

} // namespace velmora::engine
