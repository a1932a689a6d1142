// Where a channel's taps stand for its current timing settings.
#pragma once

#include "engine/EngineState.h"

#include <cstddef>

namespace velmora::engine {

struct TapDistances {
    std::size_t preSamples;   // F behind W
    std::size_t delaySamples; // R behind F
};

// From the channel's delay time, pre-delay fraction and the sample rate, truncated to samples.
TapDistances tapDistances(const EngineState& state, int side);

// F = W - preSamples, R = F - delaySamples, wrapped into the line; W stays where it is.
void placeTaps(EngineState& state, int side);

} // namespace velmora::engine
