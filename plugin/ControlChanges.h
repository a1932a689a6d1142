// MIDI from the host: the Control Change messages in an event list, handed to the preset system
// as plain controller/value pairs.
#pragma once

#include "presets/PresetSystem.h"
#include "vst2/vst2.h"

namespace velmora {

// Passes every Control Change (any channel) to `presets`; other events, and controller numbers
// that read as negative 8-bit values, are skipped. Answers what processEvents answers: 1 for a
// list, 0 for none.
VstInt32 routeControlChanges(const VstEvents* events, PresetSystem& presets);

} // namespace velmora
