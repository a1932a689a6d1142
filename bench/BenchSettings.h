// The two settings the engine benchmarks measure, and their input signals.
#pragma once

#include "engine/Engine.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace velmora::engine {

enum class Setting { Defaults, AllStages };

inline constexpr float kOn = 0.75f;

// Filter in the feedback loop, clocked delay driven by the LFO, plate reverb on the output,
// drive, gate, sidechain ducking and note-synced delays with a phase-locked LFO.
inline void applyAllStages(Engine& engine) {
    const std::pair<int, float> settings[] = {
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
    };
    for (const auto& [index, value] : settings)
        engine.setParameter(index, value);
}

// Main input: a tone with a little noise; sidechain: a slower tone, so the ducker works.
template <typename Sample> struct Buffers {
    std::array<std::vector<Sample>, 4> inputs;
    std::array<std::vector<Sample>, 2> outputs;
    std::array<const Sample*, 4> inputPointers{};
    std::array<Sample*, 2> outputPointers{};

    Buffers(int frames, double fs) {
        std::minstd_rand random(1);
        std::uniform_real_distribution<double> noise(-0.05, 0.05);
        for (auto& channel : inputs)
            channel.resize(static_cast<std::size_t>(frames));
        for (int n = 0; n < frames; ++n) {
            const double tone = 0.5 * std::sin(2 * std::numbers::pi * 220.0 * n / fs);
            const double side = 0.8 * std::sin(2 * std::numbers::pi * 3.0 * n / fs);
            const auto i = static_cast<std::size_t>(n);
            inputs[0][i] = static_cast<Sample>(tone + noise(random));
            inputs[1][i] = static_cast<Sample>(-tone + noise(random));
            inputs[2][i] = static_cast<Sample>(side);
            inputs[3][i] = static_cast<Sample>(-side);
        }
        for (auto& channel : outputs)
            channel.resize(static_cast<std::size_t>(frames));
        for (std::size_t c = 0; c < 4; ++c)
            inputPointers[c] = inputs[c].data();
        for (std::size_t c = 0; c < 2; ++c)
            outputPointers[c] = outputs[c].data();
    }
};

// An engine resumed at fs with the host at 120 BPM, four inputs and two outputs, in a setting.
inline std::unique_ptr<Engine> makeEngine(Setting setting, double fs) {
    auto engine = std::make_unique<Engine>();
    engine->setSpeakerArrangement(4, 2);
    ResumeRequest resume;
    resume.hostTempoBpm = 120.0;
    resume.sampleRate = fs;
    engine->resume(resume);
    if (setting == Setting::AllStages) applyAllStages(*engine);
    return engine;
}

} // namespace velmora::engine
