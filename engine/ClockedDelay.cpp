#include "engine/ClockedDelay.h"

#include <cmath>

// The shortcuts below skip arithmetic only where the skipped steps cannot change a bit; each
// says why in one line. The stage test compares the whole clock with the literal algorithm.
namespace velmora::engine {

namespace {

// Values below this keep every Catmull-Rom coefficient through them finite: none is more than
// 12 times the largest value, and 12 × 1e307 is below the largest double.
constexpr double kFiniteCoefficientBound = 1e307;

// How far from its boundary a margin must be for its sign to settle whether a line sample is
// due. The rounding in the accumulator (values below 16, a few operations) is below 1e-14.
constexpr double kClearMargin = 1e-9;

template <typename T> void shift(std::array<T, 4>& history, const T& newest) {
    history[0] = history[1];
    history[1] = history[2];
    history[2] = history[3];
    history[3] = newest;
}

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

    // Same bits at t = 1: every power of t is 1, and a product with 1 is exact.
    Value atOne() const { return 0.5 * (twiceP1 + c1 + c2 + c3); }
};

// With depth 0 only the manual offset counts, with |depth| 1 only the modulation.
double manualShare(double depth, double manualOffset) {
    return (1.0 - std::fabs(depth)) * manualOffset;
}

// The place on the speed curve, 0 (speed 0.5) .. 1 (speed 2); the curve limits it.
double curvePosition(double modulation, double depth, double manualShare) {
    return (modulation * depth + manualShare + 1.0) * 0.5;
}

// a' = 1 − (1 − a) s / s_prev. Same bits at a unit clock: a product or quotient with 1 is exact.
double clockStart(double accumulator, double speed, double previousSpeed) {
    if (speed == 1.0 && previousSpeed == 1.0) return 1.0 - (1.0 - accumulator);
    return 1.0 - (1.0 - accumulator) * speed / previousSpeed;
}

// t = u / s, the time u (in line samples after the inputs' p1) as a fraction of an input
// sample. Same bits at speed 1: a quotient by 1 is exact.
double emissionTime(double u, double speed) {
    return speed == 1.0 ? u : u / speed;
}

// Whether the accumulator has reached 1. Same decision as a ≥ 1: the margin equals a − 1 up to
// rounding far below kClearMargin, and near the boundary the accumulator itself decides.
bool due(double margin, double accumulator) {
    if (margin > kClearMargin) return true;
    if (margin < -kClearMargin) return false;
    return accumulator >= 1.0;
}

} // namespace

// The members below that the clock calls per sample are `inline` so they fold into it (as calls
// they cost the default setting 37 instructions per frame; see bench/README.md).

inline void ClockedDelay::ReadHistory::push(double value) {
    shift(values, value);
    const bool bounded = std::fabs(value) < kFiniteCoefficientBound;
    boundedMask = ((boundedMask << 1) | static_cast<unsigned>(bounded)) & 0xFu;
}

void ClockedDelay::pushInputs(int side, double feedbackInput, double lineInput) {
    shift(sides_[static_cast<std::size_t>(side)].inputs, Pair{feedbackInput, lineInput});
}

// CR(read history, a). Same bits at a = 0 (every sample of a steady unit clock) as p1: the
// products with 0 are zeros and adding zeros to 2 p1 leaves it, unless p1 is −0 (the zeros'
// signs then decide) or a coefficient is not finite.
inline double ClockedDelay::readAt(const ReadHistory& h, double a) {
    const auto& p = h.values;
    if (a == 0.0 && h.boundedMask == 0xF && !(p[1] == 0.0 && std::signbit(p[1]))) return p[1];
    return Cubic<double>(p).at(a);
}

// One line sample: the interpolated inputs go in at W and F, the sample at R is read.
inline void ClockedDelay::emit(SideState& s, DelayLine& line, Pair value) {
    double* const buffer = line.buffer.data();
    buffer[line.write] = value[1];
    buffer[line.feedback] += value[0];
    s.read.push(buffer[line.read]);
    line.advance();
}

// Same bits while the position holds: the lookup would give the same speed again. A NaN never
// matches, so it is always looked up.
inline double ClockedDelay::speedAt(SideState& s, double position) const {
    if (position != s.curvePosition) {
        s.curvePosition = position;
        s.curveSpeed = interpolateSpeed(tables_, position);
    }
    return s.curveSpeed;
}

inline ClockedDelay::ClockStep ClockedDelay::planClock(const SideState& s, double speed) const {
    ClockStep step{speed, 0.0, 0.0, speed == 1.0 && s.steadyUnitClock};
    if (!step.steady) {
        step.start = clockStart(s.accumulator, speed, s.previousSpeed);
        step.firstTime = emissionTime(1.0 - step.start, speed);
    }
    return step;
}

// Same bits on a steady unit clock (s = s_prev = 1, a = 0): a' = 0, a = 1, so exactly one line
// sample is due, at t = 1, the accumulator returns to 0 and the output is CR(read history, 0).
[[gnu::always_inline]] inline double ClockedDelay::runClock(SideState& s, DelayLine& line,
                                                            const ClockStep& step) {
    if (step.steady) {
        emit(s, line, Cubic<Pair>(s.inputs).atOne());
        return readAt(s.read, 0.0);
    }
    return runClockAtSpeed(s, line, step);
}

[[gnu::always_inline]] inline double ClockedDelay::runClockAtSpeed(SideState& s, DelayLine& line,
                                                                   const ClockStep& step) {
    const double speed = step.speed;
    double accumulator = step.start + speed; // a = a' + s

    // The new accumulator 1 − (1 − a) s / s_prev + s reaches 1 exactly when a + s_prev does,
    // and 2 when s (a + s_prev − 1) reaches s_prev: both known without the division.
    const double firstMargin = (s.accumulator + s.previousSpeed) - 1.0;
    const double secondMargin = speed * firstMargin - s.previousSpeed;

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

double ClockedDelay::access(int side, DelayLine& line, double modulation, double depth,
                            double manualOffset) {
    SideState& s = sides_[static_cast<std::size_t>(side)];
    const double speed =
        speedAt(s, curvePosition(modulation, depth, manualShare(depth, manualOffset)));
    return runClock(s, line, planClock(s, speed));
}

// Both clocks are planned before either side emits, so the two sides' divisions are independent.
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

void ClockedDelay::reset() {
    sides_ = {};
}

double ClockedDelay::speed(int side) const {
    return sides_[static_cast<std::size_t>(side)].previousSpeed;
}

double ClockedDelay::accumulator(int side) const {
    return sides_[static_cast<std::size_t>(side)].accumulator;
}

} // namespace velmora::engine
