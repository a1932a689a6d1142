// The preset system alone, for the fuzz targets: parameter writes reach the program store and
// the controller assignments, and the host answers nothing but its version.
#pragma once

#include "presets/PresetSystemEffect.h"

namespace velmora::fuzzing {

inline VstIntPtr VST_CALL quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

class FuzzEffect final : public CPresetSystemEffect {
  public:
    FuzzEffect() : CPresetSystemEffect(&quietHost) {}
    void processReplacing(float**, float**, VstInt32) override {}
    bool isParameterExcludedFromSave(int) const override { return false; }
    bool isParameterExcludedFromLoad(int) const override { return false; }
    void setParameter(VstInt32 index, float value) override {
        if (!isApplyingProgram()) CPresetSystemEffect::setParameter(index, value);
    }
};

} // namespace velmora::fuzzing
