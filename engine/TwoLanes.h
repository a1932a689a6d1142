// A pair of doubles held as one two-lane value (a left and a right channel, or two signals that
// always take the same steps). Every operation acts on both lanes alike, so each lane's result
// is bit for bit what the same scalar code gives, in half the instructions where the processor
// has two-lane arithmetic.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::engine {

using TwoLanes = double __attribute__((vector_size(2 * sizeof(double))));

inline TwoLanes bothLanes(double value) {
    return TwoLanes{value, value};
}

// Each lane held within lo..hi, a NaN passing through as it does through std::clamp. The
// processor's max and min are exactly these selects, in one step each instead of four.
inline TwoLanes clampLanes(TwoLanes v, TwoLanes lo, TwoLanes hi) {
#if defined(__SSE2__)
    return _mm_min_pd(hi, _mm_max_pd(lo, v)); // (lo > v ? lo : v), then (hi < that ? hi : that)
#else
    const TwoLanes raised = v < lo ? lo : v;
    return hi < raised ? hi : raised;
#endif
}

} // namespace velmora::engine
