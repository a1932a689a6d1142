// A concrete preset-system effect without an engine, for testing the preset system alone. Its
// setParameter follows the effect's frame (preset side unless a program is being applied) and
// records every call; its host callback counts the notifications the preset system sends.
#pragma once

#include "presets/ChunkFormat.h"
#include "presets/PresetSystemEffect.h"

#include <cstddef>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

namespace velmora::testing {

class PresetTestEffect : public CPresetSystemEffect {
  public:
    PresetTestEffect() : CPresetSystemEffect(&host) {}

    void processReplacing(float**, float**, VstInt32) override {}
    bool isParameterExcludedFromSave(int) const override { return false; }
    bool isParameterExcludedFromLoad(int) const override { return false; }

    void setParameter(VstInt32 index, float value) override {
        parameterCalls.emplace_back(index, value);
        if (!isApplyingProgram()) CPresetSystemEffect::setParameter(index, value);
    }

    // The whole state as bytes: the state chunk (programs, names, current program, reported
    // assignments) followed by both controller tables.
    std::vector<std::byte> snapshot() {
        void* data = nullptr;
        const VstInt32 size = getChunk(&data, false);
        const auto* bytes = static_cast<const std::byte*>(data);
        std::vector<std::byte> state(bytes, bytes + size);
        const auto append = [&](int value) {
            const auto* raw = reinterpret_cast<const std::byte*>(&value);
            state.insert(state.end(), raw, raw + sizeof value);
        };
        for (int p = 0; p < kNumParameters; ++p)
            append(controllerOfParameter(p));
        for (int c = 0; c < 128; ++c)
            append(parameterOfController(c));
        return state;
    }

    std::vector<std::byte> stateChunk() {
        void* data = nullptr;
        const VstInt32 size = getChunk(&data, false);
        const auto* bytes = static_cast<const std::byte*>(data);
        return {bytes, bytes + size};
    }

    VstInt32 restore(std::vector<std::byte> chunk) {
        return setChunk(chunk.data(), static_cast<VstInt32>(chunk.size()), false);
    }

    std::vector<std::pair<VstInt32, float>> parameterCalls;
    bool hostSendsMidi = false;
    bool askedForMidi = false;
    int updateDisplayCount = 0;
    int editBrackets = 0;
    int learnButtonResets = 0;
    int forgetButtonResets = 0;
    std::vector<int> renamedPrograms;

  protected:
    void learnButtonReleased() override { ++learnButtonResets; }
    void forgetButtonReleased() override { ++forgetButtonResets; }
    void programNameChanged(int program) override { renamedPrograms.push_back(program); }

  private:
    static VstIntPtr VST_CALL host(AEffect* record, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                   float) {
        auto* effect =
            record ? dynamic_cast<PresetTestEffect*>(static_cast<AudioEffect*>(record->object))
                   : nullptr;
        if (opcode == audioMasterVersion) return kVstVersion;
        if (effect == nullptr) return 0;
        switch (opcode) {
        case audioMasterWantMidi:
            effect->askedForMidi = true;
            return 1;
        case audioMasterCanDo:
            return effect->hostSendsMidi &&
                   std::strcmp(static_cast<const char*>(ptr), "sendVstMidiEvent") == 0;
        case audioMasterUpdateDisplay:
            ++effect->updateDisplayCount;
            return 1;
        case audioMasterBeginEdit:
            ++effect->editBrackets;
            return 1;
        default:
            return 0;
        }
    }
};

// Little-endian field access for building and damaging chunks in tests.
inline void putWord(std::vector<std::byte>& chunk, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        chunk[offset + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFFu);
}

inline std::uint32_t wordAt(std::span<const std::byte> chunk, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::to_integer<std::uint32_t>(chunk[offset + i]) << (8 * i);
    return value;
}

inline void putFloat(std::vector<std::byte>& chunk, std::size_t offset, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    putWord(chunk, offset, bits);
}

} // namespace velmora::testing
