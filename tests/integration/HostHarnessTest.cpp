// The scripted host itself: what its callback answers and to whom. A wrong answer here would
// make every test through the binary check the wrong thing.
#include "tools/host/ScriptedHost.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::host {
namespace {

VstIntPtr call(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
               void* ptr = nullptr) {
    return ScriptedHost::callback()(effect, opcode, index, value, ptr, 0.0f);
}

const VstTimeInfo* timeInfo(ScriptedHost& host) {
    return reinterpret_cast<const VstTimeInfo*>(
        host.answer(nullptr, audioMasterGetTime, 0, kVstTempoValid, nullptr, 0.0f));
}

TEST(HostHarnessTest, CallbackFindsItsHostThroughTheRecordOrTheLoadingScope) {
    ScriptedHost loading;
    loading.setVersion(1234);
    ScriptedHost attached;
    attached.setVersion(2400);
    AEffect effect{};

    EXPECT_EQ(call(nullptr, audioMasterVersion), 0) << "no host known: no answer";
    {
        const LoadingScope scope(loading);
        EXPECT_EQ(call(nullptr, audioMasterVersion), 1234);
        EXPECT_EQ(call(&effect, audioMasterVersion), 1234) << "record not attached yet";
        effect.user = &attached;
        EXPECT_EQ(call(&effect, audioMasterVersion), 2400);
    }
    EXPECT_EQ(call(&effect, audioMasterVersion), 2400);
    EXPECT_EQ(call(nullptr, audioMasterVersion), 0);
}

TEST(HostHarnessTest, TimeInfoCarriesOnlyWhatIsSet) {
    ScriptedHost host;
    EXPECT_EQ(timeInfo(host), nullptr);

    host.setTempo(96.0);
    const VstTimeInfo* info = timeInfo(host);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->tempo, 96.0);
    EXPECT_TRUE(info->flags & kVstTempoValid);
    EXPECT_FALSE(info->flags & kVstPpqPosValid);

    host.setSampleRate(48000.0);
    host.setSongPosition(2.0);
    host.advanceTransport(24000); // half a second at 96 BPM: 0.8 quarter notes
    info = timeInfo(host);
    EXPECT_TRUE(info->flags & kVstPpqPosValid);
    EXPECT_DOUBLE_EQ(info->ppqPos, 2.8);
    EXPECT_DOUBLE_EQ(info->samplePos, 24000.0);

    host.setTempo(std::nullopt);
    info = timeInfo(host);
    ASSERT_NE(info, nullptr) << "a song position alone still gives a record";
    EXPECT_FALSE(info->flags & kVstTempoValid);
    host.setSongPosition(std::nullopt);
    EXPECT_EQ(timeInfo(host), nullptr);
    EXPECT_EQ(host.timeQueryCount(), 5);
}

TEST(HostHarnessTest, ScriptedAnswersAndRecords) {
    ScriptedHost host;
    host.setInputConnected(2, false);
    host.setOutputConnected(0, true);
    host.setOutputLatency(512);
    host.setCanDo("sendVstMidiEvent", 1);

    // Pins: 0 means connected, as the interface has it; unset pins are connected.
    EXPECT_EQ(host.answer(nullptr, audioMasterPinConnected, 2, 0, nullptr, 0), 1);
    EXPECT_EQ(host.answer(nullptr, audioMasterPinConnected, 3, 0, nullptr, 0), 0);
    EXPECT_EQ(host.answer(nullptr, audioMasterPinConnected, 2, 1, nullptr, 0), 0) << "output 2";
    EXPECT_EQ(host.answer(nullptr, audioMasterGetOutputLatency, 0, 0, nullptr, 0), 512);

    std::string yes = "sendVstMidiEvent";
    std::string no = "sendVstMidiEvents";
    EXPECT_EQ(host.answer(nullptr, audioMasterCanDo, 0, 0, yes.data(), 0), 1);
    EXPECT_EQ(host.answer(nullptr, audioMasterCanDo, 0, 0, no.data(), 0), 0);
    EXPECT_EQ(host.answer(nullptr, audioMasterCanDo, 0, 0, nullptr, 0), 0);

    host.answer(nullptr, audioMasterAutomate, 3, 0, nullptr, 0.25f);
    host.answer(nullptr, audioMasterBeginEdit, 3, 0, nullptr, 0);
    host.answer(nullptr, audioMasterEndEdit, 3, 0, nullptr, 0);
    host.answer(nullptr, audioMasterUpdateDisplay, 0, 0, nullptr, 0);
    host.answer(nullptr, audioMasterWantMidi, 0, 1, nullptr, 0);
    ASSERT_EQ(host.automations().size(), 1u);
    EXPECT_EQ(host.automations()[0].index, 3);
    EXPECT_EQ(host.automations()[0].value, 0.25f);
    EXPECT_EQ(host.beginEdits(), std::vector<VstInt32>{3});
    EXPECT_EQ(host.endEdits(), std::vector<VstInt32>{3});
    EXPECT_EQ(host.updateDisplayCount(), 1);
    EXPECT_EQ(host.wantMidiCount(), 1);
    EXPECT_EQ(host.calls().size(), 12u);

    host.clearRecords();
    EXPECT_TRUE(host.calls().empty());
    EXPECT_TRUE(host.automations().empty());
}

} // namespace
} // namespace velmora::host
