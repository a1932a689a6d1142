#include "presets/StateChunkLoader.h"

#include "presets/ChunkFormat.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace velmora::chunk {
namespace {

StateLoad rejected() {
    return StateLoad{};
}

StateLoad decodeVersion2(const ChunkReader& chunk, const ProgramStore& before,
                         const Program& templateProgram, const ParameterMask& loaded) {
    const auto header = readHeader(chunk, kStatePrefixBytes);
    const std::size_t recordsStart = kStatePrefixBytes + kHeaderBytes;
    if (!header || header->recordCount < 0) return rejected();
    const auto records = chunk.window(recordsStart, chunk.size() - recordsStart);
    if (!records) return rejected();

    auto midi = decodeMidiSettingsRecords(*records, *header, loaded);
    auto bank = decodeBankRecords(*records, *header, before, templateProgram, loaded);
    if (midi.status != LoadStatus::Loaded || bank.status != LoadStatus::Loaded) return rejected();

    StateLoad load;
    load.accepted = true;
    load.controllers = std::move(midi.settings);
    load.programs = bank.programs;
    load.renamed = bank.renamed;
    load.currentProgram = bank.currentProgram;
    return load;
}

// How the program blocks of a version-1 chunk are laid out, derived from its size.
struct LegacyLayout {
    std::size_t programsRead = 0;
    std::size_t stride = 0;     // bytes from one block to the next
    std::size_t valuesUsed = 0; // per program, and from the controller table
};

std::optional<LegacyLayout> legacyLayout(std::size_t byteSize, std::int32_t storedPrograms) {
    LegacyLayout layout;
    layout.valuesUsed = kNumParameters;
    if (storedPrograms <= 0) return layout;
    const std::size_t count = static_cast<std::size_t>(storedPrograms);
    const std::size_t blockBytes = (byteSize - kLegacyHeaderBytes) / count;
    // Blocks smaller than a name cannot hold the programs the header claims.
    if (blockBytes < kProgramNameBytes) return std::nullopt;
    const std::size_t valuesPerBlock = (blockBytes - kProgramNameBytes) / 4;
    layout.programsRead = std::min<std::size_t>(count, kNumPrograms);
    layout.stride = kProgramNameBytes + 4 * valuesPerBlock;
    layout.valuesUsed = std::min<std::size_t>(valuesPerBlock, kNumParameters);
    return layout;
}

bool readLegacyProgram(const ChunkReader& chunk, std::size_t offset, std::size_t values,
                       const ParameterMask& loaded, Program& program) {
    const auto name = chunk.bytes(offset, kProgramNameBytes);
    if (!name) return false;
    program.setNameBytes(name->first<kProgramNameBytes>());
    for (std::size_t j = 0; j < values; ++j) {
        if (!loaded.test(j)) continue;
        const auto value = chunk.float32(offset + kProgramNameBytes + 4 * j);
        if (!value || !isNormalised(*value)) return false;
        program.values[j] = *value;
    }
    return true;
}

// The table is read only when the chunk holds all of it; values outside 0..1 are skipped.
std::vector<ControllerSetting> readLegacyControllers(const ChunkReader& chunk, std::size_t values,
                                                     const ParameterMask& loaded) {
    std::vector<ControllerSetting> settings;
    if (!chunk.contains(kLegacyControllerOffset, kNumParameters * 4)) return settings;
    for (std::size_t j = 0; j < values; ++j) {
        if (!loaded.test(j)) continue;
        const float value = *chunk.float32(kLegacyControllerOffset + 4 * j);
        if (isNormalised(value)) settings.push_back({static_cast<int>(j), value});
    }
    return settings;
}

StateLoad decodeVersion1(const ChunkReader& chunk, const ProgramStore& before,
                         const Program& templateProgram, const ParameterMask& loaded) {
    if (!chunk.contains(0, kLegacyHeaderBytes)) return rejected();
    const std::int32_t storedPrograms = *chunk.int32(8);
    const std::int32_t current = *chunk.int32(12);
    const auto layout = legacyLayout(chunk.size(), storedPrograms);
    if (!layout) return rejected();

    StateLoad load;
    load.programs = before;
    for (std::size_t i = 0; i < layout->programsRead; ++i) {
        Program program = templateProgram;
        if (!readLegacyProgram(chunk, kLegacyHeaderBytes + i * layout->stride, layout->valuesUsed,
                               loaded, program))
            return rejected();
        load.programs[i] = program;
        load.renamed.set(i);
    }
    load.controllers = readLegacyControllers(chunk, layout->valuesUsed, loaded);
    load.currentProgram = isProgramIndex(current) ? current : 0;
    load.accepted = true;
    return load;
}

} // namespace

StateLoad decodeStateChunk(std::span<const std::byte> data, const ProgramStore& before,
                           const Program& templateProgram, const ParameterMask& loaded) {
    const ChunkReader native(data, false);
    const auto storedId = native.word(4);
    if (!storedId) return rejected();
    const auto reversed = byteOrderOf(*storedId);
    if (!reversed) return rejected();
    const ChunkReader chunk(data, *reversed);
    const std::uint32_t version = *chunk.word(0);
    if (version == kStateVersion2) return decodeVersion2(chunk, before, templateProgram, loaded);
    if (version == kStateVersion1) return decodeVersion1(chunk, before, templateProgram, loaded);
    return rejected();
}

} // namespace velmora::chunk
