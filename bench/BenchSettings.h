// The two settings the benchmarks measure, as parameter values, and their input signal. Only
// the standard library and the parameter tables: the module speed program, which drives the
// built module through its entry, states its settings from here too.
#pragma once

#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <random>
#include <span>

namespace velmora::engine {

enum class Setting { Defaults, AllStages };

inline constexpr float kOn = 0.75f;

struct ParameterValue {
    int index;
    float value;
};

// Filter in the feedback loop, clocked delay driven by the LFO, plate reverb on the output,
// drive, gate, sidechain ducking and note-synced delays with a phase-locked LFO.
inline auto allStagesParameters() {
    return std::to_array<ParameterValue>({
        {param::FltOn, kOn},
        {param::FltMode, stepValue(1, 3)}, // "fb"
        {param::FltType, stepValue(1, 3)}, // band-pass
        {param::Cutoff, 0.6f},
        {param::Reso, 0.7f},
        {param::CutfMod, 0.8f},
        {param::ResoMod, 0.7f},
        {param::VcoOn, kOn},
        {param::VcoMan, 0.6f},
        {param::VcoMod, 0.8f},
        {param::LFOWave, stepValue(0, 5)},
        {param::LFORate, 0.3f},
        {param::LROffset, 0.7f},
        {param::ModSrc, 0.3f},
        {param::LfoMode, stepValue(2, 3)}, // phase locked to the song position
        {param::RvbOn, kOn},
        {param::RvbType, stepValue(1, 2)}, // plate
        {param::RvbMode, stepValue(1, 2)}, // "out"
        {param::RvbAmt, 0.4f},
        {param::RvbDamp, 0.4f},
        {param::Drive, 0.5f},
        {param::DlyGateL, 0.1f},
        {param::DlyGateR, 0.1f},
        {param::Ducking, 0.5f},
        {param::DlyModeL, stepValue(1, 2)}, // "note"
        {param::DlyModeR, stepValue(1, 2)},
        {param::DlyNumL, stepValue(1, 5)},
        {param::DlyDenL, stepValue(5, 13)},
        {param::DlyNumR, stepValue(2, 5)},
        {param::DlyDenR, stepValue(5, 13)},
        {param::PreNumL, stepValue(1, 6)},
        {param::FbGainL, 0.6f},
        {param::FbGainR, 0.6f},
        {param::FbPanL, 0.3f},
        {param::FbPanR, 0.7f},
        {param::Mix, 0.5f},
    });
}

// The parameters a setting changes from where it starts (Defaults changes none).
inline std::span<const ParameterValue> parametersOf(Setting setting) {
    static const auto allStages = allStagesParameters();
    if (setting == Setting::AllStages) return allStages;
    return {};
}

// Main input (channels 0 and 1): a tone with a little noise; sidechain (2 and 3): a slower
// tone, so the ducker works. Each channel holds the same number of frames.
template <typename Sample>
void fillBenchInputs(const std::array<std::span<Sample>, 4>& channels, double fs) {
    std::minstd_rand random(1);
    std::uniform_real_distribution<double> noise(-0.05, 0.05);
    for (std::size_t i = 0; i < channels[0].size(); ++i) {
        const auto n = static_cast<double>(i);
        const double tone = 0.5 * std::sin(2 * std::numbers::pi * 220.0 * n / fs);
        const double side = 0.8 * std::sin(2 * std::numbers::pi * 3.0 * n / fs);
        channels[0][i] = static_cast<Sample>(tone + noise(random));
        channels[1][i] = static_cast<Sample>(-tone + noise(random));
        channels[2][i] = static_cast<Sample>(side);
        channels[3][i] = static_cast<Sample>(-side);
    }
}

} // namespace velmora::engine
