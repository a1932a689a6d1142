// What a broken host or a plug-in before this one can hand the engine: non-finite and absurd
// samples, and levels that drive the filter far past full scale. The engine must come back.
#include "engine/Engine.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"
#include "tests/engine/EngineHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <span>

namespace velmora::engine {
namespace {

using test::Signal;

void resumeAt(Engine& engine, double rate) {
    ResumeRequest request;
    request.sampleRate = rate;
    engine.resume(request);
}

// Echoes of at most 100 ms in time mode on both sides.
void shortEchoes(Engine& engine, float feedback) {
    for (const int side : {0, 1}) {
        engine.setParameter(param::DlyModeL + side, stepValue(0, 2));
        engine.setParameter(param::RangeL + side, stepValue(0, 3));
        engine.setParameter(param::DlyTimeL + side, 0.5f);
        engine.setParameter(param::FbGainL + side, feedback);
    }
}

double peakOf(std::span<const double> samples) {
    double peak = 0.0;
    for (const double sample : samples)
        peak = std::max(peak, std::fabs(sample));
    return peak;
}

bool allFinite(std::span<const double> samples) {
    return std::all_of(samples.begin(), samples.end(), [](double x) { return std::isfinite(x); });
}

// Two engines fed the same parameter writes: one gets the hostile block, its twin the same
// block with every bad sample replaced by silence. Both see ordinary noise before and after.
class HostileRun {
  public:
    HostileRun(double rate, unsigned seed) : rate_(rate), random_(seed) {
        for (Engine* engine : {&hostile_, &twin_}) {
            engine->setSpeakerArrangement(4, 2);
            resumeAt(*engine, rate);
        }
    }

    // Any parameter, any value in and out of range; the tail-setting ones are left to
    // settleTails so the recovery can be judged within a known time.
    void writeRandomParameters(int count) {
        std::uniform_int_distribution<int> index(0, kNumParameters - 1);
        std::uniform_real_distribution<float> value(-0.5f, 1.5f);
        for (int i = 0; i < count; ++i) {
            const int p = index(random_);
            if (tailsSettled_ && isTailParameter(p)) continue;
            const float v = value(random_);
            hostile_.setParameter(p, v);
            twin_.setParameter(p, v);
        }
    }

    // Short delays with little feedback and no reverb: a tail of well under a second.
    void settleTails() {
        for (Engine* engine : {&hostile_, &twin_}) {
            shortEchoes(*engine, 0.3f);
            engine->setParameter(param::RvbOn, stepValue(0, 2));
        }
        tailsSettled_ = true;
    }

    std::vector<Signal> ordinary(std::size_t frames) {
        std::uniform_real_distribution<double> noise(-0.25, 0.25);
        std::vector<Signal> inputs(4, Signal(frames));
        for (Signal& channel : inputs)
            for (double& sample : channel)
                sample = noise(random_);
        return inputs;
    }

    // 5 % of the samples NaN, ±inf, −1e30 or denormal, on main and sidechain inputs.
    std::pair<std::vector<Signal>, std::vector<Signal>> hostileAndClean(std::size_t frames) {
        std::vector<Signal> hostile = ordinary(frames);
        std::vector<Signal> clean = hostile;
        std::uniform_real_distribution<double> chance(0.0, 1.0);
        std::uniform_int_distribution<int> kind(0, 4);
        const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(), -1e30,
                              std::numeric_limits<double>::denorm_min() * 3};
        for (std::size_t c = 0; c < hostile.size(); ++c) {
            for (std::size_t i = 0; i < frames; ++i) {
                if (chance(random_) >= 0.05) continue;
                hostile[c][i] = bad[kind(random_)];
                clean[c][i] = 0.0;
            }
        }
        return {hostile, clean};
    }

    template <typename Sample>
    std::pair<Signal, Signal> run(const std::vector<Signal>& hostileIn,
                                  const std::vector<Signal>& twinIn, int block) {
        const auto a = test::render<Sample>(hostile_, hostileIn, 2, block);
        const auto b = test::render<Sample>(twin_, twinIn, 2, block);
        Signal mixedA = a[0];
        Signal mixedB = b[0];
        mixedA.insert(mixedA.end(), a[1].begin(), a[1].end());
        mixedB.insert(mixedB.end(), b[1].begin(), b[1].end());
        return {mixedA, mixedB};
    }

    std::size_t seconds(double s) const { return static_cast<std::size_t>(s * rate_); }

  private:
    static bool isTailParameter(int p) {
        return p == param::RangeL || p == param::RangeR || p == param::FbGainL ||
               p == param::FbGainR || p == param::RvbOn || p == param::DlyModeL ||
               p == param::DlyModeR;
    }

    double rate_;
    std::mt19937 random_;
    Engine hostile_;
    Engine twin_;
    bool tailsSettled_ = false;
};

template <typename Sample> void recoversFromOneHostileBlock(double rate, int block, unsigned seed) {
    SCOPED_TRACE(testing::Message() << "fs " << rate << " block " << block << " seed " << seed
                                    << (sizeof(Sample) == 4 ? " float" : " double"));
    HostileRun run(rate, seed);
    for (int chunk = 0; chunk < 6; ++chunk) {
        run.writeRandomParameters(8);
        const auto in = run.ordinary(run.seconds(0.05));
        run.run<Sample>(in, in, block);
    }
    run.settleTails();

    run.writeRandomParameters(8);
    const auto [hostile, clean] = run.hostileAndClean(static_cast<std::size_t>(block) * 3);
    const auto [fromHostile, fromClean] = run.run<Sample>(hostile, clean, block);
    ASSERT_TRUE(allFinite(fromHostile));

    // The stress stays within what the same block without its bad samples gives, scaled by
    // what a sample held at the input limit can add.
    Signal after;
    Signal twinAfter;
    for (int chunk = 0; chunk < 20; ++chunk) {
        run.writeRandomParameters(2);
        const auto in = run.ordinary(run.seconds(0.1));
        const auto [a, b] = run.run<Sample>(in, in, block);
        ASSERT_TRUE(allFinite(a)) << "chunk " << chunk;
        after.insert(after.end(), a.begin(), a.end());
        twinAfter.insert(twinAfter.end(), b.begin(), b.end());
    }
    // After the tail the output is back at the level ordinary audio gives.
    const std::size_t lastQuarter = after.size() - after.size() / 8;
    const double ordinaryPeak = peakOf(twinAfter);
    EXPECT_LE(peakOf(std::span(after).subspan(lastQuarter)), 1.5 * ordinaryPeak + 1e-3);
}

TEST(HostileInput, EngineRecoversAtEveryRateInBothPrecisions) {
    const std::pair<double, int> cases[] = {{8000.0, 37},    {11025.0, 1}, {22050.0, 113},
                                            {44100.0, 1021}, {48000.0, 5}, {96000.0, 333},
                                            {192000.0, 77}};
    unsigned seed = 1;
    for (const auto& [rate, block] : cases) {
        recoversFromOneHostileBlock<float>(rate, block, seed++);
        recoversFromOneHostileBlock<double>(rate, block, seed++);
    }
}

// The filter driven far past full scale, then silence: (type, placement) through the engine.
Signal overloadThenSilence(int type, int placement, double level, float reso) {
    Engine engine;
    engine.setSpeakerArrangement(2, 2);
    resumeAt(engine, 44100.0);
    engine.setParameter(param::Input, 1.0f);
    engine.setParameter(param::FltOn, stepValue(1, 2));
    engine.setParameter(param::FltMode, stepValue(placement, 3));
    engine.setParameter(param::FltType, stepValue(type, 3));
    engine.setParameter(param::Cutoff, 1.0f);
    engine.setParameter(param::Reso, reso);
    engine.setParameter(param::Mix, placement == 0 ? 0.0f : 1.0f);
    engine.setParameter(param::RvbMode, stepValue(0, 2));
    engine.setParameter(param::RvbOn, stepValue(0, 2));
    engine.setParameter(param::VcoOn, stepValue(0, 2));
    shortEchoes(engine, 0.2f);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> noise(-level, level);
    Signal input(66150, 0.0);
    for (std::size_t i = 0; i < 4000; ++i)
        input[i] = noise(random);
    const auto out = test::render(engine, {input, input}, 2, 256);
    Signal both = out[0];
    both.insert(both.end(), out[1].begin(), out[1].end());
    return both;
}

TEST(HostileInput, OverloadedFilterDecaysToSilenceAtEveryTypeAndPlacement) {
    const char* placements[] = {"in", "fb", "fx"};
    for (int placement = 0; placement < 3; ++placement) {
        for (int type = 0; type < 3; ++type) {
            // Up to a resonance whose peak gain keeps the loop below unity at this feedback.
            for (const float reso : {0.0f, 0.4f}) {
                // 0.5 is the level that latched the filter; 1000 is the input limit.
                for (const double level : {0.5, 3.0, 1000.0}) {
                    const Signal out = overloadThenSilence(type, placement, level, reso);
                    SCOPED_TRACE(testing::Message() << placements[placement] << " type " << type
                                                    << " reso " << reso << " level " << level);
                    ASSERT_TRUE(allFinite(out));
                    const std::size_t half = out.size() / 2;
                    // The last 0.2 s of each channel, past the tail of the 50 ms echoes.
                    const auto left = std::span(out).subspan(half - 8820, 8820);
                    const auto right = std::span(out).subspan(out.size() - 8820, 8820);
                    EXPECT_LT(peakOf(left), 1e-4 * level);
                    EXPECT_LT(peakOf(right), 1e-4 * level);
                }
            }
        }
    }
}

} // namespace
} // namespace velmora::engine
