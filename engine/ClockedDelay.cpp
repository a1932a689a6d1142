#include "engine/ClockedDelay.h"

#include <cmath>

namespace velmora::engine {

void ClockedDelay::pushInputs(int side, double feedbackInput, double lineInput) {
    shift(sides_[static_cast<std::size_t>(side)].inputs, Pair{feedbackInput, lineInput});
}

double ClockedDelay::access(int side, DelayLine& line, double modulation, double depth,
                            double manualOffset) {
    SideState& s = sides_[static_cast<std::size_t>(side)];

    // With depth 0 only the manual offset counts, with |depth| 1 only the modulation.
    const double position =
        (modulation * depth + (1.0 - std::fabs(depth)) * manualOffset + 1.0) * 0.5;
    const double speed = speedAt(s, position);

    // Re-express the time left to the next line sample at the new speed, then run the clock.
    const double start = clockStart(s.accumulator, speed, s.previousSpeed);
    double accumulator = start + speed;

    // Emit each line sample due in this input sample (at most two), at its fractional time
    // between the inputs.
    if (accumulator >= 1.0) {
        const Cubic<2> inputs(s.inputs);
        double* const buffer = line.buffer.data();
        double u = 1.0 - start;
        do {
            accumulator -= 1.0;
            const double t = speed == 1.0 ? u : u / speed;
            const Pair value = inputs.at(t);
            buffer[line.write] = value[1];
            buffer[line.feedback] += value[0];
            shift(s.readValues, buffer[line.read]);
            line.advance();
            u += 1.0;
        } while (accumulator >= 1.0);
    }

    s.accumulator = accumulator;
    s.previousSpeed = speed;
    return readAt(s.readValues, accumulator);
}

void ClockedDelay::reset() {
    sides_ = {};
}

} // namespace velmora::engine
