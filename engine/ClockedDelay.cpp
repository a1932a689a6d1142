#include "engine/ClockedDelay.h"

#include <cmath>

namespace velmora::engine {

void ClockedDelay::shift(History& history, double newest) {
    history[0] = history[1];
    history[1] = history[2];
    history[2] = history[3];
    history[3] = newest;
}

double ClockedDelay::catmullRom(const History& h, double t) {
    const double p0 = h[0], p1 = h[1], p2 = h[2], p3 = h[3];
    return 0.5 * (2.0 * p1 + (p2 - p0) * t + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * t * t +
                  (3.0 * p1 - 3.0 * p2 + p3 - p0) * t * t * t);
}

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

    // Emit each line sample due in this input sample, at its fractional time between inputs.
    double u = 1.0 - start;
    while (s.accumulator >= 1.0) {
        s.accumulator -= 1.0;
        const double t = u / speed;
        line.buffer[line.write] = catmullRom(s.lineInput, t);
        line.buffer[line.feedback] += catmullRom(s.feedbackInput, t);
        shift(s.readValues, line.buffer[line.read]);
        line.advance();
        u += 1.0;
    }

    s.previousSpeed = speed;
    return catmullRom(s.readValues, s.accumulator);
}

void ClockedDelay::reset() {
    sides_ = {};
}

} // namespace velmora::engine
