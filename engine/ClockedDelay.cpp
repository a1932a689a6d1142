#include "engine/ClockedDelay.h"

#include <cmath>

namespace velmora::engine {

double ClockedDelay::access(int side, DelayLine& line, double modulation, double depth,
                            double manualOffset) {
    SideState& s = sides_[static_cast<std::size_t>(side)];

    // With depth 0 only the manual offset counts, with |depth| 1 only the modulation.
    const double position =
        (modulation * depth + (1.0 - std::fabs(depth)) * manualOffset + 1.0) * 0.5;
    const double speed = speedAt(s, position);

    // A steady unit clock (the default) emits exactly one line sample per input sample, at
    // t = 1, and leaves the accumulator at 0: the general clock below gives the same values.
    if (speed == 1.0 && s.previousSpeed == 1.0 && s.accumulator == 0.0) {
        emit(s, line, Cubic<2>(s.inputs).atOne());
        s.accumulator = 0.0;
        return readAt(s.read, 0.0);
    }
    const double accumulator = runClock(s, line, speed);
    s.accumulator = accumulator;
    s.previousSpeed = speed;
    return readAt(s.read, accumulator);
}

double ClockedDelay::runClock(SideState& s, DelayLine& line, double speed) {
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
    return accumulator;
}

void ClockedDelay::reset() {
    sides_ = {};
}

} // namespace velmora::engine
