// Instructions per stereo frame, for counting under callgrind where timings drift: the engine
// is warmed up first (parameter smoothing settled), then only processMeasuredBlocks is counted.
//
//   valgrind --tool=callgrind --toggle-collect='*processMeasuredBlocks*' <this program> all
//
// and divide the total by the frames it prints.
#include "bench/BenchEngine.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace velmora::engine {
namespace {

constexpr int kFrames = 512;
constexpr double kRate = 44100.0;
constexpr int kWarmUpBlocks = 400;
constexpr int kMeasuredBlocks = 200;

struct Run {
    Engine& engine;
    Buffers<float>& buffers;
    HostTiming timing{120.0, 0.0};

    void blocks(int count) {
        const double quartersPerBlock = kFrames * 120.0 / (60.0 * kRate);
        for (int k = 0; k < count; ++k) {
            engine.process(buffers.inputPointers.data(), buffers.outputPointers.data(), kFrames,
                           timing);
            *timing.ppqPosition += quartersPerBlock;
        }
    }
};

[[gnu::noinline]] void processMeasuredBlocks(Run& run) {
    run.blocks(kMeasuredBlocks);
}

} // namespace
} // namespace velmora::engine

int main(int argc, char** argv) {
    using namespace velmora::engine;
    const bool allStages = argc > 1 && std::strcmp(argv[1], "all") == 0;
    const auto engine = makeEngine(allStages ? Setting::AllStages : Setting::Defaults, kRate);

    Buffers<float> buffers(kFrames, kRate);
    Run run{*engine, buffers};
    run.blocks(kWarmUpBlocks);
    processMeasuredBlocks(run);
    std::printf("%s: %d frames counted\n", allStages ? "all stages" : "defaults",
                kMeasuredBlocks * kFrames);
    return buffers.outputs[0][0] == buffers.outputs[0][0] ? 0 : 1; // keeps the output in use
}
