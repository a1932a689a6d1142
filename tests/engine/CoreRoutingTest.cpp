// Channel routing, the two sample types, ducking from the sidechain, and the audio thread's
// promise never to allocate.
#include "engine/ValueTables.h"
#include "tests/engine/EngineHarness.h"
#include "tests/support/AllocationCounter.h"

#include <gtest/gtest.h>

namespace velmora::engine::test {
namespace {

Signal constant(std::size_t length, double value) {
    return Signal(length, value);
}

Signal noise(std::size_t length, unsigned seed) {
    Signal signal(length);
    for (double& v : signal) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<float>(static_cast<int>(seed >> 9) % 2000 - 1000) / 1000.0f;
    }
    return signal;
}

// Dry only: each output is its main input times 1 - mix (0.5).
TEST(CoreRouting, ArrangementsRouteMainInputsAsTheTableSays) {
    struct Case {
        int inputs;
        int outputs;
        double leftFromIn0;  // what output 0 carries of input 0
        double rightFromIn1; // what output 1 carries of input 1 (if there are two of each)
    };
    const std::size_t n = 256;
    const Signal in0 = constant(n, 0.25);
    const Signal in1 = constant(n, 0.125);
    const Signal in2 = constant(n, 0.0);

    { // 1 -> 1: both channels read input 0 and the single output receives outL + outR.
        auto engine = makeEngine(1, 1);
        const auto out = render(*engine, {in0}, 1);
        EXPECT_NEAR(out[0][n - 1], 2 * 0.5 * 0.25, 1e-12);
    }
    { // 1 -> 2: input 0 to both outputs.
        auto engine = makeEngine(1, 2);
        const auto out = render(*engine, {in0}, 2);
        EXPECT_NEAR(out[0][n - 1], 0.125, 1e-12);
        EXPECT_NEAR(out[1][n - 1], 0.125, 1e-12);
    }
    { // 2 -> 1: input 1 is the sidechain, not a main channel.
        auto engine = makeEngine(2, 1);
        const auto out = render(*engine, {in0, in1}, 1);
        EXPECT_NEAR(out[0][n - 1], 2 * 0.5 * 0.25, 1e-12);
    }
    for (int inputs : {2, 3, 4}) { // main inputs 0 and 1 to outputs 0 and 1
        SCOPED_TRACE(inputs);
        auto engine = makeEngine(inputs, 2);
        std::vector<Signal> ins{in0, in1, in2, in2};
        ins.resize(static_cast<std::size_t>(inputs));
        const auto out = render(*engine, ins, 2);
        EXPECT_NEAR(out[0][n - 1], 0.125, 1e-12);
        EXPECT_NEAR(out[1][n - 1], 0.0625, 1e-12);
    }
}

TEST(CoreRouting, UnsupportedArrangementsChangeNothing) {
    auto engine = makeEngine(4, 2);
    EXPECT_FALSE(engine->setSpeakerArrangement(2, 3));
    EXPECT_FALSE(engine->setSpeakerArrangement(4, 1));
    EXPECT_FALSE(engine->setSpeakerArrangement(0, 2));
    const auto map = engine->state().channels.get();
    EXPECT_EQ(map.sideLeft, 2);
    EXPECT_EQ(map.sideRight, 3);
    EXPECT_EQ(map.outRight, 1);
}

TEST(CoreRouting, ResumeProbesConnectionsOnlyUntilTheHostFixesTheArrangement) {
    Engine engine;
    ResumeRequest request;
    request.connectedInputs = 3;
    request.connectedOutputs = 2;
    engine.resume(request);
    EXPECT_EQ(engine.state().channels.get().sideLeft, 2);
    request.connectedInputs = 0; // not in the table: routing kept
    engine.resume(request);
    EXPECT_EQ(engine.state().channels.get().sideLeft, 2);
    engine.setSpeakerArrangement(2, 2);
    request.connectedInputs = 4;
    engine.resume(request);
    EXPECT_EQ(engine.state().channels.get().sideLeft, 0);
}

// Wet only through a short delay; a constant sidechain level L above the threshold T brings
// the wet signal down to T / L of its level. The main input (0.2) is itself above T, so ducking
// from the wrong channel would show.
TEST(CoreRouting, SidechainDuckingSettlesAtThresholdOverLevel) {
    const std::size_t n = 44100;
    const double threshold = std::pow(10.0, 1.5 * (0.5 - 1.0));
    for (double side : {0.0, 0.5}) {
        SCOPED_TRACE(side);
        auto engine = makeEngine(4, 2);
        engine->setParameter(param::VcoOn, 0.25f);
        engine->setParameter(param::Mix, 1.0f);
        engine->setParameter(param::RangeL, stepValue(0, 3));
        engine->setParameter(param::RangeR, stepValue(0, 3));
        engine->setParameter(param::DlyTimeL, 0.1f);
        engine->setParameter(param::DlyTimeR, 0.1f);
        engine->setParameter(param::Ducking, 0.5f);
        engine->suspend();
        const auto out = render(
            *engine, {constant(n, 0.2), constant(n, 0.2), constant(n, side), constant(n, side)}, 2);
        const double expected = side > threshold ? 0.2 * threshold / side : 0.2;
        EXPECT_NEAR(out[0][n - 1], expected, expected * 1e-4);
        EXPECT_NEAR(out[1][n - 1], expected, expected * 1e-4);
    }
}

// Every stage on and moving; float-representable input, so the two paths differ only by the
// rounding of the output.
void enableEverything(Engine& engine) {
    engine.setParameter(param::FbGainL, 0.7f);
    engine.setParameter(param::FbGainR, 0.6f);
    engine.setParameter(param::FbPanL, 0.8f);
    engine.setParameter(param::RangeL, stepValue(0, 3));
    engine.setParameter(param::RangeR, stepValue(0, 3));
    engine.setParameter(param::DlyTimeL, 0.3f);
    engine.setParameter(param::DlyTimeR, 0.45f);
    engine.setParameter(param::FltOn, 0.75f);
    engine.setParameter(param::FltMode, 0.5f);
    engine.setParameter(param::Cutoff, 0.6f);
    engine.setParameter(param::Reso, 0.7f);
    engine.setParameter(param::CutfMod, 0.9f);
    engine.setParameter(param::LFORate, 0.4f);
    engine.setParameter(param::ModSrc, 0.3f);
    engine.setParameter(param::VcoMod, 0.8f);
    engine.setParameter(param::Drive, 0.4f);
    engine.setParameter(param::RvbOn, 0.75f);
    engine.setParameter(param::RvbAmt, 0.5f);
    engine.setParameter(param::RvbMode, 0.75f);
    engine.setParameter(param::DlyGateL, 0.1f);
    engine.suspend();
}

TEST(CoreRouting, FloatAndDoublePathsAgree) {
    auto asFloat = makeEngine();
    auto asDouble = makeEngine();
    enableEverything(*asFloat);
    enableEverything(*asDouble);
    const Signal left = noise(20000, 7);
    const Signal right = noise(20000, 11);
    const auto f = render<float>(*asFloat, {left, right}, 2, 333);
    const auto d = render<double>(*asDouble, {left, right}, 2, 333);
    double energy = 0.0;
    for (int c = 0; c < 2; ++c)
        for (std::size_t i = 0; i < left.size(); ++i) {
            ASSERT_NEAR(f[c][i], d[c][i], 1e-6 * std::max(1.0, std::abs(d[c][i]))) << c << " " << i;
            energy += d[c][i] * d[c][i];
        }
    EXPECT_GT(energy, 1.0);
}

template <typename Sample> std::size_t allocationsWhileProcessing(Engine& engine) {
    const int frames = 256;
    std::vector<std::vector<Sample>> in(4, std::vector<Sample>(frames, Sample(0.3)));
    std::vector<std::vector<Sample>> out(2, std::vector<Sample>(frames));
    const Sample* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
    Sample* outputs[2] = {out[0].data(), out[1].data()};
    HostTiming timing;
    timing.tempoBpm = 100.0;
    timing.ppqPosition = 3.5;

    velmora::test::AllocationCounter counter;
    for (int block = 0; block < 40; ++block) {
        // Every row, including the delay-mode couplings, tempo re-timing and the reverb type.
        for (int index = 0; index < kNumParameters; ++index)
            engine.setParameter(index, static_cast<float>((block * 7 + index * 13) % 17) / 16.0f);
        timing.tempoBpm = 90.0 + block;
        engine.process(inputs, outputs, frames, timing);
        engine.setParameter(param::RvbType, block % 2 ? 0.75f : 0.25f);
    }
    return counter.count();
}

TEST(CoreRouting, ProcessingAndParameterChangesNeverAllocate) {
    auto engine = makeEngine(4, 2);
    enableEverything(*engine);
    engine->setParameter(param::LfoMode, 1.0f);
    EXPECT_EQ(allocationsWhileProcessing<float>(*engine), 0u);
    EXPECT_EQ(allocationsWhileProcessing<double>(*engine), 0u);
    // The counter does see allocations: a resume to a new rate reallocates the lines.
    velmora::test::AllocationCounter counter;
    ResumeRequest request;
    request.sampleRate = 48000.0;
    engine->resume(request);
    EXPECT_GT(counter.count(), 0u);
}

} // namespace
} // namespace velmora::engine::test
