// What the host may learn about a parameter beyond its value: switch, integer range or fine
// float steps, written into the properties record the host passes in.
#pragma once

#include "vst2/vst2.h"

namespace velmora {

// Fills the fields that describe index and answers true; for a parameter without a
// description answers false and leaves the record untouched. Fields not named for the
// parameter's group keep what the host passed.
bool fillParameterProperties(int index, VstParameterProperties& properties);

} // namespace velmora
