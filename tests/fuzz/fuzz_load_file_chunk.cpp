// Feeds arbitrary bytes to the preset, bank and MIDI-settings chunk loaders of a header already
// read: the 41-byte header is read in the byte order its ID shows, and the records after it go
// to the loader its type byte names. (Whole files go through the fuzz_*_file targets.)
#include "presets/ChunkFormat.h"
#include "tests/presets/OwnedPresetSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using namespace velmora;

using testing::OwnedPresetSystem;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1u << 20) return 0;
    std::vector<std::byte> input(size);
    if (size > 0) std::memcpy(input.data(), data, size);
    const chunk::ChunkReader native(input, false);
    const auto storedId = native.word(0);
    if (!storedId) return 0;
    const auto reversed = chunk::byteOrderOf(*storedId);
    if (!reversed) return 0;
    const auto header = chunk::readHeader(chunk::ChunkReader(input, *reversed), 0);
    if (!header) return 0;
    const std::span records = std::span<const std::byte>(input).subspan(chunk::kHeaderBytes);

    OwnedPresetSystem presets;
    switch (header->type) {
    case chunk::kPresetType:
        presets.loadPresetChunk(records, *header, *reversed);
        break;
    case chunk::kBankType:
        presets.loadBankChunk(records, *header, *reversed);
        break;
    case chunk::kMidiSettingsType:
        presets.loadMidiSettingsChunk(records, *header, *reversed);
        break;
    default:
        break;
    }
    // Whatever loaded must save as chunks that load again.
    const auto bank = presets.buildBankChunk();
    const auto midi = presets.buildMidiSettingsChunk();
    for (const auto* built : {&bank, &midi}) {
        const auto again = chunk::readHeader(chunk::ChunkReader(*built, false), 0);
        const std::span rest = std::span<const std::byte>(*built).subspan(chunk::kHeaderBytes);
        OwnedPresetSystem copy;
        const bool loaded = built == &bank ? copy.loadBankChunk(rest, *again, false)
                                           : copy.loadMidiSettingsChunk(rest, *again, false);
        if (!loaded) __builtin_trap();
    }
    return 0;
}
