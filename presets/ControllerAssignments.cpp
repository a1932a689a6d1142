#include "presets/ControllerAssignments.h"

#include "presets/ProgramStore.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {
constexpr int kEncodedNone = 128;
constexpr auto kRelaxed = std::memory_order_relaxed;
} // namespace

float encodeAssignment(int controller) {
    const int code = isControllerNumber(controller) ? controller : kEncodedNone;
    return static_cast<float>((code + 0.5) / 129.0);
}

int decodeAssignment(float value) {
    if (!isNormalised(value)) return kNoAssignment;
    const int code =
        std::min(static_cast<int>(std::floor(static_cast<double>(value) * 129.0)), kEncodedNone);
    return code == kEncodedNone ? kNoAssignment : code;
}

void ControllerAssignments::clearAll() {
    for (auto& entry : parameterOfController_)
        entry.store(kNoAssignment, kRelaxed);
    for (auto& entry : controllerOfParameter_)
        entry.store(kNoAssignment, kRelaxed);
    for (auto& value : reported_)
        value.store(encodeAssignment(kNoAssignment), kRelaxed);
}

void ControllerAssignments::setFromValue(int parameter, float value) {
    if (!isParameterIndex(parameter)) return;
    const int controller = decodeAssignment(value);
    // A value that names no controller is reported as the encoding of "none".
    const float reported = isNormalised(value) ? value : encodeAssignment(kNoAssignment);
    reported_[parameter].store(reported, kRelaxed);
    controllerOfParameter_[parameter].store(controller, kRelaxed);
    if (isControllerNumber(controller))
        parameterOfController_[controller].store(parameter, kRelaxed);
}

float ControllerAssignments::reportedValue(int parameter) const {
    return isParameterIndex(parameter) ? reported_[parameter].load(kRelaxed) : 0.0f;
}

void ControllerAssignments::setParameterEntry(int parameter, int controller) {
    controllerOfParameter_[parameter].store(controller, kRelaxed);
    reported_[parameter].store(encodeAssignment(controller), kRelaxed);
}

void ControllerAssignments::assign(int parameter, int controller) {
    if (!isParameterIndex(parameter) || !isControllerNumber(controller)) return;
    setParameterEntry(parameter, controller);
    parameterOfController_[controller].store(parameter, kRelaxed);
}

void ControllerAssignments::unassignParameter(int parameter) {
    if (!isParameterIndex(parameter)) return;
    const int controller = controllerOfParameter_[parameter].load(kRelaxed);
    if (isControllerNumber(controller))
        parameterOfController_[controller].store(kNoAssignment, kRelaxed);
    setParameterEntry(parameter, kNoAssignment);
}

void ControllerAssignments::unassignController(int controller) {
    if (!isControllerNumber(controller)) return;
    const int parameter = parameterOfController_[controller].load(kRelaxed);
    // A stale route must not take away the parameter's assignment to another controller.
    if (isParameterIndex(parameter) &&
        controllerOfParameter_[parameter].load(kRelaxed) == controller)
        setParameterEntry(parameter, kNoAssignment);
    parameterOfController_[controller].store(kNoAssignment, kRelaxed);
}

void ControllerAssignments::learn(int parameter, int controller) {
    if (!isParameterIndex(parameter) || !isControllerNumber(controller)) return;
    for (int p = 0; p < kNumParameters; ++p)
        if (controllerOfParameter_[p].load(kRelaxed) == controller)
            setParameterEntry(p, kNoAssignment);
    const int previous = controllerOfParameter_[parameter].load(kRelaxed);
    if (isControllerNumber(previous) &&
        parameterOfController_[previous].load(kRelaxed) == parameter)
        parameterOfController_[previous].store(kNoAssignment, kRelaxed);
    assign(parameter, controller);
}

int ControllerAssignments::controllerOf(int parameter) const {
    return isParameterIndex(parameter) ? controllerOfParameter_[parameter].load(kRelaxed)
                                       : kNoAssignment;
}

int ControllerAssignments::parameterOf(int controller) const {
    const int parameter = routeOf(controller);
    if (!isParameterIndex(parameter) ||
        controllerOfParameter_[parameter].load(kRelaxed) == kNoAssignment)
        return kNoAssignment;
    return parameter;
}

int ControllerAssignments::routeOf(int controller) const {
    return isControllerNumber(controller) ? parameterOfController_[controller].load(kRelaxed)
                                          : kNoAssignment;
}

} // namespace velmora
