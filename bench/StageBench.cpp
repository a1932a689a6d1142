// Cost of each engine stage alone, in nanoseconds per stereo frame ("frame_time", read "n" as
// ns), so a change to one stage can be measured without the rest of the loop.
#include "engine/AntiAliasFilter.h"
#include "engine/ClockedDelay.h"
#include "engine/Drive.h"
#include "engine/EnvelopeFollower.h"
#include "engine/Lfo.h"
#include "engine/ModulationMix.h"
#include "engine/Reverb.h"
#include "engine/StateVariableFilter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace velmora::engine {
namespace {

constexpr int kFrames = 512;

std::vector<double> testSignal() {
    std::vector<double> signal(kFrames);
    for (int n = 0; n < kFrames; ++n)
        signal[static_cast<std::size_t>(n)] =
            0.5 * std::sin(2 * std::numbers::pi * 220.0 * n / 44100.0);
    return signal;
}

void countFrames(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kFrames);
    state.counters["frame_time"] = benchmark::Counter(
        kFrames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Filter(benchmark::State& state) {
    StateVariableFilter filter;
    filter.setSampleRate(44100.0);
    const auto signal = testSignal();
    for (auto _ : state) {
        for (const double x : signal) {
            filter.configure(2000.0 + 1000.0 * x, 0.7 + 0.2 * x);
            benchmark::DoNotOptimize(filter.process(TwoLanes{x, -x}, FilterType::BandPass));
        }
    }
    countFrames(state);
}

void BM_Modulation(benchmark::State& state) {
    Lfo lfo;
    lfo.setWave(static_cast<int>(state.range(0)));
    lfo.setShapeCoefficient(0.07);
    lfo.setOffset(0.3);
    EnvelopeFollower envelope;
    envelope.setCoefficient(0.001);
    ModulationMix mix;
    const auto signal = testSignal();
    for (auto _ : state) {
        for (const double x : signal) {
            const TwoLanes env = envelope.process(TwoLanes{x, -x});
            const Lfo::Values mod = mix.blend(lfo.step(0.001), env[0], env[1], 0.3);
            mix.prepareFilterModulation(mod, 0.8);
            benchmark::DoNotOptimize(mix.cutoffMultiplier());
        }
    }
    countFrames(state);
}

void BM_Drive(benchmark::State& state) {
    Drive drive;
    drive.setWindow(4);
    const auto signal = testSignal();
    for (auto _ : state) {
        drive.beginBlock();
        for (const double x : signal) {
            double left = x, right = -x;
            drive.process(left, right, 4.0, true);
            benchmark::DoNotOptimize(left);
            benchmark::DoNotOptimize(right);
        }
    }
    countFrames(state);
}

void BM_AntiAlias(benchmark::State& state) {
    AntiAliasFilter filter;
    filter.design(44100.0);
    const auto signal = testSignal();
    for (auto _ : state) {
        for (const double x : signal) {
            double left = x, right = -x;
            filter.process(left, right);
            benchmark::DoNotOptimize(left);
            benchmark::DoNotOptimize(right);
        }
    }
    countFrames(state);
}

// Argument: the manual offset in hundredths (0 = speed 1, 100 = speed 2, -100 = speed 0.5),
// or 999 for a modulated clock.
void BM_ClockedDelay(benchmark::State& state) {
    std::array<DelayLine, 2> lines;
    for (DelayLine& line : lines) {
        line.buffer.assign(441001, 0.0);
        line.placeTaps(100, 20000);
    }
    ClockedDelay clocked;
    const bool modulated = state.range(0) == 999;
    const double manual = modulated ? 0.0 : static_cast<double>(state.range(0)) / 100.0;
    const auto signal = testSignal();
    for (auto _ : state) {
        for (const double x : signal) {
            clocked.pushInputs(0, 0.3 * x, x);
            clocked.pushInputs(1, -0.3 * x, -x);
            const double mod = modulated ? x * 1.9 : 0.0;
            benchmark::DoNotOptimize(clocked.access(0, lines[0], mod, 0.5, manual));
            benchmark::DoNotOptimize(clocked.access(1, lines[1], -mod, 0.5, manual));
        }
    }
    countFrames(state);
}

void BM_Reverb(benchmark::State& state) {
    Reverb reverb;
    reverb.allocate(44100.0);
    reverb.setDamping(0.4);
    reverb.layOut(static_cast<ReverbType>(state.range(0)), 44100.0);
    const auto signal = testSignal();
    for (auto _ : state) {
        for (const double x : signal) {
            double left = x, right = -x * 0.5;
            reverb.process(left, right, 0.4);
            benchmark::DoNotOptimize(left);
            benchmark::DoNotOptimize(right);
        }
    }
    countFrames(state);
}

BENCHMARK(BM_Filter);
BENCHMARK(BM_Modulation)->ArgName("wave")->DenseRange(0, 4);
BENCHMARK(BM_Drive);
BENCHMARK(BM_AntiAlias);
BENCHMARK(BM_ClockedDelay)->ArgName("clock")->Arg(0)->Arg(100)->Arg(-100)->Arg(999);
BENCHMARK(BM_Reverb)->ArgName("type")->Arg(0)->Arg(1);

} // namespace
} // namespace velmora::engine
