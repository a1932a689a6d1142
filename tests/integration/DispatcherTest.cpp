// The dispatcher's answers through the built binary, as a host sees them.
#include "tests/support/HostFixture.h"

#include <array>
#include <string>

namespace velmora::testing {
namespace {

class DispatcherTest : public HostFixture {
  protected:
    void SetUp() override { createInstance(); }
    host::PluginInstance& plugin() { return *instance; }
};

TEST_F(DispatcherTest, FixedAnswers) {
    EXPECT_EQ(plugin().dispatcher(effGetVstVersion), 2400);
    EXPECT_EQ(plugin().dispatcher(effIdentify), fourCharacters('N', 'v', 'E', 'f'));
    EXPECT_EQ(plugin().dispatcher(effGetPlugCategory), kPlugCategUnknown);
    EXPECT_EQ(plugin().dispatcher(effGetTailSize), 0);
    EXPECT_EQ(plugin().dispatcher(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(plugin().dispatcher(effSetTotalSampleToProcess, 0, 12345), 12345);
    for (const VstInt32 index : {0, 17, 59, 60, 119}) {
        EXPECT_EQ(plugin().dispatcher(effCanBeAutomated, index), 1) << "index " << index;
    }
}

TEST_F(DispatcherTest, UnhandledOpcodesAnswerZero) {
    // Each gets a zeroed buffer in case the plug-in wrongly writes through the pointer.
    for (const VstInt32 opcode :
         {9,  16, 17, 18, 20, 21, 27, 28, 30, 31, 32, 33, 34,  36,    37, 38,
          39, 40, 41, 43, 44, 46, 49, 50, 53, 54, 55, 57, 62,  64,    65, 66,
          67, 68, 70, 71, 72, 74, 75, 76, 77, 78, 79, 80, 200, 100000}) {
        std::array<char, 512> scratch{};
        EXPECT_EQ(plugin().dispatcher(opcode, 0, 0, scratch.data()), 0) << "opcode " << opcode;
    }
}

TEST_F(DispatcherTest, Names) {
    EXPECT_EQ(plugin().effectName(), "Velmora");
    EXPECT_EQ(plugin().dispatcher(effGetEffectName, 0, 0, std::array<char, 64>{}.data()), 1);
    const std::string vendor = plugin().vendorString();
    EXPECT_FALSE(vendor.empty());
    EXPECT_LE(vendor.size(), 64u);
    const std::string product = plugin().productString();
    EXPECT_EQ(product.rfind("Velmora - ", 0), 0u) << product;
    EXPECT_LE(product.size(), 64u);
}

TEST_F(DispatcherTest, ReceivingMidiDependsOnTheHostSending) {
    EXPECT_EQ(plugin().canDo("receiveVstMidiEvent"), 0);
    host.setCanDo("sendVstMidiEvent", 1);
    EXPECT_EQ(plugin().canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(host.canDoQuestions().back(), "sendVstMidiEvent");
    for (const char* text : {"receiveVstTimeInfo", "bypass", "sendVstMidiEvent", "",
                             "receiveVstMidiEvents", "receivevstmidievent"}) {
        EXPECT_EQ(plugin().canDo(text), 0) << text;
    }
}

TEST_F(DispatcherTest, SpeakerArrangements) {
    const std::array<std::pair<VstInt32, VstInt32>, 6> accepted{
        {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 2}, {4, 2}}};
    for (const auto& [inputs, outputs] : accepted) {
        EXPECT_TRUE(plugin().setSpeakerArrangement(inputs, outputs)) << inputs << "->" << outputs;
    }
    const std::array<std::pair<VstInt32, VstInt32>, 6> refused{
        {{2, 3}, {4, 1}, {0, 2}, {5, 2}, {2, 0}, {8, 8}}};
    for (const auto& [inputs, outputs] : refused) {
        EXPECT_FALSE(plugin().setSpeakerArrangement(inputs, outputs)) << inputs << "->" << outputs;
    }

    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* inputArrangement = &dummy;
    VstSpeakerArrangement* outputArrangement = &dummy;
    EXPECT_EQ(plugin().dispatcher(effGetSpeakerArrangement, 0,
                                  reinterpret_cast<VstIntPtr>(&inputArrangement),
                                  &outputArrangement),
              0);
    EXPECT_EQ(inputArrangement, nullptr);
    EXPECT_EQ(outputArrangement, nullptr);
}

TEST_F(DispatcherTest, HostSeesOneProgramOfSixtyOneStored) {
    for (const VstIntPtr program : {1, 5, 60, -1}) {
        plugin().dispatcher(effSetProgram, 0, program);
        EXPECT_EQ(plugin().dispatcher(effGetProgram), 0);
    }
    const auto first = plugin().programNameIndexed(0);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(plugin().programName(), *first);
    const auto last = plugin().programNameIndexed(60);
    ASSERT_TRUE(last.has_value());
    EXPECT_FALSE(last->empty());
    EXPECT_LE(last->size(), 24u);
    EXPECT_FALSE(plugin().programNameIndexed(61).has_value());
    EXPECT_FALSE(plugin().programNameIndexed(-1).has_value());
}

TEST_F(DispatcherTest, ProgramNameIsCutToTwentyFourCharacters) {
    std::string name = "An overlong program name that goes on";
    plugin().dispatcher(effSetProgramName, 0, 0, name.data());
    EXPECT_EQ(plugin().programName(), name.substr(0, 24));
}

TEST_F(DispatcherTest, ParameterTextsFitTheHostsBuffers) {
    // Names and labels keep to the 8 characters hosts promise room for; a few display texts
    // (balances, delay times) run longer by design, but never past the 12 the number routines
    // allow.
    for (VstInt32 index = 0; index < plugin().numParameters(); ++index) {
        EXPECT_FALSE(plugin().parameterName(index).empty()) << "index " << index;
        EXPECT_LE(plugin().parameterName(index).size(), 8u) << "index " << index;
        EXPECT_LE(plugin().parameterLabel(index).size(), 8u) << "index " << index;
        EXPECT_LE(plugin().parameterDisplay(index).size(), 12u) << "index " << index;
    }
}

} // namespace
} // namespace velmora::testing
