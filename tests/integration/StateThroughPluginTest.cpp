// The state chunk through the built plug-in: a project saved with edits and a controller
// assignment restores into a new instance that stores the same bytes and sounds the same.
#include "tests/presets/ChunkSamples.h"
#include "tests/support/HostFixture.h"

#include "engine/ParameterIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {
namespace {

class StateThroughPlugin : public HostFixture {
  protected:
    // A second host and instance, prepared like the first.
    host::PluginInstance& createSecondInstance() {
        second = std::make_unique<host::PluginInstance>(library, secondHost);
        second->open();
        second->setSampleRate(44100.0f);
        second->setBlockSize(kBlock);
        second->resume();
        return *second;
    }

    host::PluginInstance& createThirdInstance() {
        third = std::make_unique<host::PluginInstance>(library, thirdHost);
        third->open();
        third->setSampleRate(44100.0f);
        third->setBlockSize(kBlock);
        third->resume();
        return *third;
    }

    // Clears both engines' memories and renders the same plucked tone through each.
    static std::vector<float> render(host::PluginInstance& plugin) {
        plugin.suspend();
        plugin.resume();
        host::PlanarBuffer<float> in(4, kBlock);
        host::PlanarBuffer<float> out(2, kBlock);
        std::vector<float> rendered;
        for (int block = 0; block < 200; ++block) {
            for (int i = 0; i < kBlock; ++i) {
                const double t = (block * kBlock + i) / 44100.0;
                const float sample = static_cast<float>(0.4 * std::sin(2 * 3.14159265 * 330 * t) *
                                                        std::exp(-3.0 * std::fmod(t, 0.5)));
                in.channel(0)[static_cast<std::size_t>(i)] = sample;
                in.channel(1)[static_cast<std::size_t>(i)] = -sample;
            }
            plugin.processFloat(in, out, kBlock);
            for (int c = 0; c < 2; ++c)
                rendered.insert(rendered.end(), out.channel(c).begin(), out.channel(c).end());
        }
        return rendered;
    }

    static std::vector<std::uint8_t> reversed(const std::vector<std::uint8_t>& chunk) {
        std::vector<std::byte> bytes(chunk.size());
        std::memcpy(bytes.data(), chunk.data(), chunk.size());
        bytes = reversedState(std::move(bytes));
        std::vector<std::uint8_t> result(bytes.size());
        std::memcpy(result.data(), bytes.data(), bytes.size());
        return result;
    }

    static constexpr int kBlock = 256;
    host::ScriptedHost secondHost;
    std::unique_ptr<host::PluginInstance> second;
    host::ScriptedHost thirdHost;
    std::unique_ptr<host::PluginInstance> third;
};

TEST_F(StateThroughPlugin, RestoredProjectStoresTheSameBytesAndSoundsTheSame) {
    auto& original = createRunningInstance(44100.0f, kBlock);
    original.setParameter(param::FbGainL, 0.55f);
    original.setParameter(param::FbGainR, 0.35f);
    original.setParameter(param::FltOn, 0.75f);
    original.setParameter(param::Mix, 0.6f);
    original.setParameter(60 + param::Cutoff, (74 + 0.5f) / 129.0f);
    char name[] = "Night Bus Echoes";
    original.dispatcher(effSetProgramName, 0, 0, name);
    const host::MidiMessage cutoff{0, 0xB0, 74, 40};
    ASSERT_EQ(original.sendMidi({&cutoff, 1}), 1);
    EXPECT_FLOAT_EQ(original.getParameter(param::Cutoff), 40.0f / 127.0f);
    const auto saved = original.getChunk();
    ASSERT_EQ(saved.size(), 129337u);

    auto& restored = createSecondInstance();
    ASSERT_EQ(restored.setChunk(saved), 0);
    EXPECT_EQ(restored.getChunk(), saved);
    EXPECT_FLOAT_EQ(restored.getParameter(param::Cutoff), 40.0f / 127.0f);
    EXPECT_FLOAT_EQ(restored.getParameter(60 + param::Cutoff), (74 + 0.5f) / 129.0f);

    const auto expected = render(original);
    const auto heard = render(restored);
    ASSERT_EQ(heard.size(), expected.size());
    EXPECT_EQ(heard, expected);
    EXPECT_GT(*std::max_element(expected.begin(), expected.end()), 0.01f);

    EXPECT_EQ(restored.programNameIndexed(0), std::optional<std::string>("Night Bus Echoes"));

    // The same project written on a machine of the other byte order restores identically.
    auto& fromOtherOrder = createThirdInstance();
    ASSERT_EQ(fromOtherOrder.setChunk(reversed(saved)), 0);
    EXPECT_EQ(fromOtherOrder.getChunk(), saved);
    EXPECT_EQ(render(fromOtherOrder), expected);

    // The restored controller drives the restored instance.
    const host::MidiMessage move{0, 0xB0, 74, 127};
    restored.sendMidi({&move, 1});
    EXPECT_EQ(restored.getParameter(param::Cutoff), 1.0f);
}

// Where an impulse into the left input comes back on the left output, in milliseconds.
double leftEchoMs(host::PluginInstance& plugin) {
    plugin.suspend();
    plugin.resume();
    constexpr int kBlock = 512;
    host::PlanarBuffer<float> in(4, kBlock);
    host::PlanarBuffer<float> out(2, kBlock);
    float peak = 0.0f;
    int peakAt = -1;
    for (int start = 0; start < 44100 * 5 / 2; start += kBlock) {
        in.channel(0)[0] = start == 0 ? 0.5f : 0.0f;
        plugin.processFloat(in, out, kBlock);
        for (int i = 0; i < kBlock; ++i) {
            const float heard = std::abs(out.channel(0)[static_cast<std::size_t>(i)]);
            if (start + i > 44 && heard > peak) {
                peak = heard;
                peakAt = start + i;
            }
        }
    }
    return peakAt * 1000.0 / 44100.0;
}

// "Default" delays by a quarter note; switched to free time it keeps those 500 ms, and so
// must the project a host saves and opens again. The host is told to re-read the range and
// time the switch moved.
TEST_F(StateThroughPlugin, ModeSwitchedToTimeKeepsItsDelayThroughTheStateChunk) {
    auto& original = createRunningInstance(44100.0f, kBlock);
    host.clearRecords();
    original.setParameter(param::DlyModeL, 0.25f);
    EXPECT_EQ(host.updateDisplayCount(), 1);
    ASSERT_NEAR(leftEchoMs(original), 500.0, 2.0);

    auto& restored = createSecondInstance();
    ASSERT_EQ(restored.setChunk(original.getChunk()), 0);
    EXPECT_NEAR(leftEchoMs(restored), 500.0, 2.0);
    for (const int index : {param::DlyModeL, param::RangeL, param::DlyTimeL})
        EXPECT_EQ(restored.getParameter(index), original.getParameter(index)) << index;
}

} // namespace
} // namespace velmora::testing
