// The preset system under test with a recording fake of its owner. Parameter writes follow the
// effect's frame (preset side unless a program is being applied) and are recorded; the host
// calls and notifications the preset system sends are counted.
#pragma once

#include "plugin/ControlChanges.h"
#include "presets/ChunkFormat.h"
#include "presets/PresetSystem.h"
#include "presets/PresetSystemOwner.h"

#include <cstddef>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

namespace velmora::testing {

class PresetRig final : public PresetSystemOwner, public PresetSystem {
  public:
    PresetRig() : PresetSystem(static_cast<PresetSystemOwner&>(*this)) {}

    // The effect's parameter write, as the host and the preset system make it.
    void setParameter(int index, float value) {
        parameterCalls.emplace_back(index, value);
        if (!isApplyingProgram()) PresetSystem::setParameter(index, value);
    }

    // MIDI as the effect receives it from the host.
    VstInt32 processEvents(VstEvents* events) { return routeControlChanges(events, *this); }

    // The whole state as bytes: the state chunk (programs, names, current program, reported
    // assignments) followed by both controller tables.
    std::vector<std::byte> snapshot() {
        std::vector<std::byte> state = stateChunk();
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
        const auto state = saveState();
        return {state.begin(), state.end()};
    }

    // 0 when the chunk was taken, -1 when rejected, as the host sees it.
    int restore(std::vector<std::byte> chunk) { return restoreState(chunk) ? 0 : -1; }

    std::vector<std::pair<int, float>> parameterCalls;
    bool askedForMidi = false;
    int updateDisplayCount = 0;
    int editBrackets = 0;
    int learnButtonResets = 0;
    int forgetButtonResets = 0;
    std::vector<int> renamedPrograms;

  private:
    void applyParameter(int index, float value) override { setParameter(index, value); }
    void requestDisplayUpdate() override { ++updateDisplayCount; }
    void beginHostEdit(int) override { ++editBrackets; }
    void endHostEdit(int) override {}
    void requestMidi() override { askedForMidi = true; }
    void learnButtonReleased() override { ++learnButtonResets; }
    void forgetButtonReleased() override { ++forgetButtonResets; }
    void programNameChanged(int program) override { renamedPrograms.push_back(program); }
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
