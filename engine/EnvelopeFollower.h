// The envelope followers of the delay input, one per side, as a modulation source in -1..1.
#pragma once

#include "engine/Denormal.h"
#include "engine/TwoLanes.h"

#include <atomic>

namespace velmora::engine {

class EnvelopeFollower {
  public:
    void setSensitivity(double sensitivity) {
        sensitivity_.store(sensitivity, std::memory_order_relaxed);
    }
    void setCoefficient(double k) { coefficient_.store(k, std::memory_order_relaxed); }

    // Follows |delayInput| of both sides (a lane each) scaled by the sensitivity; returns
    // envMod = 2 × env − 1.
    TwoLanes process(TwoLanes delayInput) {
        const double sensitivity = sensitivity_.load(std::memory_order_relaxed);
        const double k = coefficient_.load(std::memory_order_relaxed);
        TwoLanes& env = envelopes_;
        env = flushDenormal((absLanes(delayInput) * sensitivity - env) * k + env);
        return 2.0 * env - 1.0;
    }

    double envelope(int side) const { return envelopes_[side]; }
    void reset() { envelopes_ = TwoLanes{}; }

  private:
    std::atomic<double> sensitivity_{1.0};
    std::atomic<double> coefficient_{0.0};
    TwoLanes envelopes_{};
};

} // namespace velmora::engine
