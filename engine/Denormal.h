// Recursive states are flushed of denormals by adding and subtracting a tiny constant.
#pragma once

namespace velmora::engine {

inline constexpr double kDenormalGuard = 1e-30;

inline double flushDenormal(double value) {
    return (value + kDenormalGuard) - kDenormalGuard;
}

} // namespace velmora::engine
