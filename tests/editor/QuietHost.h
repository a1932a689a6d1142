// A host callback for tests that build the effect itself: it states its version and answers
// nothing else, so the effect runs without host tempo or time information.
#pragma once

#include "vst2/vst2.h"

namespace velmora::editor::testing {

inline VstIntPtr VST_CALL quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

} // namespace velmora::editor::testing
