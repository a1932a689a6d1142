// A left/right pair of doubles held as one two-lane value. Every operation acts on both lanes
// alike, so each side's result is bit for bit what the same scalar code gives, in half the
// instructions where the processor has two-lane arithmetic.
#pragma once

namespace velmora::engine {

using StereoLanes = double __attribute__((vector_size(2 * sizeof(double))));

inline StereoLanes bothLanes(double value) {
    return StereoLanes{value, value};
}

// Each lane held within lo..hi, a NaN passing through as it does through std::clamp.
inline StereoLanes clampLanes(StereoLanes v, StereoLanes lo, StereoLanes hi) {
    const StereoLanes raised = v < lo ? lo : v;
    return hi < raised ? hi : raised;
}

} // namespace velmora::engine
