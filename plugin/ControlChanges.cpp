#include "plugin/ControlChanges.h"

#include "presets/ControllerAssignments.h"

#include <optional>

namespace velmora {
namespace {

struct ControlChange {
    int controller;
    int value;
};

std::optional<ControlChange> controlChangeOf(const VstEvent* event) {
    if (event == nullptr || event->type != kVstMidiType) return std::nullopt;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
    const auto status = static_cast<unsigned char>(midi->midiData[0]);
    if ((status & 0xF0) != 0xB0) return std::nullopt;
    const int controller = static_cast<signed char>(midi->midiData[1]);
    const int value = static_cast<signed char>(midi->midiData[2]);
    if (!isControllerNumber(controller)) return std::nullopt;
    return ControlChange{controller, value};
}

} // namespace

VstInt32 routeControlChanges(const VstEvents* events, PresetSystem& presets) {
    if (events == nullptr) return 0;
    // The list is declared with two entries but really holds numEvents of them.
    VstEvent* const* list = events->events;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        if (const auto change = controlChangeOf(list[i]))
            presets.receiveControlChange(change->controller, change->value);
    }
    return 1;
}

} // namespace velmora
