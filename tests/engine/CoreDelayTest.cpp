// The delay core's signal path: where echoes land, how a retime hides its jump, how muting and
// bypass treat the lines.
#include "engine/ValueTables.h"
#include "tests/engine/EngineHarness.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace velmora::engine::test {
namespace {

// Plain line access, 500 ms of a 1000 ms range, feedback 0.5 in each channel's own line,
// ducking out of the way, taps placed.
void setPlainDelay(Engine& engine, float preNumerator = 0.0f, float preDenominator = 0.0f) {
    engine.setParameter(param::VcoOn, 0.25f);
    engine.setParameter(param::RangeL, stepValue(1, 3));
    engine.setParameter(param::RangeR, stepValue(1, 3));
    engine.setParameter(param::DlyTimeL, 0.5f);
    engine.setParameter(param::DlyTimeR, 0.5f);
    engine.setParameter(param::FbGainL, 0.5f);
    engine.setParameter(param::FbGainR, 0.5f);
    engine.setParameter(param::PreNumL, preNumerator);
    engine.setParameter(param::PreDenL, preDenominator);
    engine.setParameter(param::Ducking, 1.0f);
    engine.suspend();
}

struct EchoCase {
    double sampleRate;
    std::size_t pre;       // samples
    std::size_t delay;     // samples
    std::size_t lookahead; // samples
};

TEST(CoreDelay, ImpulseEchoesLandWhereTheSettingsPutThem) {
    // Pre-delay 1/2 of the 500 ms delay. The feedback of one sample is added to the line at the
    // next, so each pass adds the delay alone plus that one sample.
    for (const EchoCase c :
         {EchoCase{44100.0, 11025, 22050, 44}, EchoCase{96000.0, 24000, 48000, 96}}) {
        SCOPED_TRACE(c.sampleRate);
        auto engine = makeEngine();
        setPlainDelay(*engine, stepValue(1, 6), stepValue(1, 13));
        if (c.sampleRate != 44100.0) {
            ResumeRequest request;
            request.sampleRate = c.sampleRate;
            engine->resume(request);
        }
        const std::size_t at = 100;
        const std::size_t first = at + c.pre + c.delay + c.lookahead;
        const Signal in = impulse(first + c.delay + 1000, at);
        const auto out = render(*engine, {in, Signal(in.size(), 0.0)}, 2);

        EXPECT_NEAR(out[0][at], 0.5, 1e-12); // dry half of the mix
        EXPECT_EQ(peakIndex(out[0], at + 1), first);
        EXPECT_NEAR(out[0][first], 0.5, 1e-9);
        EXPECT_EQ(peakIndex(out[0], first + 1), first + c.delay + 1);
        EXPECT_NEAR(out[0][first + c.delay + 1], 0.25, 1e-9);
        // The right line got nothing and pre-delay is only on the left.
        EXPECT_LT(std::abs(out[1][peakIndex(out[1])]), 1e-12);
    }
}

TEST(CoreDelay, ZeroDelayReadsBackTheSampleJustWrittenPlusFeedback) {
    auto engine = makeEngine();
    setPlainDelay(*engine);
    engine->setParameter(param::DlyTimeL, 0.0f);
    engine->setParameter(param::Mix, 1.0f);
    engine->suspend();
    const Signal in = impulse(200, 10);
    const auto out = render(*engine, {in, in}, 2);
    // W, F and R coincide: each sample reads back what was just written plus the feedback
    // just added, so the impulse returns after the look-ahead alone, halving every sample.
    EXPECT_NEAR(out[0][54], 1.0, 1e-9);
    EXPECT_NEAR(out[0][55], 0.5, 1e-9);
    EXPECT_NEAR(out[0][56], 0.25, 1e-9);
}

// A sine at 441 Hz, wet only, so every sample-to-sample step above the sine's own slope is a
// click.
TEST(CoreDelay, TimeChangeFadesOutJumpsAndFadesBackWithoutClicks) {
    const double amplitude = 0.5;
    const double omega = 2.0 * std::numbers::pi * 441.0 / 44100.0;
    const std::size_t half = 22050;
    Signal sine(2 * half);
    for (std::size_t i = 0; i < sine.size(); ++i)
        sine[i] = amplitude * std::sin(omega * static_cast<double>(i));
    const Signal first(sine.begin(), sine.begin() + half);
    const Signal second(sine.begin() + half, sine.end());

    auto setUp = [](Engine& engine) {
        setPlainDelay(engine);
        engine.setParameter(param::FbGainL, 0.0f);
        engine.setParameter(param::FbGainR, 0.0f);
        engine.setParameter(param::DlyTimeL, 0.1f);
        engine.setParameter(param::DlyTimeR, 0.1f);
        engine.setParameter(param::Mix, 1.0f);
        engine.suspend();
    };
    auto changed = makeEngine();
    auto steady = makeEngine();
    setUp(*changed);
    setUp(*steady);
    const auto changedA = render(*changed, {first, first}, 2);
    const auto steadyA = render(*steady, {first, first}, 2);
    changed->setParameter(param::DlyTimeL, 0.3f);
    const auto changedB = render(*changed, {second, second}, 2);
    const auto steadyB = render(*steady, {second, second}, 2);

    const Signal& left = changedB[0];
    double largestStep = std::abs(left[0] - changedA[0].back());
    for (std::size_t i = 1; i < left.size(); ++i)
        largestStep = std::max(largestStep, std::abs(left[i] - left[i - 1]));
    EXPECT_LT(largestStep, amplitude * omega * 1.05);

    // Down to -60 dB within 100 ms, back to full level within another 100 ms (plus the 1 ms
    // look-ahead and a sine period to see the peak).
    double quietest = 1.0;
    for (std::size_t i = 4310; i < 4500; ++i)
        quietest = std::min(quietest, std::abs(left[i]));
    EXPECT_LT(quietest, amplitude * 0.0011);
    double loudest = 0.0;
    for (std::size_t i = 8900; i < 9100; ++i)
        loudest = std::max(loudest, std::abs(left[i]));
    EXPECT_NEAR(loudest, amplitude, amplitude * 0.01);

    EXPECT_EQ(changedB[1], steadyB[1]); // the right channel never noticed
    EXPECT_EQ(changedA[1], steadyA[1]);
}

TEST(CoreDelay, MutedInputKeepsFeedbackRecirculatingAndDryUntouched) {
    auto engine = makeEngine();
    setPlainDelay(*engine);
    engine->setParameter(param::RangeL, stepValue(0, 3));
    engine->setParameter(param::DlyTimeL, 0.5f); // 50 ms = 2205 samples
    engine->suspend();
    const std::size_t delay = 2205;
    const std::size_t look = 44;
    Signal in = impulse(16000, 0);
    const auto a = render(*engine, {Signal(in.begin(), in.begin() + 100), Signal(100, 0.0)}, 2);
    engine->setParameter(param::MuteInL, 1.0f);
    in[10000] = 1.0; // arrives while muted
    const Signal rest(in.begin() + 100, in.end());
    const auto b = render(*engine, {rest, Signal(rest.size(), 0.0)}, 2);
    auto left = [&](std::size_t i) { return b[0][i - 100]; };

    EXPECT_NEAR(left(10000), 0.5, 1e-12); // the dry signal passes
    for (std::size_t k = 1; k <= 6; ++k)  // the first impulse keeps recirculating
        EXPECT_NEAR(left(look + delay + (k - 1) * (delay + 1)), 0.5 * std::pow(0.5, k - 1), 1e-9)
            << k;
    EXPECT_LT(std::abs(left(10000 + delay + look)), 1e-9); // the muted one was never recorded
}

TEST(CoreDelay, BypassPassesRawInputWhileTheLinesKeepRecording) {
    for (bool singlePrecision : {true, false}) {
        SCOPED_TRACE(singlePrecision);
        auto engine = makeEngine();
        setPlainDelay(*engine);
        engine->setParameter(param::FbGainL, 0.0f);
        engine->setParameter(param::Input, 0.8f); // gain 2.56
        engine->setParameter(param::Bypass, 0.75f);
        engine->suspend();
        Signal noise(4096);
        unsigned seed = 1;
        for (double& v : noise) {
            seed = seed * 1103515245u + 12345u;
            v = static_cast<float>((seed >> 8) % 2001) / 1000.0f - 1.0f;
        }
        noise[0] = 0.25;
        const auto out = singlePrecision ? render<float>(*engine, {noise, noise}, 2)
                                         : render<double>(*engine, {noise, noise}, 2);
        EXPECT_EQ(out[0], noise);
        EXPECT_EQ(out[1], noise);

        engine->setParameter(param::Bypass, 0.25f);
        const Signal silence(22050 + 200 - 4096, 0.0);
        const auto after = render(*engine, {silence, silence}, 2);
        // Sample 0 of the bypassed block comes back 22050 + 44 samples later, gained and mixed.
        EXPECT_NEAR(after[0][22050 + 44 - 4096], 0.25 * 2.56 * 0.5, 1e-6);
    }
}

// While the clocked mode is off its anti-alias filter is kept settled on the delay input, so
// switching it on writes the steady input into the lines from the first sample.
TEST(CoreDelay, ClockedModeStartsFromASettledAntiAliasFilter) {
    auto engine = makeEngine();
    setPlainDelay(*engine);
    engine->setParameter(param::FbGainL, 0.0f);
    engine->suspend();
    render(*engine, {Signal(1000, 0.3), Signal(1000, 0.3)}, 2, 100);
    engine->setParameter(param::VcoOn, 0.75f);
    render(*engine, {Signal(64, 0.3), Signal(64, 0.3)}, 2, 64);
    const DelayLine& line = engine->state().lines[0];
    for (std::size_t back = 1; back <= 64; ++back) {
        const std::size_t at = (line.write + line.length() - back) % line.length();
        ASSERT_NEAR(line.buffer[at], 0.3, 1e-9) << back;
    }
}

// A steady echo below the gate threshold is scaled by (envelope / threshold) squared; below the
// threshold floor the gate stays open.
TEST(CoreDelay, GateScalesEchoesBelowItsThreshold) {
    struct Case {
        float gate;
        double gain;
    };
    for (const Case c : {Case{0.70710678f, 0.16}, Case{0.003f, 1.0}}) {
        SCOPED_TRACE(c.gate);
        auto engine = makeEngine();
        setPlainDelay(*engine);
        engine->setParameter(param::FbGainL, 0.0f);
        engine->setParameter(param::RangeL, stepValue(0, 3));
        engine->setParameter(param::DlyTimeL, 0.1f);
        engine->setParameter(param::Mix, 1.0f);
        engine->setParameter(param::DlyGateL, c.gate);
        engine->suspend();
        const auto out = render(*engine, {Signal(44100, 0.2), Signal(44100, 0.0)}, 2);
        EXPECT_NEAR(out[0].back(), 0.2 * c.gain, 1e-6); // (0.2 / 0.5)^2, or open
    }
}

} // namespace
} // namespace velmora::engine::test
