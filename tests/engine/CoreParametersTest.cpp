// Parameter rows with couplings, tempo-synced times and rates, and sample-rate set-up.
#include "engine/ValueTables.h"
#include "tests/engine/EngineHarness.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace velmora::engine::test {
namespace {

float step(int index, int steps) {
    return stepValue(index, steps);
}

void setNote(Engine& engine, int numeratorIndex, int denominatorIndex) {
    engine.setParameter(param::DlyNumL, step(numeratorIndex, 5));
    engine.setParameter(param::DlyDenL, step(denominatorIndex, 13));
    engine.setParameter(param::DlyModeL, step(1, 2));
}

TEST(CoreParameters, RangeRescalesTheTimeAndTimeModeKeepsANoteTime) {
    Engine engine;
    engine.setParameter(param::RangeL, step(1, 3));
    engine.setParameter(param::DlyTimeL, 0.5f);
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 500.0);
    engine.setParameter(param::RangeL, step(0, 3)); // 500 of 100 ms is capped
    EXPECT_DOUBLE_EQ(engine.parameterValue(param::DlyTimeL), 1.0);
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 100.0);
    engine.setParameter(param::RangeL, step(2, 3));
    EXPECT_DOUBLE_EQ(engine.parameterValue(param::DlyTimeL), 0.02);
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 100.0);

    setNote(engine, 0, 3); // 1/4 at 120 BPM
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 500.0);
    engine.setParameter(param::DlyTimeL, 0.9f); // ignored and not stored in "note" mode
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 500.0);
    EXPECT_DOUBLE_EQ(engine.parameterValue(param::DlyTimeL), 0.02);

    engine.setParameter(param::DlyModeL, step(0, 2)); // back to "time": 500 of 1000 ms
    EXPECT_FLOAT_EQ(static_cast<float>(engine.parameterValue(param::RangeL)), step(1, 3));
    EXPECT_DOUBLE_EQ(engine.parameterValue(param::DlyTimeL), 0.5);
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 500.0);
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Right), 2000.0);
}

TEST(CoreParameters, NoteValuesFollowTheTempoWithinTheirLimits) {
    Engine engine;
    setNote(engine, 1, 5); // 3/8
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 750.0);
    setNote(engine, 4, 0); // 9/1 = 18000 ms, cut
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 5000.0);
    setNote(engine, 0, 3);
    engine.setNormalisedTempo((60.0 - 30.0) / 370.0);
    EXPECT_NEAR(engine.tempoBpm(), 60.0, 1e-12);
    EXPECT_NEAR(engine.delayMs(Side::Left), 1000.0, 1e-9);
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Right), 2000.0); // "time" mode ignores the tempo

    struct Lfo {
        double bpm;
        int numerator;
        int denominator;
        double hz;
    };
    for (const Lfo c : {Lfo{120, 0, 0, 0.5}, Lfo{30, 4, 0, 0.015625}, Lfo{400, 0, 12, 15.0},
                        Lfo{120, 0, 3, 2.0}}) {
        engine.setNormalisedTempo(normaliseTempo(c.bpm));
        engine.setParameter(param::LfoNum, step(c.numerator, 5));
        engine.setParameter(param::LfoDen, step(c.denominator, 13));
        engine.setParameter(param::LfoMode, step(1, 3));
        EXPECT_NEAR(engine.lfoRateHz(), c.hz, 1e-9) << c.bpm;
    }
    engine.setParameter(param::LFORate, 0.5f); // free rate applies until the next re-timing
    EXPECT_DOUBLE_EQ(engine.lfoRateHz(), 3.0);
    engine.setParameter(param::LFORate, 0.0f);
    EXPECT_DOUBLE_EQ(engine.lfoRateHz(), 0.01);
}

TEST(CoreParameters, HostTempoRetimesPerBlockAndIsLimitedAtResume) {
    auto engine = makeEngine();
    setNote(*engine, 0, 3);
    HostTiming timing;
    timing.tempoBpm = 150.0;
    render(*engine, {Signal(16), Signal(16)}, 2, 16, timing);
    EXPECT_TRUE(engine->hostTempoAvailable());
    EXPECT_DOUBLE_EQ(engine->delayMs(Side::Left), 400.0);
    timing.tempoBpm = 500.0; // out of range: ignored
    render(*engine, {Signal(16), Signal(16)}, 2, 16, timing);
    EXPECT_DOUBLE_EQ(engine->tempoBpm(), 150.0);
    render(*engine, {Signal(16), Signal(16)}, 2, 16, HostTiming{});
    EXPECT_FALSE(engine->hostTempoAvailable());
    EXPECT_DOUBLE_EQ(engine->tempoBpm(), 150.0);

    // A song position that is not a number must not stick in the phase-locked LFO, which
    // drives the clocked delay's speed.
    engine->setParameter(param::LfoMode, 1.0f);
    engine->setParameter(param::LFOWave, step(2, 5));
    engine->setParameter(param::VcoMod, 1.0f);
    timing.tempoBpm = 150.0;
    timing.ppqPosition = std::numeric_limits<double>::quiet_NaN();
    render(*engine, {Signal(16, 0.5), Signal(16, 0.5)}, 2, 16, timing);
    timing.ppqPosition = 2.0;
    const auto out = render(*engine, {Signal(64, 0.5), Signal(64, 0.5)}, 2, 64, timing);
    EXPECT_TRUE(std::isfinite(out[0].back()));
    EXPECT_TRUE(std::isfinite(engine->state().lfo.phase()));

    ResumeRequest request;
    request.hostTempoBpm = 500.0; // resume limits instead
    engine->resume(request);
    EXPECT_DOUBLE_EQ(engine->tempoBpm(), 400.0);
    EXPECT_DOUBLE_EQ(engine->delayMs(Side::Left), 150.0);
}

TEST(CoreParameters, RowsSetTheirTargets) {
    Engine engine;
    const SmoothingSet& smoothing = engine.state().smoothing;
    engine.setParameter(param::Input, 1.0f);
    EXPECT_DOUBLE_EQ(smoothing.target(Smoothed::InputGain), 4.0);
    engine.setParameter(param::Cutoff, 1.0f);
    EXPECT_DOUBLE_EQ(engine.cutoffTargetHz(), 16000.0);
    engine.setParameter(param::Cutoff, 0.0f);
    EXPECT_DOUBLE_EQ(engine.cutoffTargetHz(), 50.0);
    engine.setParameter(param::Reso, 0.01f);
    EXPECT_DOUBLE_EQ(smoothing.target(Smoothed::Resonance), 0.05);
    engine.setParameter(param::MuteInL, 0.5f); // exactly half leaves the input open
    EXPECT_DOUBLE_EQ(smoothing.target(Smoothed::MuteLeft), 1.0);
    engine.setParameter(param::MuteInL, 0.51f);
    EXPECT_DOUBLE_EQ(smoothing.target(Smoothed::MuteLeft), 0.0);
    engine.setParameter(param::Drive, 1.0f);
    EXPECT_DOUBLE_EQ(engine.driveGainTarget(), 16.0);
    EXPECT_TRUE(engine.state().path.driveActive.get());
    engine.setParameter(param::FbInvR, 0.75f);
    EXPECT_DOUBLE_EQ(engine.state().path.feedbackSign[1].get(), -1.0);

    ResumeRequest request;
    request.sampleRate = 22050.0;
    engine.resume(request);
    engine.setParameter(param::Cutoff, 1.0f);
    EXPECT_DOUBLE_EQ(engine.cutoffTargetHz(), 11025.0);
}

// A host value that is not a number must not reach a delay time, a gain or a table index.
TEST(CoreParameters, NonFiniteAndOutOfRangeValuesAreContained) {
    Engine engine;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    engine.setParameter(param::DlyTimeL, nan);
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 0.0);
    engine.setParameter(param::DlyTimeL, 7.0f);
    EXPECT_DOUBLE_EQ(engine.delayMs(Side::Left), 5000.0);
    engine.setParameter(param::Output, inf);
    EXPECT_DOUBLE_EQ(engine.state().smoothing.target(Smoothed::OutputGain), 0.0);
    engine.setParameter(param::LfoDen, -inf);
    engine.setParameter(param::DlyDenR, 42.0f);
    EXPECT_EQ(engine.state().timing[1].denominatorIndex.get(), 12);
    engine.setParameter(-1, 0.5f);
    engine.setParameter(60, 0.5f);
    EXPECT_DOUBLE_EQ(engine.parameterValue(60), 0.0);
    engine.setNormalisedTempo(nan);
    EXPECT_DOUBLE_EQ(engine.tempoBpm(), 120.0);
    engine.setNormalisedTempo(-3.0);
    EXPECT_DOUBLE_EQ(engine.tempoBpm(), 30.0);
}

TEST(CoreParameters, SidesMatchComparesMirroredSettings) {
    Engine engine;
    EXPECT_TRUE(engine.sidesMatch()); // pans 0/1 mirror, the rest equal
    engine.setParameter(param::FbPanL, 0.3f);
    engine.setParameter(param::FbPanR, 0.705f);
    EXPECT_TRUE(engine.sidesMatch());
    engine.setParameter(param::FbPanR, 0.3f);
    EXPECT_FALSE(engine.sidesMatch());
    engine.setParameter(param::FbPanR, 0.7f);
    engine.setParameter(param::PreNumL, 1.0f); // pre-delay is not compared
    EXPECT_TRUE(engine.sidesMatch());
    engine.setParameter(param::DlyTimeR, 0.42f);
    EXPECT_FALSE(engine.sidesMatch());
}

TEST(CoreParameters, SampleRateSetUpSizesEverything) {
    Engine engine;
    const EngineState& s = engine.state();
    EXPECT_EQ(s.lines[0].length(), 441001u);
    EXPECT_EQ(s.lookahead.length(), 44u);
    EXPECT_EQ(s.meter.length(), 1024u);
    EXPECT_EQ(s.drive.window(), 4);

    ResumeRequest request;
    request.sampleRate = 192000.0;
    request.outputLatency = 300;
    engine.resume(request);
    EXPECT_EQ(s.lines[1].length(), 1920001u);
    EXPECT_EQ(s.lookahead.length(), 192u);
    EXPECT_EQ(s.meter.length(), 300u);
    EXPECT_EQ(s.drive.window(), 16);
    EXPECT_EQ(s.reverb.mask(), 131071u);
    EXPECT_NEAR(std::pow(s.fadeStep, 19200.0), 0.001, 1e-12); // -60 dB in 100 ms

    request.sampleRate = 1000.0; // out of range: 44100
    request.outputLatency = 0;   // out of range: 1024
    engine.resume(request);
    EXPECT_DOUBLE_EQ(engine.sampleRate(), 44100.0);
    EXPECT_EQ(s.lines[0].length(), 441001u);
    EXPECT_EQ(s.meter.length(), 1024u);
}

TEST(CoreParameters, LongestTimingFitsTheLine) {
    for (double fs : {44100.0, 44100.9}) {
        SCOPED_TRACE(fs);
        auto engine = makeEngine();
        ResumeRequest request;
        request.sampleRate = fs;
        engine->resume(request);
        engine->setParameter(param::VcoOn, 0.25f);
        engine->setParameter(param::Mix, 1.0f);
        engine->setParameter(param::DlyTimeL, 1.0f);      // 5000 ms
        engine->setParameter(param::PreNumL, step(1, 6)); // 1/1 of it as pre-delay
        engine->setParameter(param::PreDenL, step(0, 13));
        engine->suspend();
        const auto half = static_cast<std::size_t>(5000.0 * fs / 1000.0);
        const Signal in = impulse(2 * half + 44 + 10, 5);
        const auto out = render(*engine, {in, Signal(in.size(), 0.0)}, 2, 4096);
        EXPECT_EQ(peakIndex(out[0]), 5u + 2 * half + 44u);
    }
}

TEST(CoreParameters, MeterPeaksLagByTheLatencyAndClearWhenRead) {
    auto engine = makeEngine();
    ResumeRequest request;
    request.outputLatency = 100;
    engine->resume(request);
    Signal in(150, 0.0);
    in[10] = -0.75;
    render(*engine, {in, Signal(in.size(), 0.0)}, 2, 50);
    float left = 0.0f;
    float right = 0.0f;
    engine->takePeakLevels(left, right);
    EXPECT_FLOAT_EQ(left, 0.75f);
    EXPECT_FLOAT_EQ(right, 0.0f);
    engine->takePeakLevels(left, right);
    EXPECT_FLOAT_EQ(left, 0.0f);

    render(*engine, {Signal(99, 0.5), Signal(99, 0.0)}, 2, 33); // not yet out of the ring
    engine->takePeakLevels(left, right);
    EXPECT_FLOAT_EQ(left, 0.0f);
}

} // namespace
} // namespace velmora::engine::test
