#include "engine/DelayTiming.h"
#include "engine/TempoSync.h"

#include <algorithm>

namespace velmora::engine {

TapDistances tapDistances(const EngineState& state, int side) {
    const ChannelTiming& timing = state.timing[side];
    const double fs = state.sampleRate.get();
    const double delayMs = std::clamp(timing.delayMs.get(), 0.0, kMaxDelayMs);
    const double numerator = kPreDelayNumerators[timing.preNumeratorIndex.get()];
    const double denominator = kDenominatorTable[timing.preDenominatorIndex.get()];
    // Multiplied before divided: a whole-sample pre-delay such as a third of 3500 ms at
    // 44.1 kHz then lands on its sample instead of one short of it.
    const double preMs = std::min(delayMs * numerator / denominator, delayMs);
    return {static_cast<std::size_t>(preMs * fs / 1000.0),
            static_cast<std::size_t>(delayMs * fs / 1000.0)};
}

void placeTaps(EngineState& state, int side) {
    const TapDistances distances = tapDistances(state, side);
    state.lines[side].placeTaps(distances.preSamples, distances.delaySamples);
}

} // namespace velmora::engine
