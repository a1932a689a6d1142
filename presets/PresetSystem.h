// The preset system: 61 programs, the template every load starts from, MIDI controller learning
// and routing, and the state chunk the host saves with its projects. The effect owns one and
// forwards the host's program, chunk and MIDI calls to it; it reaches the effect only through
// PresetSystemOwner.
#pragma once

#include "presets/ChunkFormat.h"
#include "presets/ChunkLoader.h"
#include "presets/ChunkReader.h"
#include "presets/ControllerAssignments.h"
#include "presets/LoadStatus.h"
#include "presets/PresetSystemOwner.h"
#include "presets/ProgramStore.h"
#include "presets/StoredChunkLoader.h"

#include <array>
#include <atomic>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velmora {

class PresetSystem {
  public:
    explicit PresetSystem(PresetSystemOwner& owner);
    PresetSystem(const PresetSystem&) = delete;
    PresetSystem& operator=(const PresetSystem&) = delete;

    // Host-facing operations. The host sees a single program; switching happens inside.
    void setProgramName(const char* name);
    void getProgramName(char* name) const;
    bool getProgramNameIndexed(int index, char* text) const;
    // The state chunk: programs, names, current program and controller assignments. The bytes
    // stay valid until the next save; an empty span means nothing could be written.
    std::span<const std::byte> saveState();
    // A restore either applies completely or, when rejected, changes nothing.
    bool restoreState(std::span<const std::byte> bytes);
    // One Control Change from the host (any channel): learned, then routed to its parameter.
    void receiveControlChange(int controller, int value);
    // Processing resumes: MIDI is asked for again.
    void resume();
    // The preset side of a parameter write: 0..59 go into the current program, 60..119 set
    // controller assignments.
    void setParameter(int index, float value);
    float getParameter(int index) const;
    // Stores a value of 0..59 in the current program without the learning and forgetting a
    // write drives: for values the effect changed beside the one written.
    void storeInCurrentProgram(int index, float value);

    // Program operations.
    int getCurrentProgramIndex() const { return currentProgram_.load(std::memory_order_relaxed); }
    void setCurrentProgram(int index);
    void setCurrentProgramName(const char* name);
    void replaceProgram(int index, const Program& program);
    void resetProgramToTemplate(int index);
    // Takes program 0 as the template every load starts from.
    void captureTemplate();
    void fillFactoryPrograms();
    std::uint32_t uniqueId() const;

    // MIDI controller operations.
    void assignController(int parameter, int controller);
    void unassignParameter(int parameter);
    void unassignController(int controller);
    int controllerOfParameter(int parameter) const;
    int parameterOfController(int controller) const;
    void clearAllControllerAssignments();
    void startLearning();
    void stopLearning();
    void setLearnTarget(int index);
    void startForgetting();
    void stopForgetting();

    bool isApplyingProgram() const { return applying_.load(std::memory_order_relaxed); }
    bool isLearning() const { return learning_.load(std::memory_order_relaxed); }
    bool isForgetting() const { return forgetting_.load(std::memory_order_relaxed); }
    int learnTarget() const { return learnTarget_.load(std::memory_order_relaxed); }

    // Chunk builders for files and stored settings; each returns a new block.
    std::vector<std::byte> buildPresetChunk() const;
    std::vector<std::byte> buildBankChunk() const;
    std::vector<std::byte> buildMidiSettingsChunk() const;

    // Loaders of a chunk whose 41-byte header has been read (its words in native order);
    // `records` holds the bytes after it, read byte-reversed when `reversed`. A load either
    // applies completely or, when rejected, changes nothing; they answer whether it applied.
    bool loadPresetChunk(std::span<const std::byte> records, const chunk::ChunkHeader& header,
                         bool reversed);
    bool loadBankChunk(std::span<const std::byte> records, const chunk::ChunkHeader& header,
                       bool reversed);
    bool loadMidiSettingsChunk(std::span<const std::byte> records, const chunk::ChunkHeader& header,
                               bool reversed);

    // Files: the whole bytes of one preset, bank or MIDI-settings file in either layout and
    // byte order, read with chunk::kMaxStoredChunkBytes as the cap. A preset loads into the
    // current program; a bank replaces the programs and makes program 0 current. A refused load
    // changes nothing and names its reason.
    chunk::LoadStatus loadPresetFile(std::span<const std::byte> bytes, chunk::StoredOrder order);
    chunk::LoadStatus loadBankFile(std::span<const std::byte> bytes, chunk::StoredOrder order);
    chunk::LoadStatus loadMidiSettingsFile(std::span<const std::byte> bytes,
                                           chunk::StoredOrder order);
    // Stored defaults and memories hold the same bytes as files, are read in the order their ID
    // shows, and a stored bank makes the program its header names current.
    chunk::LoadStatus loadStoredPreset(std::span<const std::byte> bytes);
    chunk::LoadStatus loadStoredBank(std::span<const std::byte> bytes);
    chunk::LoadStatus loadStoredMidiSettings(std::span<const std::byte> bytes);

    // Direct access for the preset bar's older file layouts and the editor.
    const ProgramStore& programs() const { return programs_; }
    const Program& templateProgram() const { return template_; }

  private:
    chunk::LoadStatus loadBank(std::span<const std::byte> bytes, chunk::StoredOrder order,
                               bool selectFirstProgram);
    void applyPreset(const Program& program);
    void applyControllerSettings(std::span<const chunk::ControllerSetting> settings);
    void applyPrograms(const ProgramStore& programs, const std::bitset<kNumPrograms>& renamed,
                       int current);
    std::array<float, kNumParameters> reportedAssignments() const;

    PresetSystemOwner& owner_;
    ProgramStore programs_{};
    Program template_{};
    std::atomic<int> currentProgram_{0};
    std::atomic<bool> applying_{false};
    ControllerAssignments assignments_;
    std::atomic<bool> learning_{false};
    std::atomic<bool> forgetting_{false};
    std::atomic<int> learnTarget_{kNoAssignment};
    // saveState hands out a view of this block; it stays valid until the next save.
    std::vector<std::byte> stateChunk_;
};

} // namespace velmora
