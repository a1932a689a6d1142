// Note values at a tempo: delay times and LFO rates.
#pragma once

namespace velmora::engine {

inline constexpr double kMaxDelayMs = 5000.0;
inline constexpr double kMinLfoRateHz = 0.01;
inline constexpr double kMaxLfoRateHz = 15.0;

// numerator / denominator of a whole note at the tempo, in ms (not limited).
inline double noteLengthMs(int numerator, int denominator, double tempoBpm) {
    return numerator * 240000.0 / (denominator * tempoBpm);
}

// One LFO cycle per numerator / denominator of a whole note, in Hz (not limited).
inline double noteRateHz(int numerator, int denominator, double tempoBpm) {
    return denominator * tempoBpm / (numerator * 240.0);
}

} // namespace velmora::engine
