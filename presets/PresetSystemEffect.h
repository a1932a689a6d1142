// The preset system's effect base: 61 programs, the template every load starts from, MIDI
// controller learning and routing, and the state chunk the host saves with its projects. The
// concrete effect derives from it and supplies the parameter writes that reach the engine.
#pragma once

#include "presets/ChunkFormat.h"
#include "presets/ChunkLoader.h"
#include "presets/ChunkReader.h"
#include "presets/ControllerAssignments.h"
#include "presets/ProgramStore.h"
#include "vst2/AudioEffectX.h"

#include <array>
#include <atomic>
#include <bitset>
#include <cstddef>
#include <span>
#include <vector>

namespace velmora {

class CPresetSystemEffect : public AudioEffectX {
  public:
    explicit CPresetSystemEffect(audioMasterCallback audioMaster);

    // Host-facing operations. The host sees a single program; switching happens inside.
    VstInt32 getProgram() override { return 0; }
    void setProgram(VstInt32) override {}
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;
    VstInt32 processEvents(VstEvents* events) override;
    VstInt32 canDo(char* text) override;
    void resume() override;
    // The preset side of a parameter write: 0..59 go into the current program, 60..119 set
    // controller assignments.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

    // Program operations.
    virtual int getCurrentProgramIndex() const;
    virtual void setCurrentProgram(int index);
    virtual void setCurrentProgramName(const char* name);

    // MIDI controller operations.
    virtual void assignController(int parameter, int controller);
    virtual void unassignParameter(int parameter);
    virtual void unassignController(int controller);
    virtual int controllerOfParameter(int parameter) const;
    virtual int parameterOfController(int controller) const;
    virtual void startLearning();
    virtual void stopLearning();
    virtual void setLearnTarget(int index);
    virtual void startForgetting();
    virtual void stopForgetting();

    virtual VstInt32 getUniqueId() const;
    virtual void resetProgramToTemplate(int index);
    virtual bool isParameterExcludedFromSave(int index) const = 0;
    virtual bool isParameterExcludedFromLoad(int index) const = 0;
    virtual void captureTemplate();
    virtual void fillFactoryPrograms();
    virtual void clearAllControllerAssignments();

    bool isApplyingProgram() const { return applying_.load(std::memory_order_relaxed); }
    bool isLearning() const { return learning_.load(std::memory_order_relaxed); }
    bool isForgetting() const { return forgetting_.load(std::memory_order_relaxed); }
    int learnTarget() const { return learnTarget_.load(std::memory_order_relaxed); }

    // Chunk builders for files and stored settings; each returns a new block.
    std::vector<std::byte> buildPresetChunk() const;
    std::vector<std::byte> buildBankChunk() const;
    std::vector<std::byte> buildMidiSettingsChunk();

    // Loaders of a chunk whose 41-byte header has been read (its words in native order);
    // `records` holds the bytes after it, read byte-reversed when `reversed`. A load either
    // applies completely or, when rejected, changes nothing; they answer whether it applied.
    bool loadPresetChunk(std::span<const std::byte> records, const chunk::ChunkHeader& header,
                         bool reversed);
    bool loadBankChunk(std::span<const std::byte> records, const chunk::ChunkHeader& header,
                       bool reversed);
    bool loadMidiSettingsChunk(std::span<const std::byte> records, const chunk::ChunkHeader& header,
                               bool reversed);

    // Direct access for the preset bar's older file layouts and the editor.
    const ProgramStore& programs() const { return programs_; }
    const Program& templateProgram() const { return template_; }
    void replaceProgram(int index, const Program& program);
    ParameterMask savedParameters() const;
    ParameterMask loadedParameters() const;

  protected:
    // Editor notifications; they do nothing until an editor overrides them.
    // A program's name changed: its program-menu entry (and the name field when current).
    virtual void programNameChanged(int /*program*/) {}
    // A load made this program current: menu selection and name field follow.
    virtual void currentProgramShown(int /*program*/) {}
    // Learning or forgetting ended: the matching button goes back to off.
    virtual void learnButtonReleased() {}
    virtual void forgetButtonReleased() {}
    // The template was taken: the editor applies the stored start-up defaults.
    virtual void applyStartupDefaults() {}

  private:
    void routeControlChange(int controller, int value);
    void applyControllerSettings(std::span<const chunk::ControllerSetting> settings);
    void applyPrograms(const ProgramStore& programs, const std::bitset<kNumPrograms>& renamed,
                       int current);
    std::array<float, kNumParameters> reportedAssignments();

    ProgramStore programs_{};
    Program template_{};
    std::atomic<int> currentProgram_{0};
    std::atomic<bool> applying_{false};
    ControllerAssignments assignments_;
    std::atomic<bool> learning_{false};
    std::atomic<bool> forgetting_{false};
    std::atomic<int> learnTarget_{kNoAssignment};
    // getChunk hands the host a pointer into this block; it stays valid until the next call.
    std::vector<std::byte> stateChunk_;
};

} // namespace velmora
