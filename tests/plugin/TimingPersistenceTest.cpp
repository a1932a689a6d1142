// A side's delay mode, range and time move each other in the engine. Whatever the user did to
// them, the program must hold what the engine uses, so that a saved state, a program round
// trip and a preset chunk all put the echo back where it was. Echoes are found by rendering
// an impulse, not by reading stored values.
#include "plugin/DelayEffect.h"

#include "engine/ParameterIndex.h"
#include "presets/ChunkFormat.h"
#include "presets/ChunkReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace velmora {
namespace {

using engine::Side;

constexpr double kRate = 44100.0;
constexpr double kToleranceMs = 2.0;

// Counts the display updates of whichever effect calls back on this thread.
struct DisplayCounter {
    int updates = 0;

    static DisplayCounter*& current() {
        thread_local DisplayCounter* counter = nullptr;
        return counter;
    }

    static VstIntPtr VST_CALL callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                       float) {
        if (opcode == audioMasterVersion) return 2400;
        if (opcode == audioMasterUpdateDisplay && current()) ++current()->updates;
        return 0;
    }
};

struct SideIndices {
    Side side;
    int channel;
    int mode;
    int range;
    int time;
};

constexpr SideIndices kLeft{Side::Left, 0, param::DlyModeL, param::RangeL, param::DlyTimeL};
constexpr SideIndices kRight{Side::Right, 1, param::DlyModeR, param::RangeR, param::DlyTimeR};

constexpr float kTimeMode = 0.25f; // step 0 of 2
constexpr float kNoteMode = 0.75f; // step 1 of 2

float rangeOf(int step) {
    return stepValue(step, 3);
}

// Where an impulse into the side's input comes back on its output, in milliseconds: the
// largest magnitude after the dry impulse, in a render of `lengthMs`. The clocked delay's
// filters add about 1 ms; the faults this catches move an echo by tens of milliseconds or more.
double echoMs(DelayEffect& effect, const SideIndices& side, double lengthMs = 2200.0) {
    effect.suspend(); // empties the delay lines
    effect.resume();
    constexpr int kBlock = 512;
    const auto frames = static_cast<std::size_t>(lengthMs * kRate / 1000.0);
    std::vector<std::vector<float>> in(4, std::vector<float>(kBlock, 0.0f));
    std::vector<std::vector<float>> out(2, std::vector<float>(kBlock, 0.0f));
    float* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    const auto skipDry = static_cast<std::size_t>(kRate / 1000.0);
    std::size_t peakAt = 0;
    float peak = 0.0f;
    for (std::size_t start = 0; start < frames; start += kBlock) {
        in[static_cast<std::size_t>(side.channel)][0] = start == 0 ? 0.5f : 0.0f;
        effect.processReplacing(inputs, outputs, kBlock);
        const auto& heard = out[static_cast<std::size_t>(side.channel)];
        for (std::size_t i = 0; i < kBlock; ++i)
            if (start + i >= skipDry && std::abs(heard[i]) > peak) {
                peak = std::abs(heard[i]);
                peakAt = start + i;
            }
    }
    return peak > 0.01f ? static_cast<double>(peakAt) * 1000.0 / kRate : -1.0;
}

class TimingPersistence : public ::testing::TestWithParam<SideIndices> {
  protected:
    void SetUp() override { DisplayCounter::current() = &counter; }
    void TearDown() override { DisplayCounter::current() = nullptr; }

    static std::unique_ptr<DelayEffect> makeEffect() {
        return std::make_unique<DelayEffect>(&DisplayCounter::callback);
    }

    const SideIndices& side() const { return GetParam(); }

    float stored(const DelayEffect& effect, int index) const {
        return effect.presets().programs()[effect.presets().getCurrentProgramIndex()].values[index];
    }

    // The program holds exactly what the engine reports for the side's three coupled values.
    void expectProgramHoldsTheEngineValues(DelayEffect& effect, const std::string& path) {
        for (const int index : {side().mode, side().range, side().time})
            EXPECT_EQ(stored(effect, index), effect.getParameter(index))
                << "parameter " << index << " after " << path;
    }

    // The echo the edited effect makes comes back through a saved state, a program switch and
    // back, and a preset chunk; each path also leaves program and engine in agreement.
    void expectEchoSurvivesEveryPath(DelayEffect& edited, double expectedMs) {
        const double lengthMs = expectedMs + 400.0;
        ASSERT_NEAR(echoMs(edited, side(), lengthMs), expectedMs, kToleranceMs) << "before saving";
        expectProgramHoldsTheEngineValues(edited, "the edit");

        void* data = nullptr;
        const VstInt32 size = edited.getChunk(&data, false);
        ASSERT_GT(size, 0);
        std::vector<std::byte> state(static_cast<std::byte*>(data),
                                     static_cast<std::byte*>(data) + size);
        auto restored = makeEffect();
        ASSERT_EQ(restored->setChunk(state.data(), size, false), 0);
        EXPECT_NEAR(echoMs(*restored, side(), lengthMs), expectedMs, kToleranceMs) << "state chunk";
        expectProgramHoldsTheEngineValues(*restored, "the state chunk");

        std::vector<std::byte> preset = edited.presets().buildPresetChunk();
        const auto header = chunk::readHeader(chunk::ChunkReader(preset, false), 0);
        ASSERT_TRUE(header.has_value());
        auto loaded = makeEffect();
        loaded->presets().setCurrentProgram(7);
        ASSERT_TRUE(loaded->presets().loadPresetChunk(
            std::span<const std::byte>(preset).subspan(chunk::kHeaderBytes), *header, false));
        EXPECT_NEAR(echoMs(*loaded, side(), lengthMs), expectedMs, kToleranceMs) << "preset chunk";
        expectProgramHoldsTheEngineValues(*loaded, "the preset chunk");

        const int current = edited.presets().getCurrentProgramIndex();
        edited.presets().setCurrentProgram(24);
        edited.presets().setCurrentProgram(current);
        EXPECT_NEAR(echoMs(edited, side(), lengthMs), expectedMs, kToleranceMs) << "program switch";
        expectProgramHoldsTheEngineValues(edited, "the program switch");
    }

    DisplayCounter counter;
};

// "Default" runs the side in note mode, 1/4 at 120 BPM; switched to time it keeps its 500 ms,
// which the engine now holds as range 1000 ms and time 0.5.
TEST_P(TimingPersistence, ModeSwitchKeepsItsDelayTime) {
    auto effect = makeEffect();
    ASSERT_NEAR(echoMs(*effect, side(), 700.0), 500.0, kToleranceMs);
    counter.updates = 0;
    effect->setParameter(side().mode, kTimeMode);
    EXPECT_EQ(counter.updates, 1) << "range and time changed beside the written mode";
    EXPECT_EQ(effect->getParameter(side().range), rangeOf(1));
    EXPECT_EQ(effect->getParameter(side().time), 0.5f);
    expectEchoSurvivesEveryPath(*effect, 500.0);
}

// A slapback of 95 ms on the 1000 ms range moved to the 5000 ms range: still 95 ms, held as
// a time value of 0.019.
TEST_P(TimingPersistence, RangeChangeKeepsItsDelayTime) {
    auto effect = makeEffect();
    effect->setParameter(side().mode, kTimeMode);
    effect->setParameter(side().range, rangeOf(1));
    effect->setParameter(side().time, 0.095f);
    counter.updates = 0;
    effect->setParameter(side().range, rangeOf(2));
    EXPECT_EQ(counter.updates, 1) << "the time value changed beside the written range";
    EXPECT_NEAR(effect->getParameter(side().time), 0.019f, 1e-6f);
    expectEchoSurvivesEveryPath(*effect, 95.0);

    // To note mode (the note's 500 ms, range and time kept) and back to time: the side keeps
    // the 500 ms, now on the 1000 ms range.
    effect->setParameter(side().mode, kNoteMode);
    expectEchoSurvivesEveryPath(*effect, 500.0);
    effect->setParameter(side().mode, kTimeMode);
    EXPECT_EQ(effect->getParameter(side().range), rangeOf(1));
    expectEchoSurvivesEveryPath(*effect, 500.0);
}

// In note mode the engine ignores a time write; the program must not keep the ignored value
// either, and the host is told to read the value back.
TEST_P(TimingPersistence, IgnoredTimeWriteInNoteModeIsNotStored) {
    auto effect = makeEffect();
    const float before = effect->getParameter(side().time);
    counter.updates = 0;
    effect->setParameter(side().time, 0.9f);
    EXPECT_EQ(effect->getParameter(side().time), before);
    EXPECT_EQ(stored(*effect, side().time), before);
    EXPECT_EQ(counter.updates, 1);
    expectEchoSurvivesEveryPath(*effect, 500.0);

    // A time the engine takes is stored as written and needs no display update.
    effect->setParameter(side().mode, kTimeMode);
    counter.updates = 0;
    effect->setParameter(side().time, 0.3f);
    EXPECT_EQ(stored(*effect, side().time), 0.3f);
    EXPECT_EQ(counter.updates, 0);
    expectEchoSurvivesEveryPath(*effect, 300.0);
}

// A range write in note mode changes nothing audible but still moves the time value; the
// program follows, and switching to time then keeps the note's delay.
TEST_P(TimingPersistence, RangeWriteInNoteModeKeepsProgramAndEngineTogether) {
    auto effect = makeEffect();
    effect->setParameter(side().range, rangeOf(0));
    expectProgramHoldsTheEngineValues(*effect, "the range write");
    expectEchoSurvivesEveryPath(*effect, 500.0);
    effect->setParameter(side().mode, kTimeMode);
    expectEchoSurvivesEveryPath(*effect, 500.0);
}

INSTANTIATE_TEST_SUITE_P(BothSides, TimingPersistence, ::testing::Values(kLeft, kRight),
                         [](const auto& info) {
                             return info.param.side == Side::Left ? std::string("Left")
                                                                  : std::string("Right");
                         });

// Applying a program sends its values in index order, and each side's time comes after its
// mode and range: whatever program was current before, the engine ends on exactly the
// program's values and the program itself is left as it was stored.
TEST(ProgramApplication, EngineEndsOnTheStoredValuesAndTheProgramIsUnchanged) {
    DisplayCounter counter;
    DisplayCounter::current() = &counter;
    DelayEffect effect(&DisplayCounter::callback);
    for (const int before : {0, 4, 24, 60}) {
        for (int program = 0; program < kNumPrograms; ++program) {
            effect.presets().setCurrentProgram(before);
            const Program stored = effect.presets().programs()[program];
            effect.presets().setCurrentProgram(program);
            for (int index = 0; index < kNumParameters; ++index) {
                EXPECT_EQ(effect.getParameter(index), stored.values[index])
                    << "program " << program << " after " << before << ", parameter " << index;
                EXPECT_EQ(effect.presets().programs()[program].values[index], stored.values[index])
                    << "program " << program << " after " << before << ", parameter " << index;
            }
        }
    }
    DisplayCounter::current() = nullptr;
}

} // namespace
} // namespace velmora
