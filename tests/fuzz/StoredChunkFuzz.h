// Shared body of the file loaders' fuzz targets: arbitrary bytes go to one kind's load as the
// file actions hand them over, in both byte-order variants. A refused load must leave the
// whole state as it was; an accepted one must save as a file that loads again to the same
// bytes.
#pragma once

#include "presets/StoredChunkLoader.h"
#include "tests/presets/OwnedPresetSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace velmora::testing {

enum class FuzzedKind { Preset, Bank, MidiSettings };

inline std::vector<std::byte> wholeState(OwnedPresetSystem& presets) {
    const auto chunk = presets.saveState();
    std::vector<std::byte> state(chunk.begin(), chunk.end());
    const auto append = [&](int value) {
        const auto* raw = reinterpret_cast<const std::byte*>(&value);
        state.insert(state.end(), raw, raw + sizeof value);
    };
    for (int p = 0; p < kNumParameters; ++p)
        append(presets.controllerOfParameter(p));
    for (int c = 0; c < 128; ++c)
        append(presets.parameterOfController(c));
    append(presets.getCurrentProgramIndex());
    return state;
}

inline chunk::LoadStatus loadFile(OwnedPresetSystem& presets, FuzzedKind kind,
                                  std::span<const std::byte> bytes, chunk::StoredOrder order) {
    switch (kind) {
    case FuzzedKind::Preset:
        return presets.loadPresetFile(bytes, order);
    case FuzzedKind::Bank:
        return presets.loadBankFile(bytes, order);
    case FuzzedKind::MidiSettings:
        return presets.loadMidiSettingsFile(bytes, order);
    }
    return chunk::LoadStatus::UnknownType;
}

inline std::vector<std::byte> saveFile(const OwnedPresetSystem& presets, FuzzedKind kind) {
    switch (kind) {
    case FuzzedKind::Preset:
        return presets.buildPresetChunk();
    case FuzzedKind::Bank:
        return presets.buildBankChunk();
    case FuzzedKind::MidiSettings:
        return presets.buildMidiSettingsChunk();
    }
    return {};
}

inline void fuzzStoredChunk(FuzzedKind kind, const std::uint8_t* data, std::size_t size) {
    // Up to twice the largest file, so the size limit itself is crossed too.
    if (size > 2 * chunk::kMaxStoredChunkBytes) return;
    // A private copy, so that reading one byte past the input is caught.
    std::vector<std::byte> input(size);
    if (size > 0) std::memcpy(input.data(), data, size);

    for (const auto order : {chunk::StoredOrder::AsFound, chunk::StoredOrder::Inverted}) {
        OwnedPresetSystem presets;
        const auto before = wholeState(presets);
        if (!chunk::isLoaded(loadFile(presets, kind, input, order))) {
            if (wholeState(presets) != before) __builtin_trap();
            continue;
        }
        const auto saved = saveFile(presets, kind);
        OwnedPresetSystem again;
        if (!chunk::isLoaded(loadFile(again, kind, saved, chunk::StoredOrder::AsFound)) ||
            saveFile(again, kind) != saved)
            __builtin_trap();
    }
}

} // namespace velmora::testing
