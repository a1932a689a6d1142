#include "engine/ClockedDelay.h"

#include <cmath>

namespace velmora::engine {

void ClockedDelay::pushInputs(int side, double feedbackInput, double lineInput) {
    SideState& s = sides_[static_cast<std::size_t>(side)];
    shift(s.feedbackInput, feedbackInput);
    shift(s.lineInput, lineInput);
}

double ClockedDelay::access(int side, DelayLine& line, double modulation, double depth,
                            double manualOffset) {
    SideState& s = sides_[static_cast<std::size_t>(side)];

    // With depth 0 only the manual offset counts, with |depth| 1 only the modulation.
    const double position =
        (modulation * depth + (1.0 - std::fabs(depth)) * manualOffset + 1.0) * 0.5;
    const double speed = interpolateSpeed(tables_, position);

    // Re-express the time left to the next line sample at the new speed, then run the clock.
    const double start = 1.0 - (1.0 - s.accumulator) * speed / s.previousSpeed;
    s.accumulator = start + speed;

    // Emit each line sample due in this input sample (at most two), at its fractional time
    // between the inputs.
    if (s.accumulator >= 1.0) {
        const Cubic lineInput(s.lineInput);
        const Cubic feedbackInput(s.feedbackInput);
        double u = 1.0 - start;
        do {
            s.accumulator -= 1.0;
            const double t = u / speed;
            line.buffer[line.write] = lineInput.at(t);
            line.buffer[line.feedback] += feedbackInput.at(t);
            shift(s.readValues, line.buffer[line.read]);
            line.advance();
            u += 1.0;
        } while (s.accumulator >= 1.0);
    }

    s.previousSpeed = speed;
    return Cubic(s.readValues).at(s.accumulator);
}

void ClockedDelay::reset() {
    sides_ = {};
}

} // namespace velmora::engine
