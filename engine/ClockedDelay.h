// The clocked delay: the lines are written and read at a variable clock of 0.5..2 line samples per
// input sample, resampled with Catmull-Rom cubics, so speed changes bend the echoes' pitch.
#pragma once

#include "engine/DelayLine.h"
#include "engine/ModulationTables.h"

#include <array>

namespace velmora::engine {

class ClockedDelay {
  public:
    // Every input sample, clocked mode or not: the newest feedback and line input of a side.
    void pushInputs(int side, double feedbackInput, double lineInput);

    // Clocked line access of a side: speed from the modulation value (scaled by the smoothed
    // depth) and the manual offset, emission of line samples into `line`, returns the output.
    double access(int side, DelayLine& line, double modulation, double depth, double manualOffset);

    void reset(); // histories and accumulators 0; speeds 1

    double speed(int side) const { return sides_[side].previousSpeed; }
    double accumulator(int side) const { return sides_[side].accumulator; }

  private:
    using History = std::array<double, 4>; // oldest to newest

    struct SideState {
        double previousSpeed = 1.0;
        double accumulator = 0.0;
        History feedbackInput{};
        History lineInput{};
        History readValues{};
    };

    // The Catmull-Rom cubic through a history, evaluated between p1 and p2. The coefficients
    // are formed once per history and sample, then evaluated at each emission's fraction.
    struct Cubic {
        double twiceP1, c1, c2, c3;
        explicit Cubic(const History& h)
            : twiceP1(2.0 * h[1]), c1(h[2] - h[0]), c2(2.0 * h[0] - 5.0 * h[1] + 4.0 * h[2] - h[3]),
              c3(3.0 * h[1] - 3.0 * h[2] + h[3] - h[0]) {}
        double at(double t) const { return 0.5 * (twiceP1 + c1 * t + c2 * t * t + c3 * t * t * t); }
    };

    static void shift(History& history, double newest) {
        history[0] = history[1];
        history[1] = history[2];
        history[2] = history[3];
        history[3] = newest;
    }

    const ModulationTables& tables_ = modulationTables();
    std::array<SideState, 2> sides_{};
};

} // namespace velmora::engine
