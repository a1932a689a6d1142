// The delay gate of one channel: an envelope of the delay output with a fast attack and a
// release shared by both channels; below its threshold the output is scaled down by the
// square of envelope / threshold.
#pragma once

#include "engine/Denormal.h"

#include <cmath>

namespace velmora::engine {

class DelayGate {
  public:
    static constexpr double kThresholdFloor = 1e-5;

    // Follows |y| and returns the gain to apply (already squared).
    double process(double y, double threshold, double attack, double release) {
        const double level = std::fabs(y);
        const double coefficient = envelope_ > level ? release : attack;
        envelope_ = flushDenormal((level - envelope_) * coefficient + envelope_);
        if (threshold >= kThresholdFloor && envelope_ < threshold) {
            const double gain = envelope_ / threshold;
            return gain * gain;
        }
        return 1.0;
    }

    double envelope() const { return envelope_; }
    void reset() { envelope_ = 0.0; }

  private:
    double envelope_ = 0.0;
};

} // namespace velmora::engine
