// The base of every effect: owns the record shared with the host, turns its calls into virtual
// operations and wraps the calls back to the host.
#pragma once

#include "vst2/AEffEditor.h"
#include "vst2/vst2.h"

#include <memory>

namespace velmora {

class AudioEffect {
  public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt);
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
    virtual void setBlockSize(VstInt32 blockSize) { blockSize_ = blockSize; }

    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processDoubleReplacing(double**, double**, VstInt32) {}

    virtual void setParameter(VstInt32, float) {}
    virtual float getParameter(VstInt32) { return 0.0f; }
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual VstInt32 getProgram() { return curProgram_; }
    virtual void setProgram(VstInt32 program) { curProgram_ = program; }
    virtual void setProgramName(char*) {}
    virtual void getProgramName(char* name) { *name = 0; }

    virtual void getParameterLabel(VstInt32, char* label) { *label = 0; }
    virtual void getParameterDisplay(VstInt32, char* text) { *text = 0; }
    virtual void getParameterName(VstInt32, char* text) { *text = 0; }

    virtual VstInt32 getChunk(void**, bool) { return 0; }
    virtual VstInt32 setChunk(void*, VstInt32, bool) { return 0; }

    virtual void setUniqueID(VstInt32 id) { cEffect_.uniqueID = id; }
    virtual void setNumInputs(VstInt32 inputs) { cEffect_.numInputs = inputs; }
    virtual void setNumOutputs(VstInt32 outputs) { cEffect_.numOutputs = outputs; }
    virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
    virtual void canDoubleReplacing(bool state = true) {
        setFlag(effFlagsCanDoubleReplacing, state);
    }
    virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
    virtual void setInitialDelay(VstInt32 delay) { cEffect_.initialDelay = delay; }

    virtual AEffEditor* getEditor() { return editor_.get(); }
    virtual AEffect* getAeffect() { return &cEffect_; }
    virtual float getSampleRate() { return sampleRate_; }
    virtual VstInt32 getBlockSize() { return blockSize_; }

    virtual VstInt32 getMasterVersion();
    virtual VstInt32 getCurrentUniqueId();
    virtual void masterIdle();
    virtual bool isInputConnected(VstInt32 input);
    virtual bool isOutputConnected(VstInt32 output);

    // Number-to-text helpers of the base, used by parameter displays.
    virtual void dB2string(float value, char* text, VstInt32 maxLen);
    virtual void Hz2string(float samples, char* text, VstInt32 maxLen);
    virtual void ms2string(float samples, char* text, VstInt32 maxLen);
    virtual void float2string(float value, char* text, VstInt32 maxLen);
    virtual void int2string(VstInt32 value, char* text, VstInt32 maxLen);

    // Deprecated calls: the accumulating process and the VU query do nothing.
    virtual void process(float**, float**, VstInt32) {}
    virtual float getVu() { return 0.0f; }

    // Registers the editor (sets the has-editor flag); the effect owns it from then on.
    void setEditor(std::unique_ptr<AEffEditor> editor);
    void hasEditor(bool state) { setFlag(effFlagsHasEditor, state); }
    void isSynth(bool state) { setFlag(effFlagsIsSynth, state); }

    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    audioMasterCallback hostCallback() const { return audioMaster_; }

  protected:
    void setFlag(VstInt32 flag, bool state) {
        cEffect_.flags = state ? (cEffect_.flags | flag) : (cEffect_.flags & ~flag);
    }

    audioMasterCallback audioMaster_;
    std::unique_ptr<AEffEditor> editor_;
    float sampleRate_ = 44100.0f;
    VstInt32 blockSize_ = 1024;
    VstInt32 numPrograms_;
    VstInt32 numParams_;
    VstInt32 curProgram_ = 0;
    AEffect cEffect_{};
};

} // namespace velmora
