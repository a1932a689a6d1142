// Note-value and range tables, and the conversions between a normalised value and a step.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora {

inline constexpr std::array<int, 5> kDelayNumerators{1, 3, 5, 7, 9};
inline constexpr std::array<int, 5> kLfoNumerators{1, 2, 3, 4, 8};
inline constexpr std::array<int, 6> kPreDelayNumerators{0, 1, 3, 5, 7, 9};
inline constexpr std::array<int, 13> kDenominatorTable{1,  2,  3,  4,  6,  8, 12,
                                                       16, 24, 32, 48, 64, 96};
inline constexpr std::array<int, 3> kRangeMaximaMs{100, 1000, 5000};

inline constexpr double kMinTempoBpm = 30.0;
inline constexpr double kMaxTempoBpm = 400.0;
inline constexpr double kDefaultTempoBpm = 120.0;

inline double normaliseTempo(double bpm) {
    return (bpm - kMinTempoBpm) / 370.0;
}

// Step i of n for a normalised value, computed in single precision. Values below 0 (and NaN)
// give step 0, so no caller can index a table out of range whatever a host sends.
inline int stepIndex(float value, int steps) {
    const float scaled = std::floor(static_cast<float>(steps) * value);
    if (!(scaled > 0.0f)) return 0;
    return scaled >= static_cast<float>(steps - 1) ? steps - 1 : static_cast<int>(scaled);
}

// The centre of step i of n, the value written for a step (0.25 and 0.75 for a switch).
inline float stepValue(int index, int steps) {
    return (static_cast<float>(index) + 0.5f) / static_cast<float>(steps);
}

} // namespace velmora
