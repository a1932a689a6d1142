#include "engine/StateVariableFilter.h"

#include "engine/Denormal.h"

#include <algorithm>

namespace velmora::engine {

namespace {

// The cubic term drains the band state at high levels, which is what keeps q = 0 bounded.
constexpr double kBandSaturation = 0.075;

// The cubic step is explicit, so at a large band state it removes more than the state holds and
// flips its sign; at a high cutoff that feeds a growing alternation. Past the knee the drain
// therefore grows only in proportion to the state, at a gain the linear loop is still stable
// with (below 2 − f q − f² / 2), and the knee is where the cubic reaches that gain. Full-scale
// signals stay under it and take the cubic exactly, except within 1 kHz of the cutoff limit at
// the lowest resonances, where the plain cubic is itself on its way to running away.
constexpr double kDrainShareOfStableGain = 0.9;

// A bound below 2 / f − f / 2 for every f up to the one at the cutoff limit (2 sin(π / 5.5)).
constexpr double kSmallestDampingLimit = 1.3;

} // namespace

void StateVariableFilter::setSampleRate(double fs) {
    cutoffLimit_ = fs / 2.75;
    scale_ = 2.0 / fs;
}

void StateVariableFilter::configure(double cutoffHz, double resonance) {
    // Written so that a NaN lands on 0 and can never index outside the tables.
    const double fc = cutoffHz > 0.0 ? std::min(cutoffHz, cutoffLimit_) : 0.0;
    const double x = fc * scale_ * 8191.0;
    // Both table positions are small and never negative: they truncate the same through int,
    // which converts in one instruction where the unsigned type needs a range check.
    const int i = static_cast<int>(x);
    const double t = x - static_cast<double>(i);
    const auto entry = static_cast<std::size_t>(i);
    f_ = (1.0 - t) * tables_.svfFrequency[entry] + t * tables_.svfFrequency[entry + 1];

    const double r = resonance > 0.05 ? std::min(resonance, 1.0) : 0.05;
    q_ = tables_.svfDamping[static_cast<std::size_t>(static_cast<int>(4095.0 * r))];

    // Above this damping the double-rate loop would go unstable at high f. With the cutoff held
    // at fs / 2.75, f stays at or below 1.0811 and the limit above 1.309, so only a larger q can
    // meet it; testing q first keeps the division out of the per-sample path.
    if (q_ > kSmallestDampingLimit) {
        const double limit = std::min(2.0 / f_ - f_ / 2.0, 2.0);
        if (limit < q_) {
            q_ = limit;
        }
    }
    setDrainKnee();
}

void StateVariableFilter::setDrainKnee() {
    const double stableGain = 2.0 - f_ * q_ - 0.5 * f_ * f_;
    drainGainPastKnee_ = kDrainShareOfStableGain * stableGain;
    kneeSquared_ = drainGainPastKnee_ / kBandSaturation;
}

TwoLanes StateVariableFilter::process(TwoLanes input, FilterType type) {
    Integrators& s = states_;
    const TwoLanes kneeSquared = bothLanes(kneeSquared_);
    TwoLanes sum{};
    for (int pass = 0; pass < 2; ++pass) {
        const TwoLanes band = flushDenormal(s.band);
        s.low += f_ * band;
        s.high = input - q_ * band - s.low;
        s.band = band + f_ * s.high - drain(band, kneeSquared);
        switch (type) {
        case FilterType::LowPass:
            sum += s.low;
            break;
        case FilterType::BandPass:
            sum += s.band;
            break;
        case FilterType::HighPass:
            sum += s.high;
            break;
        }
    }
    return 0.5 * sum;
}

TwoLanes StateVariableFilter::drain(TwoLanes band, TwoLanes kneeSquared) const {
    const TwoLanes cubic = kBandSaturation * (band * band * band);
    const TwoLanes proportional = drainGainPastKnee_ * band;
    return band * band <= kneeSquared ? cubic : proportional;
}

void StateVariableFilter::reset() {
    states_ = {};
    f_ = 0.0;
    q_ = 0.0;
    setDrainKnee();
}

} // namespace velmora::engine
