#include "plugin/ParameterProperties.h"

#include "engine/ParameterDescriptions.h"

namespace velmora {

namespace {

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
    const ParameterDescription& description = describe(index);
    switch (description.hostSteps) {
    case HostSteps::Switch:
        describeSwitch(properties);
        return true;
    case HostSteps::Integer:
        describeSteps(properties, description.steps);
        return true;
    case HostSteps::Float:
        describeFloatSteps(properties, description.floatSteps.step,
                           description.floatSteps.largeStep);
        return true;
    case HostSteps::None:
        break;
    }
    return false;
}

} // namespace velmora
