// Blends the LFO and the envelope into one modulation value per side, and turns those into the
// filter's cutoff multiplier and resonance modulation for the next sample.
#pragma once

#include "engine/Lfo.h"
#include "engine/ModulationTables.h"

#include <algorithm>

namespace velmora::engine {

class ModulationMix {
  public:
    // mod = (1 − b) × LFO value + b × envMod, per side.
    Lfo::Values blend(Lfo::Values lfo, double envModLeft, double envModRight, double blend) const {
        return {(1.0 - blend) * lfo.left + blend * envModLeft,
                (1.0 - blend) * lfo.right + blend * envModRight};
    }

    // The cutoff follows the left value through the speed curve cubed (±3 octaves), the
    // resonance takes the right value as it is.
    void prepareFilterModulation(Lfo::Values mod, double cutoffDepth) {
        const double position = std::clamp((cutoffDepth * mod.left + 1.0) * 0.5, 0.0, 1.0);
        const double m = interpolateSpeed(tables_, position);
        cutoffMultiplier_ = m * m * m;
        resonanceModulation_ = mod.right;
    }

    double cutoffMultiplier() const { return cutoffMultiplier_; }
    double resonanceModulation() const { return resonanceModulation_; }

  private:
    const ModulationTables& tables_ = modulationTables();
    double cutoffMultiplier_ = 1.0;
    double resonanceModulation_ = 0.0;
};

} // namespace velmora::engine
