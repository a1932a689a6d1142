// Sidechain ducking: an envelope of the raw sidechain level; while it is above the threshold
// the wet signal is scaled by threshold / envelope, so the ducked level settles at the
// threshold.
#pragma once

#include "engine/Denormal.h"
#include "engine/RelaxedAtomic.h"

#include <algorithm>
#include <cmath>

namespace velmora::engine {

class Ducker {
  public:
    static constexpr double kEnvelopeFloor = 0.0001;

    void setThreshold(double threshold) { threshold_.set(threshold); }
    double threshold() const { return threshold_.get(); }
    void setAttack(double coefficient) { attack_ = coefficient; }      // sample-rate set-up
    void setRelease(double coefficient) { release_.set(coefficient); } // any thread

    // Returns the gain for the wet signal.
    double process(double sideLeft, double sideRight) {
        const double level = std::max(std::fabs(sideLeft), std::fabs(sideRight));
        const double coefficient = level < envelope_ ? release_.get() : attack_;
        envelope_ = flushDenormal((level - envelope_) * coefficient + envelope_);
        const double threshold = threshold_.get();
        if (threshold < envelope_) return threshold / std::max(envelope_, kEnvelopeFloor);
        return 1.0;
    }

    double envelope() const { return envelope_; }
    void reset() { envelope_ = 0.0; }

  private:
    RelaxedAtomic<double> threshold_{0.0};
    RelaxedAtomic<double> release_{0.0};
    double attack_ = 0.0;
    double envelope_ = 0.0;
};

} // namespace velmora::engine
