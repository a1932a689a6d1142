#include "engine/Lfo.h"
#include "engine/TwoLanes.h"

#include <cmath>
#include <numbers>

namespace velmora::engine {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// π/2 as a 32-bit float, the corner of the triangle.
constexpr double kHalfPi = 1.5707963705062866;

double wrapOnce(double phase) {
    if (phase > kPi) return phase - kTwoPi;
    if (phase < -kPi) return phase + kTwoPi;
    return phase;
}

double smoothToward(double value, double target, double k) {
    return value + (target - value) * k;
}

} // namespace

void Lfo::setWave(int wave) {
    wave_.store(wave, std::memory_order_relaxed);
}

void Lfo::setOffset(double radians) {
    offset_.store(radians, std::memory_order_relaxed);
}

void Lfo::setShapeCoefficient(double k) {
    shapeCoefficient_ = k;
}

double Lfo::lockPhase(std::optional<double> ppqPosition, int numerator, int denominator,
                      double increment) {
    if (!ppqPosition || numerator <= 0 || denominator <= 0) {
        phase_ = 0.0;
        return 0.0;
    }
    const double cycle = static_cast<double>(numerator) * 4.0 / static_cast<double>(denominator);
    const double cycles = *ppqPosition / cycle;
    phase_ = (cycles - std::floor(cycles)) * kTwoPi;
    if (phase_ > kPi) phase_ -= kTwoPi;
    return increment;
}

void Lfo::stepSine(const std::array<double, 2>& phases) {
    // −sin φ, stepped at 999 steps per cycle: the table is read from the opposite side. Both
    // sides' positions are worked out as lanes, held within 0..999 with a NaN landing on 0.
    const TwoLanes positions = (TwoLanes{phases[0], phases[1]} + kPi) * 999.0 / kTwoPi;
    const TwoLanes limited = minLanes(maxLanes(positions, bothLanes(0.0)), bothLanes(999.0));
    for (std::size_t side = 0; side < 2; ++side) {
        // 0..999 truncates the same through int, which needs no unsigned-range check.
        values_[side] = tables_.sine[static_cast<std::size_t>(static_cast<int>(limited[side]))];
    }
}

double Lfo::triangleAt(double phase) {
    const double v = phase / kHalfPi;
    if (phase < -kHalfPi) return -v - 2.0;
    if (phase > kHalfPi) return 2.0 - v;
    return v;
}

double Lfo::randomTarget() {
    // minstd yields 31 bits; the top 15 of them make a uniform integer 0..32767.
    const int r = static_cast<int>(generator_() >> 16) & 0x7fff;
    return 2.0 * r / 32767.0 - 1.0;
}

void Lfo::stepRandom(double phaseLeft, double phaseRight) {
    if (phaseLeft > 0.0 && previousPhases_[0] <= 0.0) randomTargets_[0] = randomTarget();
    if (std::fabs(phaseLeft - phaseRight) < 0.001)
        randomTargets_[1] = randomTargets_[0];
    else if (phaseRight > 0.0 && previousPhases_[1] <= 0.0)
        randomTargets_[1] = randomTarget();
    for (std::size_t side = 0; side < 2; ++side)
        values_[side] = smoothToward(values_[side], randomTargets_[side], shapeCoefficient_);
}

Lfo::Values Lfo::step(double increment) {
    const double offset = offset_.load(std::memory_order_relaxed);
    const std::array<double, 2> phases{wrapOnce(phase_ - offset), wrapOnce(phase_ + offset)};

    switch (wave_.load(std::memory_order_relaxed)) {
    case Sine:
        stepSine(phases);
        break;
    case Square:
        for (std::size_t side = 0; side < 2; ++side)
            values_[side] =
                smoothToward(values_[side], phases[side] > 0.0 ? 1.0 : -1.0, shapeCoefficient_);
        break;
    case Triangle:
        for (std::size_t side = 0; side < 2; ++side)
            values_[side] = triangleAt(phases[side]);
        break;
    case Saw:
        for (std::size_t side = 0; side < 2; ++side)
            values_[side] = smoothToward(values_[side], phases[side] / kPi, shapeCoefficient_);
        break;
    case Random:
        stepRandom(phases[0], phases[1]);
        break;
    default:
        break;
    }

    previousPhases_ = phases;
    phase_ += increment;
    if (phase_ > kPi) phase_ -= kTwoPi;
    return {values_[0], values_[1]};
}

void Lfo::reset() {
    phase_ = 0.0;
    previousPhases_ = {};
    values_ = {};
}

void Lfo::clearRandomTargets() {
    randomTargets_ = {};
}

} // namespace velmora::engine
