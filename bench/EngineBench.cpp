// Engine throughput in nanoseconds per stereo frame, for the construction defaults and for a
// setting that runs every stage. The "frame_time" counter is seconds per frame (read "n" as ns).
#include "bench/BenchEngine.h"
#include "engine/Engine.h"

#include <benchmark/benchmark.h>

namespace velmora::engine {
namespace {

template <typename Sample> void processFrames(benchmark::State& state, Setting setting) {
    const int frames = static_cast<int>(state.range(0));
    const double fs = static_cast<double>(state.range(1));

    const auto engine = makeEngine(setting, fs);

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
