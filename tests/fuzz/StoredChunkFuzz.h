// Shared body of the file loaders' fuzz targets: arbitrary bytes go to one kind's decoder as
// the file actions and the stored settings hand them over, in both byte-order variants. The
// preset system applies a decoded load only when it was accepted, so the decoder is what meets
// outside bytes; an accepted load must save as a file that decodes again to the same bytes.
#pragma once

#include "presets/ChunkBuilder.h"
#include "presets/FactoryPrograms.h"
#include "presets/StoredChunkLoader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace velmora::testing {

enum class FuzzedKind { Preset, Bank, MidiSettings };

struct FuzzContext {
    ProgramStore factory{};
    Program templateProgram = factoryProgram(0);
    ParameterMask every = ParameterMask{}.set();

    FuzzContext() {
        for (int i = 0; i < kNumPrograms; ++i)
            factory[i] = factoryProgram(i);
    }
};

// Decodes `bytes` as `kind`; when accepted, `saved` receives the chunk that holds the result.
inline chunk::LoadStatus decodeAndSave(const FuzzContext& context, FuzzedKind kind,
                                       std::span<const std::byte> bytes, chunk::StoredOrder order,
                                       std::vector<std::byte>& saved) {
    switch (kind) {
    case FuzzedKind::Preset: {
        const auto load =
            chunk::decodeStoredPreset(bytes, order, context.templateProgram, context.every);
        if (chunk::isLoaded(load.status))
            saved = chunk::buildPresetChunk(load.program, context.every);
        return load.status;
    }
    case FuzzedKind::Bank: {
        const auto load = chunk::decodeStoredBank(bytes, order, context.factory,
                                                  context.templateProgram, context.every);
        if (chunk::isLoaded(load.status))
            saved = chunk::buildBankChunk(load.programs, load.currentProgram, context.every);
        return load.status;
    }
    case FuzzedKind::MidiSettings: {
        const auto load = chunk::decodeStoredMidiSettings(bytes, order, context.every);
        std::array<float, kNumParameters> assignments{};
        for (const auto& setting : load.settings)
            assignments[static_cast<std::size_t>(setting.parameter)] = setting.value;
        if (chunk::isLoaded(load.status))
            saved = chunk::buildMidiSettingsChunk(assignments, context.every);
        return load.status;
    }
    }
    return chunk::LoadStatus::UnknownType;
}

inline void fuzzStoredChunk(FuzzedKind kind, const std::uint8_t* data, std::size_t size) {
    static const FuzzContext context;
    // Up to twice the largest file, so the size limit itself is crossed too.
    if (size > 2 * chunk::kMaxStoredChunkBytes) return;
    // A private copy, so that reading one byte past the input is caught.
    std::vector<std::byte> input(size);
    if (size > 0) std::memcpy(input.data(), data, size);

    for (const auto order : {chunk::StoredOrder::AsFound, chunk::StoredOrder::Inverted}) {
        std::vector<std::byte> saved;
        if (!chunk::isLoaded(decodeAndSave(context, kind, input, order, saved))) continue;
        std::vector<std::byte> again;
        if (!chunk::isLoaded(
                decodeAndSave(context, kind, saved, chunk::StoredOrder::AsFound, again)) ||
            again != saved)
            __builtin_trap();
    }
}

} // namespace velmora::testing
