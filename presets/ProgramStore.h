// The 61 programs an effect keeps, and the checks on program and parameter indices.
#pragma once

#include "presets/Program.h"

#include <array>
#include <bitset>

namespace velmora {

inline constexpr int kNumPrograms = 61;

using ProgramStore = std::array<Program, kNumPrograms>;

// Which of the 60 parameters take part in saving or loading.
using ParameterMask = std::bitset<kNumParameters>;

inline constexpr bool isProgramIndex(long long index) {
    return index >= 0 && index < kNumPrograms;
}
inline constexpr bool isParameterIndex(long long index) {
    return index >= 0 && index < kNumParameters;
}

// A normalised value as loads accept it: inside 0..1 (NaN is not).
inline constexpr bool isNormalised(float value) {
    return value >= 0.0f && value <= 1.0f;
}

} // namespace velmora
