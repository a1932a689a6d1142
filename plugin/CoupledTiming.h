// A side's delay mode, range and time: a write to one of them can move the others in the
// engine (a switch to "time" picks the range that holds the current delay; a range change
// rescales the time value), so they are stored and reported together.
#pragma once

#include "engine/ParameterIndex.h"

#include <array>

namespace velmora {

struct CoupledTiming {
    int mode;
    int range;
    int time;
};

inline constexpr std::array<CoupledTiming, 2> kCoupledTiming{{
    {param::DlyModeL, param::RangeL, param::DlyTimeL},
    {param::DlyModeR, param::RangeR, param::DlyTimeR},
}};

// The side whose coupled timing `index` belongs to, or null.
constexpr const CoupledTiming* coupledTimingOf(int index) {
    for (const CoupledTiming& side : kCoupledTiming)
        if (index == side.mode || index == side.range || index == side.time) return &side;
    return nullptr;
}

} // namespace velmora
