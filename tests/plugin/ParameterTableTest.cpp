#include "plugin/ParameterTable.h"
#include "engine/ParameterDescriptions.h"
#include "plugin/ParameterProperties.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace velmora {
namespace {

std::string nameOf(int index) {
    char text[64];
    std::strcpy(text, "untouched");
    writeParameterName(index, text);
    return text;
}

std::string labelOf(int index) {
    char text[64];
    std::strcpy(text, "untouched");
    writeParameterLabel(index, text);
    return text;
}

TEST(ParameterTable, NamesAndLabelsOfSampledRows) {
    struct Row {
        int index;
        const char* name;
        const char* label;
        int steps;
    };
    const Row rows[] = {
        {param::Input, "Input", "dB", 0},        {param::Mix, "Mix", "%", 0},
        {param::LFOWave, "LFOWave", "", 5},      {param::LFORate, "LFORate", "Hz", 0},
        {param::LROffset, "LROffset", "deg", 0}, {param::Cutoff, "Cutoff", "Hz", 0},
        {param::VcoMan, "VcoMan", "x", 0},       {param::EnvSpeed, "EnvSpeed", "ms", 0},
        {param::DlyDenR, "DlyDenR", "", 13},     {param::RangeL, "RangeL", "ms", 3},
        {param::LfoMode, "LfoMode", "", 3},      {param::DlyTimeR, "DlyTimeR", "ms", 0},
        {param::RvbType, "RvbType", "", 2},      {param::Unused43, "n/a", "", 0},
        {param::Unused44, "n/a", "", 0},         {param::Ducking, "Ducking", "%", 0},
        {param::ResoMod, "ResoMod", "", 0},      {param::PreNumR, "PreNumR", "", 6},
        {param::MuteInR, "MuteInR", "", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(nameOf(row.index), row.name) << row.index;
        EXPECT_EQ(labelOf(row.index), row.label) << row.index;
        EXPECT_EQ(describe(row.index).steps, row.steps) << row.index;
    }
}

TEST(ParameterTable, NamesAreUniqueExceptTheUnusedPairAndFindTheirIndex) {
    std::set<std::string> names;
    for (int index = 0; index < kNumParameters; ++index) {
        const std::string name = nameOf(index);
        EXPECT_LE(name.size(), 8u);
        if (index == param::Unused44) continue;
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(parameterIndexByName(name), index);
    }
    EXPECT_EQ(parameterIndexByName("Cutoff"), 15);
    EXPECT_EQ(parameterIndexByName("cutoff"), std::nullopt);
    EXPECT_EQ(parameterIndexByName(""), std::nullopt);
}

TEST(ParameterTable, ControllerIndicesAndOutsideIndices) {
    EXPECT_EQ(nameOf(60 + param::Cutoff), "CC# Cutoff");
    EXPECT_EQ(nameOf(60), "CC# Input");
    EXPECT_EQ(nameOf(103), "CC# n/a");
    EXPECT_EQ(nameOf(119), "CC# MuteInR");
    EXPECT_EQ(nameOf(120), "untouched");
    EXPECT_EQ(nameOf(-1), "untouched");
    EXPECT_EQ(labelOf(60), "");
    EXPECT_EQ(labelOf(60 + param::Input), "");
    EXPECT_EQ(labelOf(-7), "");
    EXPECT_EQ(labelOf(1000), "");
}

VstParameterProperties filledWith(unsigned char byte) {
    VstParameterProperties properties;
    std::memset(&properties, byte, sizeof properties);
    return properties;
}

TEST(ParameterProperties, SwitchesAnnounceAnIntegerSwitch) {
    for (int index : {7, 8, 19, 20, 24, 25, 37, 38, 41, 42, 43, 44, 45, 46, 58, 59}) {
        auto properties = filledWith(0x5a);
        const auto before = properties;
        ASSERT_TRUE(fillParameterProperties(index, properties)) << index;
        EXPECT_EQ(properties.flags, kVstParameterIsSwitch | kVstParameterUsesIntegerMinMax |
                                        kVstParameterUsesIntStep);
        EXPECT_EQ(properties.minInteger, 0);
        EXPECT_EQ(properties.maxInteger, 1);
        EXPECT_EQ(properties.stepInteger, 1);
        EXPECT_EQ(properties.largeStepInteger, 1);
        EXPECT_EQ(std::memcmp(properties.label, before.label, sizeof before.label), 0);
        EXPECT_EQ(std::memcmp(&properties.stepFloat, &before.stepFloat, sizeof(float)), 0);
    }
}

TEST(ParameterProperties, SteppedGroupsAnnounceTheirIntegerRange) {
    const std::pair<int, int> members[] = {
        {9, 5},  {26, 5}, {27, 5}, {33, 5},  {14, 3},  {23, 3},  {30, 3},  {31, 3},
        {32, 3}, {54, 6}, {55, 6}, {28, 13}, {29, 13}, {34, 13}, {56, 13}, {57, 13},
    };
    for (const auto& [index, steps] : members) {
        auto properties = filledWith(0x33);
        ASSERT_TRUE(fillParameterProperties(index, properties)) << index;
        EXPECT_EQ(properties.flags, kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep);
        EXPECT_EQ(properties.minInteger, 1);
        EXPECT_EQ(properties.maxInteger, steps) << index;
        EXPECT_EQ(properties.maxInteger, describe(index).steps) << index;
        EXPECT_EQ(properties.stepInteger, 1);
        EXPECT_EQ(properties.largeStepInteger, 1);
    }
}

TEST(ParameterProperties, FloatStepsOfEnvelopeSpeedAndDelayTimes) {
    auto properties = filledWith(0);
    ASSERT_TRUE(fillParameterProperties(param::EnvSpeed, properties));
    EXPECT_EQ(properties.flags, kVstParameterUsesFloatStep);
    EXPECT_FLOAT_EQ(properties.stepFloat, 0.0011111111f);
    EXPECT_FLOAT_EQ(properties.smallStepFloat, 0.0011111111f);
    EXPECT_FLOAT_EQ(properties.largeStepFloat, 0.011111111f);

    for (int index : {param::DlyTimeL, param::DlyTimeR}) {
        properties = filledWith(0);
        ASSERT_TRUE(fillParameterProperties(index, properties));
        EXPECT_EQ(properties.flags, kVstParameterUsesFloatStep);
        EXPECT_EQ(properties.stepFloat, 0.0001f);
        EXPECT_EQ(properties.smallStepFloat, 0.0001f);
        EXPECT_EQ(properties.largeStepFloat, 0.1f);
        EXPECT_EQ(properties.minInteger, 0);
    }
}

TEST(ParameterProperties, UndescribedIndicesLeaveTheRecordUntouched) {
    for (int index : {-1, 0, 10, 15, 47, 53, 60, 75, 120}) {
        auto properties = filledWith(0xa5);
        const auto before = properties;
        EXPECT_FALSE(fillParameterProperties(index, properties)) << index;
        EXPECT_EQ(std::memcmp(&properties, &before, sizeof before), 0) << index;
    }
}

} // namespace
} // namespace velmora
