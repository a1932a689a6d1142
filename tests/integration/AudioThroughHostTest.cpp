// Audio and MIDI through the binary's process and event entry points.
#include "tests/support/HostFixture.h"

#include "engine/ParameterIndex.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora::testing {
namespace {

using AudioThroughHostTest = HostFixture;

constexpr VstInt32 kBlock = 256;
constexpr int kBlocks = 2 * 44100 / kBlock; // two seconds

// Renders an impulse on both main inputs followed by silence; returns the left output.
template <typename Sample> std::vector<double> impulseResponse(host::PluginInstance& plugin) {
    host::PlanarBuffer<Sample> inputs(4, kBlock);
    host::PlanarBuffer<Sample> outputs(2, kBlock);
    std::vector<double> left;
    for (int block = 0; block < kBlocks; ++block) {
        inputs.clear();
        if (block == 0) {
            inputs.channel(0)[0] = Sample(0.5);
            inputs.channel(1)[0] = Sample(0.5);
        }
        if constexpr (std::is_same_v<Sample, double>) {
            plugin.processDouble(inputs, outputs, kBlock);
        } else {
            plugin.processFloat(inputs, outputs, kBlock);
        }
        for (const Sample sample : outputs.channel(0)) {
            left.push_back(static_cast<double>(sample));
        }
    }
    return left;
}

double peak(const std::vector<double>& samples) {
    double loudest = 0.0;
    for (const double sample : samples) {
        loudest = std::max(loudest, std::abs(sample));
    }
    return loudest;
}

TEST_F(AudioThroughHostTest, FloatAndDoubleRoutinesProduceTheSameEchoes) {
    auto& floatPlugin = createRunningInstance();
    const auto fromFloat = impulseResponse<float>(floatPlugin);

    host::ScriptedHost otherHost;
    host::PluginInstance doublePlugin(library, otherHost);
    doublePlugin.open();
    doublePlugin.setSampleRate(44100.0f);
    doublePlugin.setBlockSize(kBlock);
    doublePlugin.resume();
    const auto fromDouble = impulseResponse<double>(doublePlugin);

    ASSERT_TRUE(std::ranges::all_of(fromFloat, [](double x) { return std::isfinite(x); }));
    ASSERT_TRUE(std::ranges::all_of(fromDouble, [](double x) { return std::isfinite(x); }));
    // Something arrives after the first block: the echoes of the impulse.
    const std::vector<double> later(fromDouble.begin() + kBlock, fromDouble.end());
    EXPECT_GT(peak(later), 1e-4);
    double largestDifference = 0.0;
    for (std::size_t i = 0; i < fromFloat.size(); ++i) {
        largestDifference = std::max(largestDifference, std::abs(fromFloat[i] - fromDouble[i]));
    }
    EXPECT_LT(largestDifference, 1e-4 * std::max(1.0, peak(fromDouble)));
}

TEST_F(AudioThroughHostTest, ProcessingFollowsTheHostTempo) {
    // Tempo-synced delay times move with the tempo the host reports at resume.
    constexpr float kNoteMode = 0.75f;
    host.setTempo(60.0);
    auto& slow = createInstance();
    slow.setParameter(param::DlyModeL, kNoteMode);
    slow.setParameter(param::DlyModeR, kNoteMode);
    slow.setSampleRate(44100.0f);
    slow.setBlockSize(kBlock);
    slow.resume();
    const auto slowResponse = impulseResponse<float>(slow);

    host::ScriptedHost fastHost;
    fastHost.setTempo(240.0);
    host::PluginInstance fast(library, fastHost);
    fast.setParameter(param::DlyModeL, kNoteMode);
    fast.setParameter(param::DlyModeR, kNoteMode);
    fast.setSampleRate(44100.0f);
    fast.setBlockSize(kBlock);
    fast.resume();
    const auto fastResponse = impulseResponse<float>(fast);
    EXPECT_GT(host.timeQueryCount(), kBlocks / 2) << "the process routines ask for the time";
    EXPECT_NE(slow.parameterDisplay(param::DlyTimeL), fast.parameterDisplay(param::DlyTimeL));
    EXPECT_NE(slowResponse, fastResponse);
}

TEST_F(AudioThroughHostTest, AssignedControllerDrivesItsParameter) {
    auto& plugin = createRunningInstance();
    // Controller 7 assigned to the cutoff: the assignment parameter carries (7 + 0.5) / 129.
    plugin.setParameter(60 + param::Cutoff, 7.5f / 129.0f);
    EXPECT_FLOAT_EQ(plugin.getParameter(60 + param::Cutoff), 7.5f / 129.0f);

    const std::vector<host::MidiMessage> single{{0, 0xB3, 7, 64}}; // any channel
    EXPECT_EQ(plugin.sendMidi(single), 1);
    EXPECT_FLOAT_EQ(plugin.getParameter(param::Cutoff), 64.0f / 127.0f);

    // A long list (past the two entries the record declares) is applied in order; other
    // messages and unassigned controllers leave the parameter alone.
    std::vector<host::MidiMessage> many;
    for (int i = 0; i < 300; ++i) {
        many.push_back({i % kBlock, 0xB0, 7, static_cast<std::uint8_t>(i % 128)});
        many.push_back({i % kBlock, 0x90, 7, 100}); // note on, not a controller
        many.push_back({i % kBlock, 0xB0, 8, 5});   // controller 8 is not assigned
    }
    EXPECT_EQ(plugin.sendMidi(many), 1);
    EXPECT_FLOAT_EQ(plugin.getParameter(param::Cutoff), (299 % 128) / 127.0f);
}

} // namespace
} // namespace velmora::testing
