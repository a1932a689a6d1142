#include "plugin/ParameterProperties.h"

#include "engine/ParameterIndex.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

constexpr std::array kSwitches{
    param::FbInvL,   param::FbInvR,   param::DlyInvL,  param::DlyInvR,
    param::DlyModeL, param::DlyModeR, param::RvbMode,  param::RvbType,
    param::Bypass,   param::FltOn,    param::Unused43, param::Unused44,
    param::VcoOn,    param::RvbOn,    param::MuteInL,  param::MuteInR,
};

struct SteppedGroup {
    int steps;
    std::array<param::Index, 5> members;
    int memberCount;
};

constexpr std::array kSteppedGroups{
    SteppedGroup{5, {param::LFOWave, param::DlyNumL, param::DlyNumR, param::LfoNum}, 4},
    // LfoMode has three modes; announced as a switch, a host could never reach the middle one.
    SteppedGroup{
        3, {param::FltType, param::FltMode, param::RangeL, param::RangeR, param::LfoMode}, 5},
    SteppedGroup{6, {param::PreNumL, param::PreNumR}, 2},
    SteppedGroup{
        13, {param::DlyDenL, param::DlyDenR, param::LfoDen, param::PreDenL, param::PreDenR}, 5},
};

bool isSwitch(int index) {
    return std::find(kSwitches.begin(), kSwitches.end(), index) != kSwitches.end();
}

// The step count of the stepped group holding index, or 0.
int steppedGroupSteps(int index) {
    for (const auto& group : kSteppedGroups) {
        const auto end = group.members.begin() + group.memberCount;
        if (std::find(group.members.begin(), end, index) != end) return group.steps;
    }
    return 0;
}

// The record used to carry switch and integer ranges without flags announcing them, so a host
// ignored them; the flags now say which fields are valid.
constexpr VstInt32 kIntegerRangeFlags = kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep;

void describeSwitch(VstParameterProperties& properties) {
    properties.flags = kVstParameterIsSwitch | kIntegerRangeFlags;
    properties.minInteger = 0;
    properties.maxInteger = 1;
    properties.stepInteger = 1;
    properties.largeStepInteger = 1;
}

// Steps are numbered from 1, so a host spreading minInteger..maxInteger evenly over 0..1 lands
// inside the matching step.
void describeSteps(VstParameterProperties& properties, int steps) {
    properties.flags = kIntegerRangeFlags;
    properties.minInteger = 1;
    properties.maxInteger = steps;
    properties.stepInteger = 1;
    // The flags announce integer steps, so the large step must be a real one too.
    properties.largeStepInteger = 1;
}

void describeFloatSteps(VstParameterProperties& properties, float step, float largeStep) {
    properties.flags = kVstParameterUsesFloatStep;
    properties.stepFloat = step;
    properties.smallStepFloat = step;
    properties.largeStepFloat = largeStep;
}

} // namespace

bool fillParameterProperties(int index, VstParameterProperties& properties) {
    if (isSwitch(index)) {
        describeSwitch(properties);
        return true;
    }
    if (const int steps = steppedGroupSteps(index); steps > 0) {
        describeSteps(properties, steps);
        return true;
    }
    if (index == param::EnvSpeed) {
        // One step is one millisecond of the 100..1000 ms envelope time.
        describeFloatSteps(properties, 1.0f / 900.0f, 1.0f / 90.0f);
        return true;
    }
    if (index == param::DlyTimeL || index == param::DlyTimeR) {
        describeFloatSteps(properties, 0.0001f, 0.1f);
        return true;
    }
    return false;
}

} // namespace velmora
