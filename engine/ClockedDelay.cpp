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

// Any clock: the accumulator runs at the new speed and decides how many line samples are due.
double ClockedDelay::runClockAtSpeed(SideState& s, DelayLine& line, const ClockStep& step) {
    const double speed = step.speed;
    double accumulator = step.start + speed;

    // Emit each line sample due in this input sample (at most two), at its fractional time
    // between the inputs.
    if (accumulator >= 1.0) {
        const Cubic<Pair> inputs(s.inputs);
        accumulator -= 1.0;
        emit(s, line, inputs.at(step.firstTime));
        double u = 1.0 - step.start;
        while (accumulator >= 1.0) {
            accumulator -= 1.0;
            u += 1.0;
            emit(s, line, inputs.at(emissionTime(u, speed)));
        }
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
