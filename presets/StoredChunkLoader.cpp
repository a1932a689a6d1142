#include "presets/StoredChunkLoader.h"

#include "presets/ChunkReader.h"

#include <algorithm>
#include <cstdint>

namespace velmora::chunk {
namespace {

constexpr std::size_t kFloatBytes = 4;
constexpr std::size_t kTypeOffset = 4;

// Any of the results below, refused for `status`.
template <class Load> Load refused(LoadStatus status) {
    Load load;
    load.status = status;
    return load;
}

// The stored bytes in the byte order their ID shows, and the type byte after the ID.
struct Opened {
    LoadStatus status = LoadStatus::Loaded;
    ChunkReader reader{{}, false};
    std::uint8_t type = 0;
};

Opened open(std::span<const std::byte> stored, StoredOrder order) {
    if (stored.size() > kMaxStoredChunkBytes) return refused<Opened>(LoadStatus::TooLarge);
    if (stored.size() < kLegacyPrefixBytes) return refused<Opened>(LoadStatus::TooShort);
    const auto found = byteOrderOf(*ChunkReader(stored, false).word(0));
    if (!found) return refused<Opened>(LoadStatus::ForeignId);
    const bool reversed = order == StoredOrder::Inverted ? !*found : *found;
    const ChunkReader reader(stored, reversed);
    return {LoadStatus::Loaded, reader, *reader.byte(kTypeOffset)};
}

// The header of the current layout and a reader over exactly the records its data size
// announces; a size that reaches past the stored bytes is refused, not trusted.
struct Records {
    LoadStatus status = LoadStatus::Loaded;
    ChunkHeader header;
    ChunkReader reader{{}, false};
};

Records currentRecords(const ChunkReader& stored) {
    const auto header = readHeader(stored, 0);
    if (!header) return refused<Records>(LoadStatus::Truncated);
    if (header->dataSize < 0) return refused<Records>(LoadStatus::Truncated);
    const auto records = stored.window(kHeaderBytes, static_cast<std::size_t>(header->dataSize));
    if (!records) return refused<Records>(LoadStatus::Truncated);
    return {LoadStatus::Loaded, *header, *records};
}

// Reads `count` floats from `offset` into the first values of `program`, each in 0..1.
LoadStatus readLegacyValues(const ChunkReader& stored, std::size_t offset, std::size_t count,
                            const ParameterMask& loaded, Program& program) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!loaded.test(i)) continue;
        const auto value = stored.float32(offset + kFloatBytes * i);
        if (!value) return LoadStatus::Truncated;
        if (!isNormalised(*value)) return LoadStatus::ValueOutOfRange;
        program.values[i] = *value;
    }
    return LoadStatus::Loaded;
}

// A 24-byte name and then `values` floats at `offset`, over the template.
LoadStatus readLegacyProgram(const ChunkReader& stored, std::size_t offset, std::size_t values,
                             const ParameterMask& loaded, Program& program) {
    const auto name = stored.bytes(offset, kProgramNameBytes);
    if (!name) return LoadStatus::Truncated;
    program.setNameBytes(name->first<kProgramNameBytes>());
    return readLegacyValues(stored, offset + kProgramNameBytes, values, loaded, program);
}

// Older preset: a name, then values to the end of the data.
PresetLoad decodeLegacyPreset(const ChunkReader& stored, const Program& templateProgram,
                              const ParameterMask& loaded) {
    PresetLoad load;
    load.program = templateProgram;
    if (stored.size() < kLegacyPrefixBytes + kProgramNameBytes) {
        load.status = LoadStatus::Truncated;
        return load;
    }
    const std::size_t storedValues =
        (stored.size() - kLegacyPrefixBytes - kProgramNameBytes) / kFloatBytes;
    const std::size_t values = std::min<std::size_t>(storedValues, kNumParameters);
    load.status = readLegacyProgram(stored, kLegacyPrefixBytes, values, loaded, load.program);
    return load;
}

// Older bank: 61 blocks of equal length, each a name and that block's values.
BankLoad decodeLegacyBank(const ChunkReader& stored, const Program& templateProgram,
                          const ParameterMask& loaded) {
    BankLoad load;
    const std::size_t blockBytes = (stored.size() - kLegacyPrefixBytes) / kNumPrograms;
    if (blockBytes < kProgramNameBytes) {
        load.status = LoadStatus::Truncated;
        return load;
    }
    const std::size_t storedValues = (blockBytes - kProgramNameBytes) / kFloatBytes;
    const std::size_t stride = kProgramNameBytes + kFloatBytes * storedValues;
    const std::size_t values = std::min<std::size_t>(storedValues, kNumParameters);
    for (std::size_t i = 0; i < kNumPrograms; ++i) {
        load.programs[i] = templateProgram;
        load.status = readLegacyProgram(stored, kLegacyPrefixBytes + i * stride, values, loaded,
                                        load.programs[i]);
        if (!isLoaded(load.status)) return load;
    }
    load.renamed.set();
    load.currentProgram = 0;
    return load;
}

// Older MIDI settings: one assignment value per parameter to the end of the data. Unlike the
// records of the current layout, a bare value cannot be skipped alone, so one outside 0..1
// refuses the whole load.
MidiSettingsLoad decodeLegacyMidiSettings(const ChunkReader& stored, const ParameterMask& loaded) {
    MidiSettingsLoad load;
    const std::size_t storedValues = (stored.size() - kLegacyPrefixBytes) / kFloatBytes;
    const std::size_t values = std::min<std::size_t>(storedValues, kNumParameters);
    if (values == 0) {
        load.status = LoadStatus::Empty;
        return load;
    }
    for (std::size_t i = 0; i < values; ++i) {
        if (!loaded.test(i)) continue;
        const float value = *stored.float32(kLegacyPrefixBytes + kFloatBytes * i);
        if (!isNormalised(value)) {
            load.status = LoadStatus::ValueOutOfRange;
            load.settings.clear();
            return load;
        }
        load.settings.push_back({static_cast<int>(i), value});
    }
    load.status = LoadStatus::Loaded;
    return load;
}

} // namespace

PresetLoad decodeStoredPreset(std::span<const std::byte> stored, StoredOrder order,
                              const Program& templateProgram, const ParameterMask& loaded) {
    const Opened opened = open(stored, order);
    if (!isLoaded(opened.status)) return refused<PresetLoad>(opened.status);
    if (opened.type == kLegacyPresetType)
        return decodeLegacyPreset(opened.reader, templateProgram, loaded);
    if (opened.type != kPresetType) return refused<PresetLoad>(LoadStatus::UnknownType);
    const Records records = currentRecords(opened.reader);
    if (!isLoaded(records.status)) return refused<PresetLoad>(records.status);
    return decodePresetRecords(records.reader, records.header, templateProgram, loaded);
}

BankLoad decodeStoredBank(std::span<const std::byte> stored, StoredOrder order,
                          const ProgramStore& before, const Program& templateProgram,
                          const ParameterMask& loaded) {
    const Opened opened = open(stored, order);
    if (!isLoaded(opened.status)) return refused<BankLoad>(opened.status);
    if (opened.type == kLegacyBankType)
        return decodeLegacyBank(opened.reader, templateProgram, loaded);
    if (opened.type != kBankType) return refused<BankLoad>(LoadStatus::UnknownType);
    const Records records = currentRecords(opened.reader);
    if (!isLoaded(records.status)) return refused<BankLoad>(records.status);
    return decodeBankRecords(records.reader, records.header, before, templateProgram, loaded);
}

MidiSettingsLoad decodeStoredMidiSettings(std::span<const std::byte> stored, StoredOrder order,
                                          const ParameterMask& loaded) {
    const Opened opened = open(stored, order);
    if (!isLoaded(opened.status)) return refused<MidiSettingsLoad>(opened.status);
    if (opened.type == kLegacyMidiSettingsType)
        return decodeLegacyMidiSettings(opened.reader, loaded);
    if (opened.type != kMidiSettingsType) return refused<MidiSettingsLoad>(LoadStatus::UnknownType);
    const Records records = currentRecords(opened.reader);
    if (!isLoaded(records.status)) return refused<MidiSettingsLoad>(records.status);
    return decodeMidiSettingsRecords(records.reader, records.header, loaded);
}

} // namespace velmora::chunk
