#include "engine/AntiAliasFilter.h"

#include "engine/Denormal.h"
#include "engine/PortableMaths.h"

#include <numbers>

namespace velmora::engine {

namespace {

// At and below this rate the 14 kHz corner lies at or above Nyquist, where the bilinear design
// has its poles on or outside the unit circle.
constexpr double kLowestRateForFixedCorner = 28000.0;

// There the corner keeps the fraction of the rate that 14 kHz is of 44.1 kHz (0.317 fs): what
// the filter guards against is the halved line rate at the slowest clock (fs / 4), which scales
// with fs, so the same ratio gives the same protection and a comfortably stable design.
constexpr double kLowRateCornerRatio = 14000.0 / 44100.0;

} // namespace

void AntiAliasFilter::design(double fs) {
    cornerHz_ = fs > kLowestRateForFixedCorner ? kCornerHz : fs * kLowRateCornerRatio;
    const double c = 1.0 / maths::tan(std::numbers::pi * cornerHz_ / fs);
    const double den = c * c + std::numbers::sqrt2 * c + 1.0;
    b0_ = bothLanes(1.0 / den);
    b1_ = bothLanes(2.0 / den);
    b2_ = bothLanes(1.0 / den);
    a1_ = bothLanes(-2.0 * (c * c - 1.0) / den);
    a2_ = bothLanes((c * c - std::numbers::sqrt2 * c + 1.0) / den);
}

TwoLanes AntiAliasFilter::filter(Section& s, TwoLanes x) const {
    const TwoLanes y = flushDenormal(b0_ * x + b1_ * s.x1 + b2_ * s.x2 - a1_ * s.y1 - a2_ * s.y2);
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    return y;
}

void AntiAliasFilter::process(double& left, double& right) {
    const TwoLanes y = filter(sections_[1], filter(sections_[0], TwoLanes{left, right}));
    left = y[0];
    right = y[1];
}

void AntiAliasFilter::settle(double left, double right) {
    const TwoLanes last{left, right};
    for (Section& s : sections_)
        s = {last, last, last, last};
}

void AntiAliasFilter::reset() {
    sections_ = {};
}

} // namespace velmora::engine
