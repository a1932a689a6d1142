// The delay gates of both channels: an envelope of each channel's delay output with a fast
// attack and a release shared by both channels; below its threshold a channel's output is
// scaled down by the square of envelope / threshold.
#pragma once

#include "engine/Denormal.h"
#include "engine/TwoLanes.h"

namespace velmora::engine {

class DelayGate {
  public:
    static constexpr double kThresholdFloor = 1e-5;

    // Follows |y| of both channels (a lane each) and returns the gains to apply (already
    // squared). The envelopes run as lanes; each gain stays behind its own branch, which keeps
    // the division out of the way while the output is above the threshold.
    TwoLanes process(TwoLanes y, TwoLanes threshold, double attack, double release) {
        const TwoLanes level = absLanes(y);
        const TwoLanes coefficient = envelope_ > level ? bothLanes(release) : bothLanes(attack);
        envelope_ = flushDenormal((level - envelope_) * coefficient + envelope_);
        return TwoLanes{gain(envelope_[0], threshold[0]), gain(envelope_[1], threshold[1])};
    }

    double envelope(int channel) const { return envelope_[channel]; }
    void reset() { envelope_ = TwoLanes{}; }

  private:
    static double gain(double envelope, double threshold) {
        if (threshold >= kThresholdFloor && envelope < threshold) {
            const double ratio = envelope / threshold;
            return ratio * ratio;
        }
        return 1.0;
    }

    TwoLanes envelope_{};
};

} // namespace velmora::engine
