// The parameter smoothing set: pairs of (target, smoothed value). Targets are written from any
// thread; the audio thread moves every smoothed value one step toward its target per sample
// through a one-pole low-pass at 30 Hz.
#pragma once

#include "engine/Denormal.h"
#include "engine/RelaxedAtomic.h"

#include <array>
#include <atomic>
#include <cstddef>

namespace velmora::engine {

// In the order they are updated.
enum class Smoothed : std::size_t {
    InputGain,
    MuteLeft,
    MuteRight,
    OutputGain,
    Mix,
    FeedbackGainLeft,
    FeedbackGainRight,
    FeedbackPanLeft,
    FeedbackPanRight,
    DelayPanLeft,
    DelayPanRight,
    GateThresholdLeft,
    GateThresholdRight,
    ModulationBlend,
    CutoffDepth,
    ResonanceDepth,
    CutoffHz,
    Resonance,
    ClockDepth,
    DriveGain,
    Count
};

inline constexpr std::size_t kSmoothedCount = static_cast<std::size_t>(Smoothed::Count);

class SmoothingSet {
  public:
    // Any thread. The version moves after the target, so a step that sees the new version
    // also sees the new target.
    void setTarget(Smoothed which, double target) {
        targets_[index(which)].set(target);
        version_.fetch_add(1, std::memory_order_release);
    }
    double target(Smoothed which) const { return targets_[index(which)].get(); }

    // The audio thread's side.
    double value(Smoothed which) const { return values_[index(which)]; }
    void setValue(Smoothed which, double value) {
        values_[index(which)] = value;
        settled_ = false;
    }

    void setCoefficient(double k) {
        coefficient_ = k;
        settled_ = false;
    }
    double coefficient() const { return coefficient_; }

    // One sample: every smoothed value moves toward its target, flushed of denormals. Once a
    // step changes nothing the set has settled, and further steps with the same targets would
    // change nothing either, so they are skipped until a target is written again.
    void step() {
        const unsigned version = version_.load(std::memory_order_acquire);
        if (settled_ && version == settledVersion_) return;
        const double k = coefficient_;
        bool changed = false;
        for (std::size_t i = 0; i < kSmoothedCount; ++i) {
            const double target = targets_[i].get();
            const double next = flushDenormal((target - values_[i]) * k + values_[i]);
            changed |= next != values_[i];
            values_[i] = next;
        }
        settled_ = !changed;
        settledVersion_ = version;
    }

    // Suspend: every smoothed value takes its target at once.
    void jumpToTargets() {
        for (std::size_t i = 0; i < kSmoothedCount; ++i)
            values_[i] = targets_[i].get();
        settled_ = false;
    }

  private:
    static constexpr std::size_t index(Smoothed which) { return static_cast<std::size_t>(which); }

    std::array<RelaxedAtomic<double>, kSmoothedCount> targets_;
    std::atomic<unsigned> version_{0};
    std::array<double, kSmoothedCount> values_{};
    double coefficient_ = 0.0;
    bool settled_ = false;
    unsigned settledVersion_ = 0;
};

} // namespace velmora::engine
