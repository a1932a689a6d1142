// MIDI controllers: routing of Control Change messages, learning and forgetting, the
// assignment parameters 60..119 and the table operations.
#include "tests/presets/PresetRig.h"

#include "presets/ControllerNames.h"
#include "tests/support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace velmora::testing {
namespace {

// A list of MIDI events as a host hands it to processEvents.
class EventList {
  public:
    EventList& add(unsigned char status, unsigned char data1, unsigned char data2) {
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.midiData[0] = static_cast<char>(status);
        event.midiData[1] = static_cast<char>(data1);
        event.midiData[2] = static_cast<char>(data2);
        events_.push_back(event);
        return *this;
    }

    VstEvents* get() {
        storage_.assign(sizeof(VstEvents) + events_.size() * sizeof(VstEvent*), std::byte{0});
        auto* list = reinterpret_cast<VstEvents*>(storage_.data());
        list->numEvents = static_cast<VstInt32>(events_.size());
        for (std::size_t i = 0; i < events_.size(); ++i)
            list->events[i] = reinterpret_cast<VstEvent*>(&events_[i]);
        return list;
    }

  private:
    std::vector<VstMidiEvent> events_;
    std::vector<std::byte> storage_;
};

VstInt32 send(PresetRig& effect, unsigned char status, unsigned char data1, unsigned char data2) {
    EventList list;
    list.add(status, data1, data2);
    return effect.processEvents(list.get());
}

TEST(MidiLearning, LearningAssignsTheTouchedParameterAndRoutesTheSameMessage) {
    PresetRig effect;
    effect.startLearning();
    effect.setParameter(12, 0.3f); // the user touches ModSrc
    EXPECT_EQ(effect.learnTarget(), 12);
    effect.parameterCalls.clear();

    EXPECT_EQ(send(effect, 0xB3, 7, 100), 1);
    EXPECT_FALSE(effect.isLearning());
    EXPECT_EQ(effect.learnButtonResets, 1);
    EXPECT_EQ(effect.controllerOfParameter(12), 7);
    EXPECT_EQ(effect.parameterOfController(7), 12);
    ASSERT_EQ(effect.parameterCalls.size(), 1u);
    EXPECT_EQ(effect.parameterCalls[0], std::make_pair(12, 100 / 127.0f));
    EXPECT_FLOAT_EQ(effect.getParameter(60 + 12), 7.5f / 129.0f)
        << "the learned assignment is what a saved chunk reports";

    // Relearning the parameter moves it to the new controller; the old one stops driving it.
    effect.startLearning();
    effect.setParameter(12, 0.3f);
    send(effect, 0xB0, 8, 0);
    EXPECT_EQ(effect.controllerOfParameter(12), 8);
    EXPECT_EQ(effect.parameterOfController(7), 999);
    effect.parameterCalls.clear();
    send(effect, 0xB0, 7, 50);
    EXPECT_TRUE(effect.parameterCalls.empty());

    // A controller learned for another parameter leaves the first one.
    effect.startLearning();
    effect.setParameter(20, 0.3f);
    send(effect, 0xB0, 8, 0);
    EXPECT_EQ(effect.controllerOfParameter(12), 999);
    EXPECT_EQ(effect.controllerOfParameter(20), 8);
}

TEST(MidiLearning, ControllerValuesMapOntoTheFullRange) {
    PresetRig effect;
    effect.assignController(param::Cutoff, 74);
    effect.parameterCalls.clear();
    EventList list;
    list.add(0xB0, 74, 0).add(0xB0, 74, 64).add(0xBF, 74, 127).add(0xB0, 74, 200);
    EXPECT_EQ(effect.processEvents(list.get()), 1);
    ASSERT_EQ(effect.parameterCalls.size(), 4u);
    EXPECT_EQ(effect.parameterCalls[0].second, 0.0f);
    EXPECT_EQ(effect.parameterCalls[1].second, 64.0f / 127.0f);
    EXPECT_EQ(effect.parameterCalls[2].second, 1.0f);
    EXPECT_EQ(effect.parameterCalls[3].second, 0.0f) << "a data byte above 127 reads negative";
    EXPECT_EQ(effect.getParameter(param::Cutoff), 0.0f) << "the current program follows";
}

TEST(MidiLearning, ChannelModeAndOtherMessagesAreNeverLearnedOrRouted) {
    PresetRig effect;
    effect.startLearning();
    effect.setParameter(5, 0.5f);
    effect.parameterCalls.clear();
    send(effect, 0xB0, 121, 10);
    EXPECT_TRUE(effect.isLearning()) << "controllers 120..127 are not learned";
    EXPECT_EQ(effect.controllerOfParameter(5), 999);
    EXPECT_TRUE(effect.parameterCalls.empty());

    // Controller 121 is routed once assigned through its parameter.
    effect.setParameter(60 + 5, (121 + 0.5f) / 129.0f);
    effect.parameterCalls.clear();
    send(effect, 0xB0, 121, 127);
    ASSERT_EQ(effect.parameterCalls.size(), 1u);
    EXPECT_EQ(effect.parameterCalls[0].first, 5);

    // A note-on with the same bytes, a clock tick and a controller number above 127 do nothing.
    effect.parameterCalls.clear();
    effect.stopLearning();
    effect.assignController(3, 7);
    EventList others;
    others.add(0x90, 7, 100).add(0xF8, 7, 100).add(0xB0, 0x87, 100);
    EXPECT_EQ(effect.processEvents(others.get()), 1);
    EXPECT_TRUE(effect.parameterCalls.empty());
}

TEST(MidiLearning, MalformedEventListsAreHarmless) {
    PresetRig effect;
    effect.assignController(3, 7);
    effect.parameterCalls.clear();
    EXPECT_EQ(effect.processEvents(nullptr), 0);

    EventList list;
    list.add(0xB0, 7, 10).add(0xB0, 7, 20);
    VstEvents* events = list.get();
    events->numEvents = -4;
    EXPECT_EQ(effect.processEvents(events), 1);
    events->numEvents = 2;
    events->events[0] = nullptr;
    EXPECT_EQ(effect.processEvents(events), 1);
    ASSERT_EQ(effect.parameterCalls.size(), 1u);
    EXPECT_EQ(effect.parameterCalls[0].second, 20.0f / 127.0f);
}

TEST(MidiLearning, ForgettingRemovesTheTouchedParametersController) {
    PresetRig effect;
    effect.assignController(9, 30);
    effect.startForgetting();
    effect.setParameter(9, 0.1f);
    EXPECT_FALSE(effect.isForgetting());
    EXPECT_EQ(effect.forgetButtonResets, 1);
    EXPECT_EQ(effect.controllerOfParameter(9), 999);
    EXPECT_EQ(effect.parameterOfController(30), 999);
    EXPECT_EQ(effect.getParameter(60 + 9), 128.5f / 129.0f);
}

TEST(MidiLearning, AssignmentParametersDecodeAndReport) {
    PresetRig effect;
    effect.setParameter(60 + 5, 0.5f);
    EXPECT_EQ(effect.controllerOfParameter(5), 64);
    EXPECT_EQ(controllerName(effect.controllerOfParameter(5)), "sustain");
    EXPECT_EQ(effect.getParameter(65), 0.5f) << "reported exactly as written";
    effect.setParameter(65, 0.999f);
    EXPECT_EQ(effect.controllerOfParameter(5), 999);

    // Values outside 0..1 name no controller and cannot reach outside the tables.
    for (const float odd : {-0.5f, 1.5f, std::numeric_limits<float>::quiet_NaN()}) {
        effect.setParameter(60 + 7, odd);
        EXPECT_EQ(effect.controllerOfParameter(7), 999);
        EXPECT_EQ(effect.getParameter(60 + 7), 128.5f / 129.0f);
    }
    EXPECT_EQ(effect.getParameter(120), 0.0f);
    EXPECT_EQ(effect.getParameter(-1), 0.0f);
    effect.setParameter(120, 0.5f);
    effect.setParameter(-3, 0.5f);

    effect.assignController(1, 1);
    effect.clearAllControllerAssignments();
    for (int c = 0; c < 128; ++c)
        ASSERT_EQ(effect.parameterOfController(c), 999);
    EXPECT_FLOAT_EQ(effect.getParameter(60), 0.99612403f);
}

TEST(MidiLearning, RestoredAssignmentsReplaceTheLiveRoutes) {
    PresetRig saved;
    saved.assignController(12, 20);
    saved.setParameter(60 + 12, (20 + 0.5f) / 129.0f);
    const auto chunk = saved.stateChunk();

    PresetRig effect;
    effect.setParameter(60 + 12, (7 + 0.5f) / 129.0f); // controller 7 drives parameter 12
    effect.setParameter(60 + 30, (9 + 0.5f) / 129.0f); // controller 9 drives parameter 30
    ASSERT_EQ(effect.restore(chunk), 0);
    effect.parameterCalls.clear();

    send(effect, 0xB0, 7, 100);
    send(effect, 0xB0, 9, 100);
    EXPECT_TRUE(effect.parameterCalls.empty()); // neither old controller reaches anything
    send(effect, 0xB0, 20, 127);
    ASSERT_EQ(effect.parameterCalls.size(), 1u);
    EXPECT_EQ(effect.parameterCalls[0], (std::pair<VstInt32, float>{12, 1.0f}));
    EXPECT_EQ(effect.controllerOfParameter(30), 999);
}

TEST(MidiLearning, TableOperationsKeepRoutesConsistent) {
    PresetRig effect;
    effect.assignController(4, 10);
    effect.unassignController(10);
    EXPECT_EQ(effect.controllerOfParameter(4), 999);
    EXPECT_EQ(effect.getParameter(60 + 4), 128.5f / 129.0f);

    // A stale route left by an assignment write does not unassign the parameter's own
    // controller.
    effect.setParameter(60 + 4, (10 + 0.5f) / 129.0f);
    effect.setParameter(60 + 4, (11 + 0.5f) / 129.0f);
    effect.unassignController(10);
    EXPECT_EQ(effect.controllerOfParameter(4), 11);
    EXPECT_EQ(effect.parameterOfController(11), 4);

    EXPECT_EQ(effect.controllerOfParameter(60), 999);
    EXPECT_EQ(effect.parameterOfController(128), 999);
    effect.assignController(60, 1);
    effect.assignController(1, 128);
    EXPECT_EQ(effect.parameterOfController(1), 999);
}

TEST(MidiLearning, LearningAndRoutingAllocateNothingOnTheAudioThread) {
    PresetRig effect;
    effect.parameterCalls.reserve(8);
    EventList list;
    list.add(0xB0, 7, 1).add(0xB0, 8, 2).add(0x90, 60, 100);
    VstEvents* events = list.get();
    effect.startLearning();
    effect.setLearnTarget(3);
    const test::AllocationCounter counter;
    effect.processEvents(events);
    EXPECT_EQ(counter.count(), 0u);
    EXPECT_EQ(effect.parameterCalls.size(), 1u);
}

// Whether MIDI is received at all is the effect's answer to the host (DelayEffectTest).
TEST(MidiLearning, EveryResumeAsksForMidi) {
    PresetRig effect;
    effect.resume();
    EXPECT_TRUE(effect.askedForMidi);
}

} // namespace
} // namespace velmora::testing
