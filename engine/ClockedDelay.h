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

    static void shift(History& history, double newest);
    static double catmullRom(const History& h, double t);

    const ModulationTables& tables_ = modulationTables();
    std::array<SideState, 2> sides_{};
};

} // namespace velmora::engine
