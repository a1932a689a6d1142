// Qel: the effect itself. Owns the engine and its lock, and ties the host interface, the
// parameter model and the preset system together.
#pragma once

#include "engine/Engine.h"
#include "plugin/EditorQueries.h"
#include "plugin/EngineLock.h"
#include "presets/PresetSystemEffect.h"

namespace velmora {

class Qel final : public CPresetSystemEffect {
  public:
    explicit Qel(audioMasterCallback audioMaster);
    ~Qel() override;

    // Lifecycle and processing.
    void suspend() override;
    void resume() override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) override;

    // Parameters.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    bool getParameterProperties(VstInt32 index, VstParameterProperties* properties) override;

    // Host queries.
    bool setSpeakerArrangement(VstSpeakerArrangement* input,
                               VstSpeakerArrangement* output) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;

    // Preset system.
    void setCurrentProgram(int index) override;
    bool isParameterExcludedFromSave(int) const override { return false; }
    bool isParameterExcludedFromLoad(int) const override { return false; }

    // What the editor reads and sets besides the parameters.
    void getDisplayRecord(VstInt32 index, DisplayRecord& record);
    bool isNoteValueTooLong(VstInt32 selector) const;
    void takePeakLevels(float& left, float& right);
    double getNormalisedTempo() const;
    void setNormalisedTempo(double normalised);
    bool hostTempoAvailable() const;
    bool sidesMatch() const;
    void copySideTiming(bool fromRight);

    const engine::Engine& engine() const { return engine_; }

  private:
    template <typename Sample> void processBlock(Sample** inputs, Sample** outputs, int frames);
    engine::HostTiming readHostTiming();
    engine::ResumeRequest gatherResumeRequest();
    void applyToEngine(VstInt32 index, float value);

    EngineLock engineLock_;
    engine::Engine engine_;
};

} // namespace velmora
