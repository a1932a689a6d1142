#include "engine/ClockedDelay.h"

#include <cmath>

namespace velmora::engine {

std::array<double, 2> ClockedDelay::access(std::array<DelayLine, 2>& lines,
                                           std::array<double, 2> modulation, double depth,
                                           double manualOffset) {
    const double share = manualShare(depth, manualOffset);
    return {accessAt(sides_[0], lines[0], curvePosition(modulation[0], depth, share)),
            accessAt(sides_[1], lines[1], curvePosition(modulation[1], depth, share))};
}

// Any clock: the accumulator runs at the new speed and decides how many line samples are due.
double ClockedDelay::accessAtSpeed(SideState& s, DelayLine& line, double speed) {
    // Re-express the time left to the next line sample at the new speed, then run the clock.
    const double start = clockStart(s.accumulator, speed, s.previousSpeed);
    double accumulator = start + speed;

    // Emit each line sample due in this input sample (at most two), at its fractional time
    // between the inputs.
    if (accumulator >= 1.0) {
        const Cubic<2> inputs(s.inputs);
        double u = 1.0 - start;
        do {
            accumulator -= 1.0;
            emit(s, line, inputs.at(speed == 1.0 ? u : u / speed));
            u += 1.0;
        } while (accumulator >= 1.0);
    }
    s.accumulator = accumulator;
    s.previousSpeed = speed;
    s.steadyUnitClock = speed == 1.0 && accumulator == 0.0;
    return readAt(s.read, accumulator);
}

void ClockedDelay::reset() {
    sides_ = {};
}

} // namespace velmora::engine
