// A pair of doubles held as one two-lane value (a left and a right channel, or two signals that
// always take the same steps). Every operation acts on both lanes alike, so each lane's result
// is bit for bit what the same scalar code gives, in half the instructions where the processor
// has two-lane arithmetic.
#pragma once

namespace velmora::engine {

using TwoLanes = double __attribute__((vector_size(2 * sizeof(double))));

inline TwoLanes bothLanes(double value) {
    return TwoLanes{value, value};
}

// Each lane held within lo..hi, a NaN passing through as it does through std::clamp.
inline TwoLanes clampLanes(TwoLanes v, TwoLanes lo, TwoLanes hi) {
    const TwoLanes raised = v < lo ? lo : v;
    return hi < raised ? hi : raised;
}

} // namespace velmora::engine
