// The resonant state-variable filter, run twice per sample (at twice the rate) for a usable
// response up to high cutoffs; a cubic term on the band state keeps full resonance bounded.
#pragma once

#include "engine/ModulationTables.h"
#include "engine/TwoLanes.h"

namespace velmora::engine {

enum class FilterType : int { LowPass = 0, BandPass = 1, HighPass = 2 };

class StateVariableFilter {
  public:
    // Cutoff limit fs / 2.75 and the scale 2 / fs that maps a cutoff into the frequency table.
    void setSampleRate(double fs);
    double cutoffLimit() const { return cutoffLimit_; }

    // Set-up for this sample: cutoffHz = cutoff multiplier × smoothed cutoff (limited here to
    // 0..cutoffLimit), resonance = resonance modulation × depth + resonance (limited to 0.05..1).
    void configure(double cutoffHz, double resonance);

    // Filters one sample of both channels (lane 0 left, lane 1 right) with the coefficients of
    // configure: two passes over the same input, the mean of the selected output of both.
    TwoLanes process(TwoLanes input, FilterType type);

    // Integrator states and the coefficients f, q to 0.
    void reset();

    double frequencyCoefficient() const { return f_; }
    double dampingCoefficient() const { return q_; }

  private:
    // The knee and the drain gain past it follow f and q (see the .cpp).
    void setDrainKnee();
    // What the band state loses in one pass: the cubic term up to the knee, a share of the
    // state past it.
    TwoLanes drain(TwoLanes band, TwoLanes kneeSquared) const;

    // The integrator states of both channels, a lane each.
    struct Integrators {
        TwoLanes low{};
        TwoLanes band{};
        TwoLanes high{};
    };

    const ModulationTables& tables_ = modulationTables();
    double cutoffLimit_ = 44100.0 / 2.75;
    double scale_ = 2.0 / 44100.0;
    double f_ = 0.0;
    double q_ = 0.0;
    double drainGainPastKnee_ = 1.8; // the values for f = q = 0
    double kneeSquared_ = 24.0;
    Integrators states_{};
};

} // namespace velmora::engine
