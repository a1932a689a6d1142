// A host's audio thread processing while its user-interface thread changes parameters,
// suspends and resumes, and saves and restores the state: must run clean under ThreadSanitizer.
#include "tests/support/HostFixture.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

namespace velmora::testing {
namespace {

using PluginConcurrencyTest = HostFixture;

constexpr VstInt32 kBlock = 128;
constexpr int kMaxBlocks = 3000;
constexpr int kControlSteps = 600;
constexpr auto kTimeLimit = std::chrono::seconds(4);

template <typename Sample>
bool allFinite(const host::PlanarBuffer<Sample>& buffer, VstInt32 frames) {
    for (int channel = 0; channel < buffer.channels(); ++channel) {
        const auto samples = buffer.channel(channel);
        for (VstInt32 i = 0; i < frames; ++i) {
            if (!std::isfinite(samples[static_cast<std::size_t>(i)])) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(PluginConcurrencyTest, ProcessingWhileTheHostChangesEverythingElse) {
    auto& plugin = createRunningInstance(44100.0f, kBlock);
    std::atomic<bool> controlDone{false};
    std::atomic<bool> nonFinite{false};
    std::atomic<int> blocksProcessed{0};
    const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;

    std::thread audio([&] {
        host::PlanarBuffer<float> floatIn(4, kBlock), floatOut(2, kBlock);
        host::PlanarBuffer<double> doubleIn(4, kBlock), doubleOut(2, kBlock);
        std::minstd_rand random(7);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        const std::vector<host::MidiMessage> controller{{0, 0xB0, 1, 90}};
        for (int block = 0; block < kMaxBlocks && !controlDone.load(); ++block) {
            for (int channel = 0; channel < 4; ++channel) {
                for (auto& sample : floatIn.channel(channel)) {
                    sample = noise(random);
                }
                for (auto& sample : doubleIn.channel(channel)) {
                    sample = noise(random);
                }
            }
            if (block % 16 == 0) {
                plugin.sendMidi(controller);
            }
            if (block % 2 == 0) {
                plugin.processFloat(floatIn, floatOut, kBlock);
                nonFinite = nonFinite || !allFinite(floatOut, kBlock);
            } else {
                plugin.processDouble(doubleIn, doubleOut, kBlock);
                nonFinite = nonFinite || !allFinite(doubleOut, kBlock);
            }
            ++blocksProcessed;
        }
    });

    // On a loaded machine the audio thread may start late: the changes must overlap processing.
    while (blocksProcessed.load() == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    std::mt19937 random(20261207);
    std::uniform_int_distribution<VstInt32> anyParameter(0, 59);
    std::uniform_real_distribution<float> anyValue(0.0f, 1.0f);
    for (int step = 0; step < kControlSteps && std::chrono::steady_clock::now() < deadline;
         ++step) {
        const VstInt32 index = anyParameter(random);
        plugin.setParameter(index, anyValue(random));
        plugin.getParameter(index);
        plugin.parameterDisplay(index);
        if (step % 97 == 0) {
            plugin.setParameter(60 + index, anyValue(random)); // a controller assignment
        }
        if (step % 50 == 25) {
            plugin.suspend();
            plugin.resume();
        }
        if (step % 100 == 50) {
            const auto state = plugin.getChunk();
            EXPECT_EQ(plugin.setChunk(state), 0);
        }
    }
    controlDone = true;
    audio.join();

    EXPECT_GT(blocksProcessed.load(), 0);
    EXPECT_FALSE(nonFinite.load());
}

TEST_F(PluginConcurrencyTest, InstancesOnSeparateThreadsStayIndependent) {
    // Hosts create and run several instances at once, each from its own thread.
    constexpr int kInstances = 3;
    std::vector<std::thread> threads;
    std::vector<float> mixes(kInstances, -1.0f);
    for (int n = 0; n < kInstances; ++n) {
        threads.emplace_back([&, n] {
            host::ScriptedHost ownHost;
            host::PluginInstance plugin(library, ownHost);
            plugin.setSampleRate(48000.0f);
            plugin.setBlockSize(kBlock);
            plugin.resume();
            const float mix = 0.1f + 0.2f * static_cast<float>(n);
            plugin.setParameter(2, mix);
            host::PlanarBuffer<float> in(4, kBlock), out(2, kBlock);
            for (int block = 0; block < 200; ++block) {
                plugin.processFloat(in, out, kBlock);
            }
            plugin.suspend();
            mixes[static_cast<std::size_t>(n)] = plugin.getParameter(2);
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int n = 0; n < kInstances; ++n) {
        EXPECT_FLOAT_EQ(mixes[static_cast<std::size_t>(n)], 0.1f + 0.2f * static_cast<float>(n));
    }
}

} // namespace
} // namespace velmora::testing
