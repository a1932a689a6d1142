// The built module's speed as a host runs it: loaded through its entry, prepared at 44.1 kHz with
// blocks of 512 and a host at 120 BPM, then timed through processReplacing and
// processDoubleReplacing. Needs no benchmark library, so the Windows builds make it too and it
// measures their DLLs under Wine.
//
//   velmora_module_speed <module> [rounds]
//
// Prints, per setting and sample type, the fastest and the median time per stereo frame over the
// rounds, the real-time factor at the median (seconds of audio per second of processing) and
// the output's peak, which shows the module really rendered; silent or non-finite output fails.
#include "bench/BenchSettings.h"
#include "tools/host/PluginHost.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace velmora::bench {
namespace {

using engine::Setting;

constexpr double kRate = 44100.0;
constexpr VstInt32 kBlock = 512;
constexpr double kTempo = 120.0;
constexpr int kWarmUpBlocks = 400;   // parameter smoothing settles, caches and predictors warm
constexpr int kBlocksPerRound = 200; // 2.3 s of audio
constexpr int kDefaultRounds = 15;

struct Timing {
    double fastestNs = 0.0; // per stereo frame
    double medianNs = 0.0;
    double peak = 0.0; // of the last block of every round
};

double median(std::vector<double> values) {
    std::ranges::sort(values);
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (values[middle - 1] + values[middle]) / 2.0;
}

// Infinite when a sample is not finite, which the maximum alone would pass over for a NaN.
template <typename Sample> double peakOf(const host::PlanarBuffer<Sample>& outputs) {
    double peak = 0.0;
    for (int channel = 0; channel < outputs.channels(); ++channel) {
        for (const Sample sample : outputs.channel(channel)) {
            if (!std::isfinite(sample)) return std::numeric_limits<double>::infinity();
            peak = std::max(peak, std::abs(static_cast<double>(sample)));
        }
    }
    return peak;
}

// One block as a playing host sends it: process, then move the transport on.
template <typename Sample>
void processBlock(host::PluginInstance& plugin, host::PlanarBuffer<Sample>& inputs,
                  host::PlanarBuffer<Sample>& outputs) {
    if constexpr (std::is_same_v<Sample, double>) {
        plugin.processDouble(inputs, outputs, kBlock);
    } else {
        plugin.processFloat(inputs, outputs, kBlock);
    }
    plugin.host().advanceTransport(kBlock);
}

template <typename Sample> Timing timeProcessing(host::PluginInstance& plugin, int rounds) {
    host::PlanarBuffer<Sample> inputs(4, kBlock);
    host::PlanarBuffer<Sample> outputs(2, kBlock);
    engine::fillBenchInputs<Sample>(
        {inputs.channel(0), inputs.channel(1), inputs.channel(2), inputs.channel(3)}, kRate);

    for (int block = 0; block < kWarmUpBlocks; ++block)
        processBlock(plugin, inputs, outputs);

    Timing timing;
    std::vector<double> perFrame;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int block = 0; block < kBlocksPerRound; ++block)
            processBlock(plugin, inputs, outputs);
        const std::chrono::duration<double, std::nano> elapsed =
            std::chrono::steady_clock::now() - start;
        perFrame.push_back(elapsed.count() / (kBlocksPerRound * kBlock));
        timing.peak = std::max(timing.peak, peakOf(outputs));
    }
    timing.fastestNs = std::ranges::min(perFrame);
    timing.medianNs = median(std::move(perFrame));
    return timing;
}

// A time is worth reporting only for audio really rendered: a skipped block is silent.
void report(const char* setting, const char* sampleType, const Timing& timing) {
    if (!(timing.peak > 0.0 && std::isfinite(timing.peak))) {
        throw host::HostError(std::string(setting) + " " + sampleType +
                              ": the module's output is silent or not finite");
    }
    const double realTimeFactor = 1e9 / (timing.medianNs * kRate);
    std::printf("%-9s %-6s fastest %7.1f ns/frame  median %7.1f ns/frame  real-time x%-6.0f "
                "peak %.3f\n",
                setting, sampleType, timing.fastestNs, timing.medianNs, realTimeFactor,
                timing.peak);
}

// A fresh instance per setting, prepared as a host does before playing.
void measureSetting(const host::PluginLibrary& library, Setting setting, int rounds) {
    host::ScriptedHost host;
    host.setSampleRate(kRate);
    host.setTempo(kTempo);
    host.setSongPosition(0.0);
    host::PluginInstance plugin(library, host);
    plugin.open();
    plugin.setSampleRate(static_cast<float>(kRate));
    plugin.setBlockSize(kBlock);
    plugin.resume();
    for (const auto& [index, value] : engine::parametersOf(setting))
        plugin.setParameter(index, value);

    const char* name = setting == Setting::AllStages ? "AllStages" : "Defaults";
    report(name, "float", timeProcessing<float>(plugin, rounds));
    report(name, "double", timeProcessing<double>(plugin, rounds));
}

int run(const std::string& modulePath, int rounds) {
    const host::PluginLibrary library(modulePath);
    std::printf("%s: %.0f Hz, blocks of %d, %d rounds of %d blocks\n", modulePath.c_str(), kRate,
                kBlock, rounds, kBlocksPerRound);
    for (const Setting setting : {Setting::Defaults, Setting::AllStages})
        measureSetting(library, setting, rounds);
    return 0;
}

} // namespace
} // namespace velmora::bench

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <module> [rounds]\n", argv[0]);
        return 2;
    }
    const int rounds = argc == 3 ? std::atoi(argv[2]) : velmora::bench::kDefaultRounds;
    if (rounds < 1) {
        std::fprintf(stderr, "rounds must be a positive number\n");
        return 2;
    }
    try {
        return velmora::bench::run(argv[1], rounds);
    } catch (const velmora::host::HostError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
