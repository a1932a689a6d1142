// The parameter texts and properties as a host reads them from the built plug-in.
#include "engine/ParameterIndex.h"
#include "tests/support/HostFixture.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace velmora::testing {
namespace {

class ParameterHostTest : public HostFixture {
  protected:
    void SetUp() override { createInstance(); }
    host::PluginInstance& plugin() { return *instance; }

    std::string displayAt(VstInt32 index, float value) {
        plugin().setParameter(index, value);
        return plugin().parameterDisplay(index);
    }
};

TEST_F(ParameterHostTest, NameLabelAndDisplayAsTheHostSeesThem) {
    struct Row {
        VstInt32 index;
        const char* name;
        const char* label;
        float value;
        const char* display;
    };
    const Row rows[] = {
        {param::Input, "Input", "dB", 0.0f, "-oo"},
        {param::Input, "Input", "dB", 0.5f, "0.000000"},
        {param::Mix, "Mix", "%", 0.3f, "D:70<>30:W"},
        {param::FbPanL, "FbPanL", "%", 1.0f, "L:0<>100:R"},
        {param::LFORate, "LFORate", "Hz", 0.0f, "0.009999"},
        {param::LROffset, "LROffset", "deg", 0.75f, "L:-90<>90+:R"},
        {param::LROffset, "LROffset", "deg", 0.25f, "L:+90<>90-:R"},
        {param::CutfMod, "CutfMod", "%", 0.25f, "-50"},
        {param::Cutoff, "Cutoff", "Hz", 1.0f, "16000"},
        {param::Cutoff, "Cutoff", "Hz", 0.0f, "50"},
        {param::VcoMan, "VcoMan", "x", 1.0f, "2.000000"},
        {param::EnvSpeed, "EnvSpeed", "ms", 1.0f, "1000"},
        {param::RangeL, "RangeL", "ms", 0.0f, "100"},
        {param::LfoMode, "LfoMode", "", 0.9f, "note"},
        {param::RvbType, "RvbType", "", 0.75f, "plate"},
        {param::Unused44, "n/a", "", 0.2f, "n/a"},
        {param::Ducking, "Ducking", "%", 0.0f, "-24.0000"},
        {param::ResoMod, "ResoMod", "", 0.25f, "-50"},
        {param::ResoMod, "ResoMod", "", 0.5f, "0"},
        {param::MuteInL, "MuteInL", "", 0.5f, "off"},
        {param::MuteInR, "MuteInR", "", 1.0f, "muted"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(plugin().parameterName(row.index), row.name);
        EXPECT_EQ(plugin().parameterLabel(row.index), row.label) << row.name;
        EXPECT_EQ(displayAt(row.index, row.value), row.display) << row.name << " at " << row.value;
    }
}

TEST_F(ParameterHostTest, ControllerIndicesAndIndicesOutsideTheTable) {
    EXPECT_EQ(plugin().parameterName(60 + param::Cutoff), "CC# Cutoff");
    EXPECT_EQ(plugin().parameterName(103), "CC# n/a");
    EXPECT_EQ(plugin().parameterLabel(60), "");
    EXPECT_EQ(plugin().parameterDisplay(75), "");

    std::array<char, 64> text{};
    std::strcpy(text.data(), "kept");
    plugin().dispatcher(effGetParamName, 120, 0, text.data());
    EXPECT_STREQ(text.data(), "kept");
    plugin().dispatcher(effGetParamDisplay, 120, 0, text.data());
    EXPECT_STREQ(text.data(), "kept");
    plugin().dispatcher(effGetParamLabel, 120, 0, text.data());
    EXPECT_STREQ(text.data(), "");
}

TEST_F(ParameterHostTest, CutoffDisplayFollowsTheSampleRate) {
    plugin().open();
    plugin().setSampleRate(22050.0f);
    plugin().resume();
    EXPECT_EQ(displayAt(param::Cutoff, 1.0f), "11025");
}

TEST_F(ParameterHostTest, PropertiesThroughTheDispatcher) {
    VstParameterProperties properties{};
    EXPECT_EQ(plugin().dispatcher(effGetParameterProperties, param::EnvSpeed, 0, &properties), 1);
    EXPECT_EQ(properties.flags, kVstParameterUsesFloatStep);

    properties = {};
    EXPECT_EQ(plugin().dispatcher(effGetParameterProperties, param::Bypass, 0, &properties), 1);
    EXPECT_EQ(properties.flags & kVstParameterIsSwitch, kVstParameterIsSwitch);
    EXPECT_EQ(properties.maxInteger, 1);

    properties = {};
    EXPECT_EQ(plugin().dispatcher(effGetParameterProperties, param::DlyDenL, 0, &properties), 1);
    EXPECT_EQ(properties.maxInteger, 13);

    std::memset(&properties, 0x11, sizeof properties);
    EXPECT_EQ(plugin().dispatcher(effGetParameterProperties, param::LFORate, 0, &properties), 0);
    EXPECT_EQ(properties.flags, 0x11111111);
}

// A host may send anything as a value; no text it reads back may outgrow a 64-byte buffer.
TEST_F(ParameterHostTest, TextsFitSixtyFourBytesWhateverTheValues) {
    const float inf = std::numeric_limits<float>::infinity();
    for (float value : {std::nanf(""), inf, -inf, 1e30f, -1e30f, -1.0f, 2.0f, 1.0f, 0.0f}) {
        for (VstInt32 index = 0; index < kNumParameters; ++index)
            plugin().setParameter(index, value);
        for (VstInt32 index = 0; index <= 130; ++index) {
            EXPECT_LT(plugin().parameterName(index).size(), 64u) << index << " at " << value;
            EXPECT_LT(plugin().parameterLabel(index).size(), 64u) << index << " at " << value;
            EXPECT_LT(plugin().parameterDisplay(index).size(), 64u) << index << " at " << value;
        }
    }
}

} // namespace
} // namespace velmora::testing
