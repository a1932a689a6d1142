// The effect itself: owns the engine and its lock and the preset system, and ties the host
// interface, the parameter model and the presets together. It knows an editor only as an
// EffectEditor.
#pragma once

#include "engine/Engine.h"
#include "plugin/CoupledTiming.h"
#include "plugin/EditorQueries.h"
#include "plugin/EffectEditor.h"
#include "plugin/EngineLock.h"
#include "presets/PresetSystem.h"
#include "vst2/AudioEffectX.h"

#include <array>
#include <chrono>
#include <memory>

namespace velmora {

class DelayEffect final : public AudioEffectX, private PresetSystemOwner {
  public:
    explicit DelayEffect(audioMasterCallback audioMaster);
    ~DelayEffect() override;

    // Gives the effect its editor (none leaves it without one); the effect owns it from then on.
    void attachEditor(std::unique_ptr<EffectEditor> editor);

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

    // Programs, state and MIDI: the host sees a single program; the preset system does the rest.
    VstInt32 getProgram() override { return 0; }
    void setProgram(VstInt32) override {}
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;
    VstInt32 processEvents(VstEvents* events) override;
    VstInt32 canDo(char* text) override;

    // Host queries.
    bool setSpeakerArrangement(VstSpeakerArrangement* input,
                               VstSpeakerArrangement* output) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;

    // What the editor reads and sets besides the parameters.
    void getDisplayRecord(VstInt32 index, DisplayRecord& record);
    bool isNoteValueTooLong(VstInt32 selector) const;
    void takePeakLevels(float& left, float& right);
    double getNormalisedTempo() const;
    void setNormalisedTempo(double normalised);
    bool hostTempoAvailable() const;
    bool sidesMatch() const;
    void copySideTiming(bool fromRight);

    PresetSystem& presets() { return presets_; }
    const PresetSystem& presets() const { return presets_; }
    const engine::Engine& engine() const { return engine_; }

    // Test seams for the time-out path: the lock, so a test can hold it from another thread,
    // and a shorter wait than the one hosts get, so such a test does not take seconds.
    EngineLock& engineLockForTests() { return engineLock_; }
    void setEngineLockTimeoutForTests(std::chrono::milliseconds timeout) { lockTimeout_ = timeout; }

  private:
    using TimingValues = std::array<float, 3>;
    template <typename Sample> void processBlock(Sample** inputs, Sample** outputs, int frames);
    engine::HostTiming readHostTiming();
    engine::ResumeRequest gatherResumeRequest();
    void applyToEngine(VstInt32 index, float value);
    void showInEditor(VstInt32 index);
    TimingValues timingValues(const CoupledTiming& side);
    void storeCoupledTiming(const CoupledTiming& side, VstInt32 written, float value,
                            TimingValues hostView);

    // What the preset system asks of the effect.
    void applyParameter(int index, float value) override;
    void requestDisplayUpdate() override;
    void beginHostEdit(int index) override;
    void endHostEdit(int index) override;
    void requestMidi() override;
    void programApplicationStarts(int program) override;
    void programApplied(int program) override;
    void programNameChanged(int program) override;
    void currentProgramShown(int program) override;
    void learnButtonReleased() override;
    void forgetButtonReleased() override;
    void applyStartupDefaults() override;

    EngineLock engineLock_;
    std::chrono::milliseconds lockTimeout_ = kEngineLockTimeout;
    engine::Engine engine_;
    PresetSystem presets_;
    // Owned through the base's editor slot; kept here with its full interface.
    EffectEditor* effectEditor_ = nullptr;
};

} // namespace velmora
