// Recursive states are flushed of denormals by adding and subtracting a tiny constant.
#pragma once

#include "engine/TwoLanes.h"

namespace velmora::engine {

inline constexpr double kDenormalGuard = 1e-30;

inline double flushDenormal(double value) {
    return (value + kDenormalGuard) - kDenormalGuard;
}

inline TwoLanes flushDenormal(TwoLanes value) {
    return (value + kDenormalGuard) - kDenormalGuard;
}

} // namespace velmora::engine
