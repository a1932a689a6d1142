#include "engine/ClockedDelay.h"

#include <cmath>

namespace velmora::engine {

namespace {

// How far from its boundary a margin must be for its sign to settle whether a line sample is
// due. The rounding in the accumulator (values below 16, a few operations) is below 1e-14.
constexpr double kClearMargin = 1e-9;

// Whether the accumulator has reached 1: the margin's sign where it is clear, so the decision
// does not wait for the division; otherwise the accumulator itself.
bool due(double margin, double accumulator) {
    if (margin > kClearMargin) return true;
    if (margin < -kClearMargin) return false;
    return accumulator >= 1.0;
}

} // namespace

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

    // With a the accumulator and p the speed of the last sample, the new accumulator
    // 1 - (1 - a) speed / p + speed reaches 1 exactly when a + p does, and 2 when
    // speed (a + p - 1) reaches p. Both margins are known before the division is done.
    const double firstMargin = (s.accumulator + s.previousSpeed) - 1.0;
    const double secondMargin = speed * firstMargin - s.previousSpeed;

    // Emit each line sample due in this input sample (at most two), at its fractional time
    // between the inputs.
    if (due(firstMargin, accumulator)) {
        const Cubic<Pair> inputs(s.inputs);
        accumulator -= 1.0;
        emit(s, line, inputs.at(step.firstTime));
        double u = 1.0 - step.start;
        for (bool more = due(secondMargin, accumulator); more; more = accumulator >= 1.0) {
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
