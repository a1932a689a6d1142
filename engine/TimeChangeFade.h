// The per-channel fade that hides a jump of the delay taps: while a retime is pending the
// delay output falls by a fixed factor per sample; once it is 60 dB down the taps jump and the
// gain climbs back to unity.
#pragma once

#include "engine/RelaxedAtomic.h"

#include <algorithm>

namespace velmora::engine {

class TimeChangeFade {
  public:
    static constexpr double kSilentGain = 0.001;

    // Set from any thread whenever the channel's timing changes.
    void requestRetime() { retimePending_.set(true); }
    bool retimePending() const { return retimePending_.get(); }

    // One sample. Returns true when the taps must be placed anew now. The flag is cleared
    // before the caller reads the delay settings, so a change that lands meanwhile is not lost:
    // it raises the flag again and fades once more.
    bool advance(double fadeStep) {
        if (retimePending_.get()) {
            gain_ *= fadeStep;
            if (gain_ <= kSilentGain) {
                retimePending_.set(false);
                return true;
            }
            return false;
        }
        if (gain_ < 1.0) // at unity the gain would only be limited back to 1
            gain_ = std::min(gain_ / fadeStep, 1.0);
        return false;
    }

    double gain() const { return gain_; }

    // A rate change re-places the taps itself; the gain carries on from where it is.
    void cancelRetime() { retimePending_.set(false); }

    // Suspend: no fade in progress, full gain.
    void settle() {
        retimePending_.set(false);
        gain_ = 1.0;
    }

  private:
    RelaxedAtomic<bool> retimePending_{false};
    double gain_ = 1.0;
};

} // namespace velmora::engine
