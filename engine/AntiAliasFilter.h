// The low-pass in front of the clocked delay: two cascaded second-order Butterworth sections per
// side, so a slowed clock does not fold the top of the spectrum back down.
#pragma once

#include "engine/TwoLanes.h"

#include <array>

namespace velmora::engine {

class AntiAliasFilter {
  public:
    static constexpr double kCornerHz = 14000.0;

    AntiAliasFilter() { design(44100.0); }

    void design(double fs); // 14 kHz bilinear Butterworth; a lower corner at 28000 Hz and below
    void process(double& left, double& right);
    void settle(double left, double right); // every history of both sections = that side's value
    void reset();

    double cornerHz() const { return cornerHz_; }

  private:
    // Both sides run the same arithmetic on the same coefficients, so each value is held as a
    // left/right pair and every step works on the pair at once.
    struct Section {
        TwoLanes x1{}, x2{}, y1{}, y2{};
    };

    TwoLanes filter(Section& section, TwoLanes x) const;

    double cornerHz_ = kCornerHz;
    // Each coefficient held in both lanes, ready for the two-lane steps.
    TwoLanes b0_{}, b1_{}, b2_{}, a1_{}, a2_{};
    std::array<Section, 2> sections_{};
};

} // namespace velmora::engine
