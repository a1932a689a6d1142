// The clocked delay: each side's line is written and read by a clock of its own, running at a
// speed s of 0.5..2 line samples per input sample, so a faster clock shortens the echoes and a
// change of speed bends their pitch.
//
// Per input sample and side:
//   s = speed curve at (modulation × depth + (1 − |depth|) × manual offset + 1) / 2
//   a' = 1 − (1 − a) × s / s_prev          the time left to the next line sample, rescaled
//   a = a' + s; u = 1 − a'
//   while a ≥ 1:                           at most two line samples per input sample
//       a −= 1; t = u / s
//       W = CR(line inputs, t); F += CR(feedback inputs, t); read history ← R; advance W, F, R
//       u += 1
//   output = CR(read history, a); s_prev = s
// CR(h, t) is the Catmull-Rom cubic through a history h of four values (oldest first), evaluated
// between h[1] and h[2]. The line inputs and feedback inputs are pushed once per input sample.
#pragma once

#include "engine/DelayLine.h"
#include "engine/ModulationTables.h"
#include "engine/TwoLanes.h"

#include <array>
#include <limits>

namespace velmora::engine {

class ClockedDelay {
  public:
    // Every input sample, clocked mode or not: the newest feedback and line input of a side.
    void pushInputs(int side, double feedbackInput, double lineInput);

    // Clocked line access of a side: speed from the modulation value (scaled by the smoothed
    // depth) and the manual offset, emission of line samples into `line`, returns the output.
    double access(int side, DelayLine& line, double modulation, double depth, double manualOffset);

    // Both sides, as the loop uses them: the same values as two calls of the above.
    std::array<double, 2> access(std::array<DelayLine, 2>& lines, std::array<double, 2> modulation,
                                 double depth, double manualOffset);

    void reset(); // histories and accumulators 0; speeds 1

    double speed(int side) const;       // s_prev: line samples per input sample, 0.5..2
    double accumulator(int side) const; // a: below 1 between samples

  private:
    // The feedback and line inputs of one input sample side by side: both histories are always
    // interpolated at the same times, so each step works on the pair at once.
    using Pair = TwoLanes; // feedback, line
    using PairHistory = std::array<Pair, 4>;

    // The line samples taken at R, oldest to newest, with one bit per entry (bit 0 the newest)
    // telling whether it is small enough for every cubic coefficient through it to be finite.
    struct ReadHistory {
        std::array<double, 4> values{};
        unsigned boundedMask = 0xF;

        void push(double value);
    };

    struct SideState {
        double previousSpeed = 1.0;  // s_prev
        double accumulator = 0.0;    // a
        bool steadyUnitClock = true; // previousSpeed 1 and accumulator 0
        // The last position looked up on the speed curve and its speed: the position holds still
        // for as long as the modulation does (always at depth 0), and then so does the speed.
        double curvePosition = std::numeric_limits<double>::quiet_NaN();
        double curveSpeed = 1.0;
        PairHistory inputs{};
        ReadHistory read{};
    };

    // One side's clock for this input sample, worked out before any line sample is emitted.
    struct ClockStep {
        double speed;
        double start;     // a': the accumulator re-expressed at the new speed
        double firstTime; // the first emission's fraction between the inputs, if one is due
        bool steady;      // a steady unit clock: one emission at t = 1, accumulator stays 0
    };

    static double readAt(const ReadHistory& h, double a);
    static void emit(SideState& s, DelayLine& line, Pair value);

    double speedAt(SideState& s, double position) const;
    ClockStep planClock(const SideState& s, double speed) const;
    static double runClock(SideState& s, DelayLine& line, const ClockStep& step);
    static double runClockAtSpeed(SideState& s, DelayLine& line, const ClockStep& step);

    const ModulationTables& tables_ = modulationTables();
    std::array<SideState, 2> sides_{};
};

} // namespace velmora::engine
