// The VST 2.x extensions of the base: the rest of the dispatcher table and the host queries.
#pragma once

#include "vst2/AudioEffect.h"

namespace velmora {

class AudioEffectX : public AudioEffect {
  public:
    using AudioEffect::AudioEffect;

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;

    // Effect-side operations the host asks for.
    virtual VstInt32 processEvents(VstEvents*) { return 0; }
    virtual bool canParameterBeAutomated(VstInt32) { return true; }
    virtual bool string2parameter(VstInt32, char*) { return false; }
    virtual bool getProgramNameIndexed(VstInt32, VstInt32, char*) { return false; }
    virtual bool getInputProperties(VstInt32, void*) { return false; }
    virtual bool getOutputProperties(VstInt32, void*) { return false; }
    virtual VstInt32 getPlugCategory();
    virtual bool setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) {
        return false;
    }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input,
                                       VstSpeakerArrangement** output);
    virtual bool setBypass(bool) { return false; }
    virtual bool getEffectName(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstIntPtr vendorSpecific(VstInt32, VstIntPtr, void*, float) { return 0; }
    virtual VstInt32 canDo(char*) { return 0; }
    virtual VstInt32 getGetTailSize() { return 0; }
    virtual bool getParameterProperties(VstInt32, VstParameterProperties*) { return false; }
    virtual VstInt32 getVstVersion() { return kVstVersion; }

    // Calls back to the host; each answers 0 (false, null) when there is no callback.
    bool wantEvents(VstInt32 filter = 1);
    VstTimeInfo* getTimeInfo(VstInt32 filter);
    VstInt32 getOutputLatency();
    VstInt32 getInputLatency();
    bool canHostDo(char* text);
    bool updateDisplay();
    bool beginEdit(VstInt32 index);
    bool endEdit(VstInt32 index);
    bool ioChanged();
    double updateSampleRate();
    VstInt32 updateBlockSize();
    VstInt32 getCurrentProcessLevel();
    VstInt32 getAutomationState();
    bool getHostVendorString(char* text);
    bool getHostProductString(char* text);
    VstInt32 getHostVendorVersion();
    VstInt32 getHostLanguage();
    void* getDirectory();
    bool sizeWindow(VstInt32 width, VstInt32 height);
};

} // namespace velmora
