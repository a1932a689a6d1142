// One block of bad samples from the host, through the built module in both precisions.
#include "tests/support/HostFixture.h"

#include "engine/ParameterIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace velmora::testing {
namespace {

constexpr VstInt32 kBlock = 149;

// Filter and short echoes in the loop: the recursive states a bad sample would stick in.
void loopWithFilter(host::PluginInstance& plugin) {
    const std::pair<int, float> settings[] = {
        {param::FltOn, 0.75f},     {param::FltMode, 0.5f},   {param::Reso, 0.8f},
        {param::DlyModeL, 0.25f},  {param::DlyModeR, 0.25f}, {param::RangeL, 1.0f / 6},
        {param::RangeR, 1.0f / 6}, {param::DlyTimeL, 0.5f},  {param::DlyTimeR, 0.7f},
        {param::FbGainL, 0.6f},    {param::FbGainR, 0.6f},   {param::Mix, 0.5f}};
    for (const auto& [index, value] : settings)
        plugin.setParameter(index, value);
}

// Renders 2 s of noise on all four inputs; block 10 carries the bad samples when `hostile`.
// Returns both outputs interleaved.
template <typename Sample>
std::vector<double> render(host::PluginInstance& plugin, bool hostile, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> noise(-0.3, 0.3);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::uniform_int_distribution<int> kind(0, 3);
    const Sample bad[] = {std::numeric_limits<Sample>::quiet_NaN(),
                          std::numeric_limits<Sample>::infinity(), Sample(-1e30),
                          std::numeric_limits<Sample>::denorm_min()};
    host::PlanarBuffer<Sample> inputs(4, kBlock);
    host::PlanarBuffer<Sample> outputs(2, kBlock);
    std::vector<double> out;
    for (int block = 0; block < 2 * 44100 / kBlock; ++block) {
        for (int c = 0; c < 4; ++c) {
            for (Sample& sample : inputs.channel(c)) {
                sample = static_cast<Sample>(noise(random));
                const bool spoil = chance(random) < 0.05;
                const int which = kind(random);
                if (block == 10 && spoil) sample = hostile ? bad[which] : Sample(0);
            }
        }
        if constexpr (std::is_same_v<Sample, double>) {
            plugin.processDouble(inputs, outputs, kBlock);
        } else {
            plugin.processFloat(inputs, outputs, kBlock);
        }
        for (int i = 0; i < kBlock; ++i)
            for (int c = 0; c < 2; ++c)
                out.push_back(static_cast<double>(outputs.channel(c)[static_cast<std::size_t>(i)]));
    }
    return out;
}

double peak(const std::vector<double>& samples, std::size_t from) {
    double loudest = 0.0;
    for (std::size_t i = from; i < samples.size(); ++i)
        loudest = std::max(loudest, std::abs(samples[i]));
    return loudest;
}

class HostileInputHostTest : public HostFixture {
  protected:
    template <typename Sample> void recovers(unsigned seed) {
        auto& plugin = createRunningInstance(44100.0f, kBlock);
        loopWithFilter(plugin);
        const auto hostile = render<Sample>(plugin, true, seed);

        host::ScriptedHost otherHost;
        host::PluginInstance twin(library, otherHost);
        twin.open();
        twin.setSampleRate(44100.0f);
        twin.setBlockSize(kBlock);
        twin.resume();
        loopWithFilter(twin);
        const auto clean = render<Sample>(twin, false, seed);

        ASSERT_TRUE(std::ranges::all_of(hostile, [](double x) { return std::isfinite(x); }));
        // The last half second is back at the level the same noise gives without the bad block.
        const std::size_t lastHalfSecond = hostile.size() - 2 * 22050;
        EXPECT_LE(peak(hostile, lastHalfSecond), 1.5 * peak(clean, 0));
    }
};

TEST_F(HostileInputHostTest, OneBadBlockLeavesFloatAndDoubleOutputFiniteAndRecovered) {
    recovers<float>(3);
    instance.reset();
    recovers<double>(4);
}

} // namespace
} // namespace velmora::testing
