// The clocked delay: the lines are written and read at a variable clock of 0.5..2 line samples per
// input sample, resampled with Catmull-Rom cubics, so speed changes bend the echoes' pitch.
#pragma once

#include "engine/DelayLine.h"
#include "engine/ModulationTables.h"
#include "engine/TwoLanes.h"

#include <array>
#include <cmath>
#include <limits>

namespace velmora::engine {

class ClockedDelay {
  public:
    // Every input sample, clocked mode or not: the newest feedback and line input of a side.
    void pushInputs(int side, double feedbackInput, double lineInput) {
        shift(sides_[static_cast<std::size_t>(side)].inputs, Pair{feedbackInput, lineInput});
    }

    // Clocked line access of a side: speed from the modulation value (scaled by the smoothed
    // depth) and the manual offset, emission of line samples into `line`, returns the output.
    double access(int side, DelayLine& line, double modulation, double depth, double manualOffset) {
        return accessAt(sides_[static_cast<std::size_t>(side)], line,
                        curvePosition(modulation, depth, manualShare(depth, manualOffset)));
    }

    // Both sides, as the loop uses them: the same values as two calls of the above.
    std::array<double, 2> access(std::array<DelayLine, 2>& lines, std::array<double, 2> modulation,
                                 double depth, double manualOffset);

    void reset(); // histories and accumulators 0; speeds 1

    double speed(int side) const { return sides_[side].previousSpeed; }
    double accumulator(int side) const { return sides_[side].accumulator; }

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

        void push(double value) {
            shift(values, value);
            const bool bounded = std::fabs(value) < kFiniteCoefficientBound;
            boundedMask = ((boundedMask << 1) | static_cast<unsigned>(bounded)) & 0xFu;
        }
    };

    struct SideState {
        double previousSpeed = 1.0;
        double accumulator = 0.0;
        bool steadyUnitClock = true; // previousSpeed 1 and accumulator 0
        // The last position looked up on the speed curve and its speed: the position holds still
        // for as long as the modulation does (always at depth 0), and then so does the speed.
        double curvePosition = std::numeric_limits<double>::quiet_NaN();
        double curveSpeed = 1.0;
        PairHistory inputs{};
        ReadHistory read{};
    };

    static constexpr double kFiniteCoefficientBound = 1e307;

    // The Catmull-Rom cubic through a history of four values (a double, or a pair of them taking
    // the same steps), evaluated between p1 and p2. The coefficients are formed once per history
    // and sample, then evaluated at each emission's fraction.
    template <typename Value> struct Cubic {
        Value twiceP1, c1, c2, c3;

        explicit Cubic(const std::array<Value, 4>& h)
            : twiceP1(2.0 * h[1]), c1(h[2] - h[0]), c2(2.0 * h[0] - 5.0 * h[1] + 4.0 * h[2] - h[3]),
              c3(3.0 * h[1] - 3.0 * h[2] + h[3] - h[0]) {}

        Value at(double t) const {
            if (t == 1.0) return atOne();
            return 0.5 * (twiceP1 + c1 * t + c2 * t * t + c3 * t * t * t);
        }

        // At t = 1 every power of t is 1, and multiplying by 1 is exact: same bits, no products.
        Value atOne() const { return 0.5 * (twiceP1 + c1 + c2 + c3); }
    };

    // The read history's cubic at a. At a = 0 (every sample of a steady unit clock) that is p1:
    // with finite coefficients every product with t = 0 is a zero, and adding zeros to 2 p1
    // leaves it unchanged unless it is itself -0 (then the zeros' signs decide), so the full form
    // is needed only for -0, huge or non-finite values.
    static double readAt(const ReadHistory& h, double a) {
        const auto& p = h.values;
        if (a == 0.0 && h.boundedMask == 0xF && !(p[1] == 0.0 && std::signbit(p[1]))) return p[1];
        return Cubic<double>(p).at(a);
    }

    // One line sample: the interpolated inputs go in at W and F, the sample at R is read.
    static void emit(SideState& s, DelayLine& line, Pair value) {
        double* const buffer = line.buffer.data();
        buffer[line.write] = value[1];
        buffer[line.feedback] += value[0];
        s.read.push(buffer[line.read]);
        line.advance();
    }

    // With depth 0 only the manual offset counts, with |depth| 1 only the modulation.
    static double manualShare(double depth, double manualOffset) {
        return (1.0 - std::fabs(depth)) * manualOffset;
    }
    static double curvePosition(double modulation, double depth, double manualShare) {
        return (modulation * depth + manualShare + 1.0) * 0.5;
    }

    double accessAt(SideState& s, DelayLine& line, double position) {
        return runClock(s, line, planClock(s, speedAt(s, position)));
    }

    double speedAt(SideState& s, double position) const {
        if (position != s.curvePosition) { // a NaN never matches, so it is always looked up
            s.curvePosition = position;
            s.curveSpeed = interpolateSpeed(tables_, position);
        }
        return s.curveSpeed;
    }

    // The time left to the next line sample re-expressed at the new speed. At a unit clock both
    // factors are 1, which leave the value exactly as it is, so the division is skipped.
    static double clockStart(double accumulator, double speed, double previousSpeed) {
        if (speed == 1.0 && previousSpeed == 1.0) return 1.0 - (1.0 - accumulator);
        return 1.0 - (1.0 - accumulator) * speed / previousSpeed;
    }

    // One side's clock for this input sample, worked out before any line sample is emitted: the
    // divisions of both sides then run side by side instead of waiting on each other's emissions.
    struct ClockStep {
        double speed;
        double start;     // the accumulator re-expressed at the new speed
        double firstTime; // the first emission's fraction between the inputs, if one is due
        bool steady;      // a steady unit clock: one emission at t = 1, accumulator stays 0
    };

    ClockStep planClock(const SideState& s, double speed) const {
        ClockStep step{speed, 0.0, 0.0, speed == 1.0 && s.steadyUnitClock};
        if (!step.steady) {
            step.start = clockStart(s.accumulator, speed, s.previousSpeed);
            step.firstTime = emissionTime(1.0 - step.start, speed);
        }
        return step;
    }

    // The time u (in line samples after the inputs' p1) as a fraction of an input sample.
    static double emissionTime(double u, double speed) { return speed == 1.0 ? u : u / speed; }

    [[gnu::always_inline]] double runClock(SideState& s, DelayLine& line, const ClockStep& step) {
        if (step.steady) {
            emit(s, line, Cubic<Pair>(s.inputs).atOne());
            return readAt(s.read, 0.0);
        }
        return runClockAtSpeed(s, line, step);
    }

    // How far from its boundary a margin must be for its sign to settle whether a line sample is
    // due. The rounding in the accumulator (values below 16, a few operations) is below 1e-14.
    static constexpr double kClearMargin = 1e-9;

    // Whether the accumulator has reached 1: the margin's sign where it is clear, so the decision
    // does not wait for the division; otherwise the accumulator itself.
    static bool due(double margin, double accumulator) {
        if (margin > kClearMargin) return true;
        if (margin < -kClearMargin) return false;
        return accumulator >= 1.0;
    }

    // Any clock: the accumulator runs at the new speed and decides how many line samples are
    // due. Inline in the loop: as a call it spent a tenth of its instructions saving registers.
    [[gnu::always_inline]] double runClockAtSpeed(SideState& s, DelayLine& line,
                                                  const ClockStep& step) {
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

    template <typename T> static void shift(std::array<T, 4>& history, const T& newest) {
        history[0] = history[1];
        history[1] = history[2];
        history[2] = history[3];
        history[3] = newest;
    }

    const ModulationTables& tables_ = modulationTables();
    std::array<SideState, 2> sides_{};
};

} // namespace velmora::engine
