// Engine throughput in nanoseconds per stereo frame, for the construction defaults and for a
// setting that runs every stage. The "frame_time" counter is seconds per frame (read "n" as ns).
#include "engine/Engine.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace velmora::engine {
namespace {

enum class Setting { Defaults, AllStages };

constexpr float kOn = 0.75f;

// Filter in the feedback loop, clocked delay driven by the LFO, plate reverb on the output,
// drive, gate, sidechain ducking and note-synced delays with a phase-locked LFO.
void applyAllStages(Engine& engine) {
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

template <typename Sample> void processFrames(benchmark::State& state, Setting setting) {
    const int frames = static_cast<int>(state.range(0));
    const double fs = static_cast<double>(state.range(1));

    auto engine = std::make_unique<Engine>();
    engine->setSpeakerArrangement(4, 2);
    ResumeRequest resume;
    resume.hostTempoBpm = 120.0;
    resume.sampleRate = fs;
    engine->resume(resume);
    if (setting == Setting::AllStages) applyAllStages(*engine);

    Buffers<Sample> buffers(frames, fs);
    HostTiming timing{120.0, 0.0};
    const double quartersPerBlock = frames * 120.0 / (60.0 * fs);
    for (auto _ : state) {
        engine->process(buffers.inputPointers.data(), buffers.outputPointers.data(), frames,
                        timing);
        benchmark::DoNotOptimize(buffers.outputs[0].data());
        benchmark::ClobberMemory();
        *timing.ppqPosition += quartersPerBlock;
    }
    state.SetItemsProcessed(state.iterations() * frames);
    state.counters["frame_time"] = benchmark::Counter(
        static_cast<double>(frames),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void arguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"block", "fs"});
    for (const int fs : {44100, 96000})
        for (const int block : {64, 512})
            b->Args({block, fs});
}

void BM_DefaultsFloat(benchmark::State& s) {
    processFrames<float>(s, Setting::Defaults);
}
void BM_DefaultsDouble(benchmark::State& s) {
    processFrames<double>(s, Setting::Defaults);
}
void BM_AllStagesFloat(benchmark::State& s) {
    processFrames<float>(s, Setting::AllStages);
}
void BM_AllStagesDouble(benchmark::State& s) {
    processFrames<double>(s, Setting::AllStages);
}

BENCHMARK(BM_DefaultsFloat)->Apply(arguments);
BENCHMARK(BM_DefaultsDouble)->Apply(arguments);
BENCHMARK(BM_AllStagesFloat)->Apply(arguments);
BENCHMARK(BM_AllStagesDouble)->Apply(arguments);

} // namespace
} // namespace velmora::engine

BENCHMARK_MAIN();
