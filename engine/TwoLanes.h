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

// max(a, b) per lane as the processor's max gives it: a > b ? a : b, so b passes when either is
// a NaN.
inline TwoLanes maxLanes(TwoLanes a, TwoLanes b) {
#if defined(__SSE2__)
    return _mm_max_pd(a, b);
#else
    return a > b ? a : b;
#endif
}

// min(a, b) per lane as the processor's min gives it: a < b ? a : b, so b passes when either is
// a NaN.
inline TwoLanes minLanes(TwoLanes a, TwoLanes b) {
#if defined(__SSE2__)
    return _mm_min_pd(a, b);
#else
    return a < b ? a : b;
#endif
}

// |v| per lane: the sign bits cleared, as std::fabs does.
inline TwoLanes absLanes(TwoLanes v) {
#if defined(__SSE2__)
    return _mm_andnot_pd(bothLanes(-0.0), v);
#else
    return TwoLanes{__builtin_fabs(v[0]), __builtin_fabs(v[1])};
#endif
}

} // namespace velmora::engine
