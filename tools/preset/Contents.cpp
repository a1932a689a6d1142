#include "tools/preset/Contents.h"

#include "presets/ChunkBuilder.h"
#include "presets/ChunkFormat.h"
#include "presets/ChunkReader.h"
#include "presets/ControllerAssignments.h"
#include "presets/FactoryPrograms.h"
#include "presets/StateChunkLoader.h"
#include "presets/StoredChunkLoader.h"
#include "tools/preset/ByteReversal.h"

#include <algorithm>

namespace velmora::presettool {
namespace {

using chunk::ChunkReader;

constexpr std::size_t kTypeOffset = 4;

ParameterMask everyParameter() {
    return ParameterMask{}.set();
}

ProgramStore factoryStore() {
    ProgramStore store;
    for (int i = 0; i < kNumPrograms; ++i)
        store[i] = factoryProgram(i);
    return store;
}

std::array<float, kNumParameters> unassigned() {
    std::array<float, kNumParameters> values;
    values.fill(encodeAssignment(kNoAssignment));
    return values;
}

void applySettings(std::span<const chunk::ControllerSetting> settings, Contents& contents) {
    for (const auto& setting : settings)
        contents.assignments[static_cast<std::size_t>(setting.parameter)] = setting.value;
}

Decoded refused(std::string error) {
    return {std::nullopt, std::move(error)};
}

Decoded refused(chunk::LoadStatus status) {
    return refused(std::string(chunk::describe(status)));
}

bool isStateVersion(std::uint32_t version) {
    return version == chunk::kStateVersion1 || version == chunk::kStateVersion2;
}

Decoded decodeState(std::span<const std::byte> bytes, bool reversed) {
    const auto load =
        chunk::decodeStateChunk(bytes, factoryStore(), factoryProgram(0), everyParameter());
    if (!load.accepted) return refused("the state chunk is damaged");
    Contents contents;
    contents.kind = ContentKind::State;
    contents.programs.assign(load.programs.begin(), load.programs.end());
    contents.currentProgram = load.currentProgram;
    contents.assignments = unassigned();
    applySettings(load.controllers, contents);
    contents.layout.reversed = reversed;
    contents.layout.older = *ChunkReader(bytes, reversed).word(0) == chunk::kStateVersion1;
    return {contents, {}};
}

Decoded decodeFile(std::span<const std::byte> bytes, bool reversed) {
    const std::uint8_t type = std::to_integer<std::uint8_t>(bytes[kTypeOffset]);
    const auto order = chunk::StoredOrder::AsFound;
    const Program templateProgram = factoryProgram(0);
    Contents contents;
    contents.layout.reversed = reversed;
    if (type == chunk::kPresetType || type == chunk::kLegacyPresetType) {
        const auto load =
            chunk::decodeStoredPreset(bytes, order, templateProgram, everyParameter());
        if (!chunk::isLoaded(load.status)) return refused(load.status);
        contents.kind = ContentKind::Preset;
        contents.programs = {load.program};
        contents.layout.older = type == chunk::kLegacyPresetType;
    } else if (type == chunk::kBankType || type == chunk::kLegacyBankType) {
        const auto load = chunk::decodeStoredBank(bytes, order, factoryStore(), templateProgram,
                                                  everyParameter());
        if (!chunk::isLoaded(load.status)) return refused(load.status);
        contents.kind = ContentKind::Bank;
        contents.programs.assign(load.programs.begin(), load.programs.end());
        contents.currentProgram = load.currentProgram;
        contents.layout.older = type == chunk::kLegacyBankType;
    } else if (type == chunk::kMidiSettingsType || type == chunk::kLegacyMidiSettingsType) {
        const auto load = chunk::decodeStoredMidiSettings(bytes, order, everyParameter());
        if (!chunk::isLoaded(load.status)) return refused(load.status);
        contents.kind = ContentKind::MidiSettings;
        contents.assignments = unassigned();
        applySettings(load.settings, contents);
        contents.layout.older = type == chunk::kLegacyMidiSettingsType;
    } else {
        return refused(chunk::LoadStatus::UnknownType);
    }
    return {contents, {}};
}

} // namespace

std::string_view nameOf(ContentKind kind) {
    switch (kind) {
    case ContentKind::Preset:
        return "preset";
    case ContentKind::Bank:
        return "bank";
    case ContentKind::MidiSettings:
        return "midi-settings";
    case ContentKind::State:
        return "state";
    }
    return "";
}

std::optional<ContentKind> kindNamed(std::string_view name) {
    for (const auto kind :
         {ContentKind::Preset, ContentKind::Bank, ContentKind::MidiSettings, ContentKind::State})
        if (nameOf(kind) == name) return kind;
    return std::nullopt;
}

std::size_t maxInputBytes() {
    return std::max(chunk::kMaxStoredChunkBytes, chunk::kStateChunkCapacity);
}

// A state chunk carries its version before the ID; a file starts with the ID.
Decoded decode(std::span<const std::byte> bytes) {
    if (bytes.size() > maxInputBytes()) return refused(chunk::LoadStatus::TooLarge);
    const ChunkReader native(bytes, false);
    const auto first = native.word(0);
    const auto second = native.word(4);
    if (!first || !second) return refused(chunk::LoadStatus::TooShort);
    if (const auto reversed = chunk::byteOrderOf(*second);
        reversed && isStateVersion(*ChunkReader(bytes, *reversed).word(0)))
        return decodeState(bytes, *reversed);
    if (const auto reversed = chunk::byteOrderOf(*first)) return decodeFile(bytes, *reversed);
    return refused("not a preset, bank, MIDI-settings file or state chunk of this plug-in");
}

std::vector<std::byte> encode(const Contents& contents, bool reversed) {
    const ParameterMask all = everyParameter();
    ProgramStore store{};
    std::copy_n(contents.programs.begin(),
                std::min<std::size_t>(contents.programs.size(), kNumPrograms), store.begin());
    std::vector<std::byte> bytes;
    switch (contents.kind) {
    case ContentKind::Preset:
        bytes = chunk::buildPresetChunk(store[0], all);
        break;
    case ContentKind::Bank:
        bytes = chunk::buildBankChunk(store, contents.currentProgram, all);
        break;
    case ContentKind::MidiSettings:
        bytes = chunk::buildMidiSettingsChunk(contents.assignments, all);
        break;
    case ContentKind::State:
        bytes.resize(chunk::kStateChunkCapacity);
        bytes.resize(chunk::writeStateChunk(bytes, store, contents.currentProgram,
                                            contents.assignments, all));
        break;
    }
    if (reversed) reverseFields(bytes, contents.kind == ContentKind::State);
    return bytes;
}

} // namespace velmora::presettool
