#include "engine/ClockedDelay.h"

#include <cmath>

namespace velmora::engine {

std::array<double, 2> ClockedDelay::access(std::array<DelayLine, 2>& lines,
                                           std::array<double, 2> modulation, double depth,
                                           double manualOffset) {
    const double share = manualShare(depth, manualOffset);
    const double speedL = speedAt(sides_[0], curvePosition(modulation[0], depth, share));
    const double speedR = speedAt(sides_[1], curvePosition(modulation[1], depth, share));
    const ClockStep stepL = planClock(sides_[0], speedL);
    const ClockStep stepR = planClock(sides_[1], speedR);
    return {runClock(sides_[0], lines[0], stepL), runClock(sides_[1], lines[1], stepR)};
}

void ClockedDelay::reset() {
    sides_ = {};
}

} // namespace velmora::engine
