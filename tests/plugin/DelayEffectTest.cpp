// The effect class itself: construction order, the parameter-write frame, program changes, the
// host-facing program, state and MIDI answers and the link helper, with a recording host
// callback.
#include "plugin/DelayEffect.h"
#include "engine/ParameterIndex.h"
#include "tests/support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace velmora {
namespace {

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    float opt;
};

// One recorder per test; the callback finds it through the thread's current recorder.
struct Recorder {
    std::vector<HostCall> calls;
    VstTimeInfo time{};
    bool answerTime = false;
    bool sendsMidi = false;

    static Recorder*& current() {
        thread_local Recorder* recorder = nullptr;
        return recorder;
    }

    static VstIntPtr VST_CALL callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr,
                                       void* ptr, float opt) {
        Recorder* self = current();
        if (opcode == audioMasterVersion) return 2400;
        if (!self) return 0;
        self->calls.push_back({opcode, index, opt});
        if (opcode == audioMasterGetTime && self->answerTime)
            return reinterpret_cast<VstIntPtr>(&self->time);
        if (opcode == audioMasterCanDo && self->sendsMidi)
            return std::strcmp(static_cast<const char*>(ptr), "sendVstMidiEvent") == 0;
        return 0;
    }

    int count(VstInt32 opcode) const {
        int n = 0;
        for (const auto& call : calls)
            n += call.opcode == opcode;
        return n;
    }
};

class DelayEffectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Recorder::current() = &recorder;
        effect = std::make_unique<DelayEffect>(&Recorder::callback);
    }
    void TearDown() override { Recorder::current() = nullptr; }

    Recorder recorder;
    std::unique_ptr<DelayEffect> effect;
};

TEST_F(DelayEffectTest, ConstructionFillsTheRecordAndAppliesProgramZero) {
    const AEffect& record = *effect->getAeffect();
    EXPECT_EQ(record.numInputs, 4);
    EXPECT_EQ(record.numOutputs, 2);
    EXPECT_EQ(record.uniqueID, fourCharacters('V', 'L', 'M', 'R'));
    EXPECT_EQ(record.flags &
                  (effFlagsCanReplacing | effFlagsCanDoubleReplacing | effFlagsProgramChunks),
              effFlagsCanReplacing | effFlagsCanDoubleReplacing | effFlagsProgramChunks);
    // Program 0 ("Default") reached the engine.
    EXPECT_FLOAT_EQ(effect->getParameter(param::FbPanR), 1.0f);
    EXPECT_FLOAT_EQ(effect->getParameter(param::DlyTimeL), 0.4f);
    EXPECT_DOUBLE_EQ(effect->engine().delayMs(engine::Side::Left), 500.0); // 1/4 at 120 BPM
    EXPECT_TRUE(effect->sidesMatch());
}

TEST_F(DelayEffectTest, ParameterWritesReachTheEngineAndTheCurrentProgram) {
    effect->setParameter(param::Cutoff, 0.3f);
    EXPECT_FLOAT_EQ(effect->getParameter(param::Cutoff), 0.3f);
    EXPECT_FLOAT_EQ(effect->presets().programs()[0].values[param::Cutoff], 0.3f);

    // 43 and 44 carry no function: only the program store keeps them.
    effect->setParameter(param::Unused43, 0.7f);
    EXPECT_FLOAT_EQ(effect->getParameter(param::Unused43), 0.7f);
    EXPECT_DOUBLE_EQ(effect->engine().parameterValue(param::Unused43), 0.0);

    // Indices 60.. are controller assignments: controller 64 for parameter 5.
    effect->setParameter(60 + param::FbPanL, 0.5f);
    EXPECT_EQ(effect->presets().controllerOfParameter(param::FbPanL), 64);
    EXPECT_FLOAT_EQ(effect->getParameter(60 + param::FbPanL), 0.5f);
    EXPECT_FLOAT_EQ(effect->getParameter(120), 0.0f);
}

TEST_F(DelayEffectTest, ProgramChangeAppliesEveryValueWithoutWritingBack) {
    effect->setParameter(param::Mix, 0.9f); // edits program 0
    recorder.calls.clear();
    effect->presets().setCurrentProgram(24); // "Ping Pong"
    EXPECT_EQ(effect->presets().getCurrentProgramIndex(), 24);
    EXPECT_FLOAT_EQ(effect->getParameter(param::Mix), 0.36f);
    EXPECT_FLOAT_EQ(effect->getParameter(param::Bypass), 0.25f);
    EXPECT_FLOAT_EQ(effect->presets().programs()[0].values[param::Mix], 0.9f);
    EXPECT_EQ(effect->getProgram(), 0);
    EXPECT_EQ(recorder.count(audioMasterUpdateDisplay), 1);
    EXPECT_EQ(recorder.count(audioMasterBeginEdit), 1);
    EXPECT_EQ(recorder.count(audioMasterEndEdit), 1);
    EXPECT_EQ(recorder.count(audioMasterAutomate), 0);
}

TEST_F(DelayEffectTest, TheHostSeesOneProgramWhateverIsCurrent) {
    effect->presets().setCurrentProgram(5);
    effect->setProgram(9);
    EXPECT_EQ(effect->getProgram(), 0);
    EXPECT_EQ(effect->presets().getCurrentProgramIndex(), 5);
    EXPECT_EQ(effect->getAeffect()->numPrograms, 1);
    EXPECT_EQ(effect->getAeffect()->numParams, 60);
    EXPECT_TRUE(effect->getAeffect()->flags & effFlagsProgramChunks);
}

TEST_F(DelayEffectTest, MidiIsReceivedWhenTheHostSendsItAndAskedForOnResume) {
    char midi[] = "receiveVstMidiEvent";
    char other[] = "bypass";
    EXPECT_EQ(effect->canDo(midi), 0);
    recorder.sendsMidi = true;
    EXPECT_EQ(effect->canDo(midi), 1);
    EXPECT_EQ(effect->canDo(other), 0);
    EXPECT_EQ(effect->canDo(nullptr), 0);
    recorder.calls.clear();
    effect->resume();
    EXPECT_EQ(recorder.count(audioMasterWantMidi), 1);
}

TEST_F(DelayEffectTest, StateWithoutBytesIsRejected) {
    void* data = nullptr;
    const VstInt32 size = effect->getChunk(&data, false);
    ASSERT_GT(size, 0);
    std::vector<std::byte> good(static_cast<const std::byte*>(data),
                                static_cast<const std::byte*>(data) + size);
    EXPECT_EQ(effect->setChunk(nullptr, 100, false), -1);
    EXPECT_EQ(effect->setChunk(good.data(), -5, false), -1);
    EXPECT_EQ(effect->getChunk(nullptr, false), 0);
    EXPECT_EQ(effect->setChunk(good.data(), size, false), 0);
}

TEST_F(DelayEffectTest, CopySideTimingEditsOnlyTheDifferingParametersAsAutomation) {
    effect->setParameter(param::DlyNumR, stepValue(3, 5));
    effect->setParameter(param::DlyDenR, stepValue(5, 13));
    ASSERT_FALSE(effect->sidesMatch());
    recorder.calls.clear();

    effect->copySideTiming(/*fromRight=*/true);

    EXPECT_FLOAT_EQ(effect->getParameter(param::DlyNumL), stepValue(3, 5));
    EXPECT_FLOAT_EQ(effect->getParameter(param::DlyDenL), stepValue(5, 13));
    EXPECT_TRUE(effect->sidesMatch());
    // Exactly the two differing pairs were edited, each bracketed for the host.
    std::vector<VstInt32> automated;
    for (const auto& call : recorder.calls)
        if (call.opcode == audioMasterAutomate) automated.push_back(call.index);
    EXPECT_EQ(automated, (std::vector<VstInt32>{param::DlyNumL, param::DlyDenL}));
    EXPECT_EQ(recorder.count(audioMasterBeginEdit), 2);
    EXPECT_EQ(recorder.count(audioMasterEndEdit), 2);
    EXPECT_DOUBLE_EQ(effect->engine().delayMs(engine::Side::Left),
                     effect->engine().delayMs(engine::Side::Right));
}

TEST_F(DelayEffectTest, CopySideTimingIntoANoteSideStillMatchesTheSides) {
    effect->setParameter(param::DlyModeL, stepValue(0, 2)); // left: free time
    effect->setParameter(param::DlyTimeL, 0.3f);
    effect->setParameter(param::DlyModeR, stepValue(0, 2));
    effect->setParameter(param::DlyTimeR, 0.7f);
    effect->setParameter(param::DlyModeR, stepValue(1, 2)); // right: note, time value kept
    effect->setParameter(param::DlyModeL, stepValue(1, 2));
    ASSERT_FALSE(effect->sidesMatch());

    effect->copySideTiming(/*fromRight=*/false);

    // The right side is in "note" mode, where a time write is otherwise ignored; the link
    // still records the left side's value so both sides read as linked.
    EXPECT_FLOAT_EQ(effect->getParameter(param::DlyTimeR), effect->getParameter(param::DlyTimeL));
    EXPECT_TRUE(effect->sidesMatch());
}

TEST_F(DelayEffectTest, ValuesSetWhileSuspendedTakeEffectFromTheFirstSample) {
    effect->setParameter(param::Mix, 0.0f); // all dry, from 0.5
    effect->resume();
    std::vector<float> input(8, 0.0f), left(8), right(8);
    input[0] = 1.0f;
    float* inputs[4] = {input.data(), input.data(), input.data(), input.data()};
    float* outputs[2] = {left.data(), right.data()};
    effect->processReplacing(inputs, outputs, 8);
    EXPECT_FLOAT_EQ(left[0], 1.0f); // no glide from the old mix
    EXPECT_FLOAT_EQ(right[0], 1.0f);
}

TEST_F(DelayEffectTest, HostTempoDrivesNoteDelaysAndTheReadouts) {
    recorder.answerTime = true;
    recorder.time.tempo = 60.0;
    recorder.time.flags = kVstTempoValid;
    effect->resume();
    EXPECT_DOUBLE_EQ(effect->engine().delayMs(engine::Side::Left), 1000.0);
    EXPECT_EQ(recorder.count(audioMasterWantMidi), 1);

    std::vector<float> silence(64, 0.0f), left(64), right(64);
    float* inputs[4] = {silence.data(), silence.data(), silence.data(), silence.data()};
    float* outputs[2] = {left.data(), right.data()};
    effect->processReplacing(inputs, outputs, 64);
    EXPECT_TRUE(effect->hostTempoAvailable());

    recorder.answerTime = false;
    effect->processReplacing(inputs, outputs, 64);
    EXPECT_FALSE(effect->hostTempoAvailable());
    effect->setNormalisedTempo(normaliseTempo(120.0));
    EXPECT_DOUBLE_EQ(effect->engine().delayMs(engine::Side::Left), 500.0);
    EXPECT_FALSE(effect->isNoteValueTooLong(1)); // 1/4 at 120 BPM is 500 ms
}

// The host's process calls, with the time queries and parameter writes around them (a reverb
// type change included), never touch the heap.
TEST_F(DelayEffectTest, ProcessingAllocatesNothing) {
    recorder.answerTime = true;
    recorder.time.tempo = 100.0;
    recorder.time.flags = kVstTempoValid | kVstPpqPosValid;
    recorder.calls.reserve(4096);
    effect->setParameter(param::LfoMode, stepValue(2, 3));
    effect->resume();
    std::vector<float> in(256, 0.25f), left(256), right(256);
    std::vector<double> inD(256, 0.25), leftD(256), rightD(256);
    float* inputs[4] = {in.data(), in.data(), in.data(), in.data()};
    float* outputs[2] = {left.data(), right.data()};
    double* inputsD[4] = {inD.data(), inD.data(), inD.data(), inD.data()};
    double* outputsD[2] = {leftD.data(), rightD.data()};

    test::AllocationCounter counter;
    for (int block = 0; block < 20; ++block) {
        effect->setParameter(param::RvbType, block % 2 ? 0.75f : 0.25f);
        effect->setParameter(param::DlyTimeL, 0.05f * static_cast<float>(block));
        effect->processReplacing(inputs, outputs, 256);
        effect->processDoubleReplacing(inputsD, outputsD, 256);
    }
    EXPECT_EQ(counter.count(), 0u);
}

TEST_F(DelayEffectTest, SpeakerArrangementsOutsideTheTableAreRefused) {
    VstSpeakerArrangement in{}, out{};
    in.numChannels = 4;
    out.numChannels = 2;
    EXPECT_TRUE(effect->setSpeakerArrangement(&in, &out));
    in.numChannels = 2;
    out.numChannels = 3;
    EXPECT_FALSE(effect->setSpeakerArrangement(&in, &out));
    EXPECT_FALSE(effect->setSpeakerArrangement(nullptr, &out));
}

} // namespace
} // namespace velmora
