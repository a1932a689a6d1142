#include "presets/ChunkLoader.h"

#include <cstdint>
#include <optional>

namespace velmora::chunk {
namespace {

struct Record {
    std::int32_t type;
    std::int32_t program;
    ChunkReader payload;
};

enum class Visit { Continue, Reject };

// Walks `count` records in order. Answers false when a record's head or payload does not lie
// wholly inside the data or its payload size is negative, or when the visitor rejects one.
template <class Visitor>
bool walkRecords(const ChunkReader& records, std::int32_t count, Visitor&& visit) {
    std::size_t offset = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const auto type = records.int32(offset);
        const auto payloadSize = records.int32(offset + 4);
        const auto program = records.int32(offset + 8);
        if (!type || !payloadSize || !program || *payloadSize < 0) return false;
        const auto payload =
            records.window(offset + kRecordHeadBytes, static_cast<std::size_t>(*payloadSize));
        if (!payload) return false;
        if (visit(Record{*type, *program, *payload}) == Visit::Reject) return false;
        offset += kRecordHeadBytes + static_cast<std::size_t>(*payloadSize);
    }
    return true;
}

bool readName(const ChunkReader& payload, Program& program) {
    const auto bytes = payload.bytes(0, kProgramNameBytes);
    if (!bytes) return false;
    for (std::size_t i = 0; i < program.name.size(); ++i)
        program.name[i] = static_cast<char>((*bytes)[i]);
    return true;
}

struct IndexedValue {
    std::int32_t parameter;
    float value;
};

std::optional<IndexedValue> readIndexedValue(const ChunkReader& payload) {
    const auto parameter = payload.int32(kValueIndexOffset);
    const auto value = payload.float32(kValueOffset);
    if (!parameter || !value) return std::nullopt;
    return IndexedValue{*parameter, *value};
}

bool usesParameter(std::int32_t parameter, const ParameterMask& loaded) {
    return isParameterIndex(parameter) && loaded.test(static_cast<std::size_t>(parameter));
}

// Stores a value record into `program`; rejects a short payload or a value outside 0..1.
Visit storeValue(const ChunkReader& payload, Program& program, const ParameterMask& loaded) {
    const auto entry = readIndexedValue(payload);
    if (!entry) return Visit::Reject;
    if (!usesParameter(entry->parameter, loaded)) return Visit::Continue;
    if (!isNormalised(entry->value)) return Visit::Reject;
    program.values[static_cast<std::size_t>(entry->parameter)] = entry->value;
    return Visit::Continue;
}

} // namespace

PresetLoad decodePresetRecords(const ChunkReader& records, const ChunkHeader& header,
                               const Program& templateProgram, const ParameterMask& loaded) {
    PresetLoad load;
    if (header.recordCount < 0) {
        load.status = LoadStatus::Empty;
        return load;
    }
    load.program = templateProgram;
    const bool complete = walkRecords(records, header.recordCount, [&](const Record& record) {
        if (record.type == kNameRecord)
            return readName(record.payload, load.program) ? Visit::Continue : Visit::Reject;
        if (record.type == kValueRecord) return storeValue(record.payload, load.program, loaded);
        return Visit::Continue;
    });
    load.status = complete ? LoadStatus::Loaded : LoadStatus::Rejected;
    return load;
}

BankLoad decodeBankRecords(const ChunkReader& records, const ChunkHeader& header,
                           const ProgramStore& before, const Program& templateProgram,
                           const ParameterMask& loaded) {
    BankLoad load;
    if (header.recordCount < 0) {
        load.status = LoadStatus::Empty;
        return load;
    }
    load.programs = before;
    load.currentProgram = isProgramIndex(header.currentProgram) ? header.currentProgram : 0;
    const bool complete = walkRecords(records, header.recordCount, [&](const Record& record) {
        if (!isProgramIndex(record.program)) return Visit::Continue;
        const auto index = static_cast<std::size_t>(record.program);
        Program& program = load.programs[index];
        if (record.type == kNameRecord) {
            program = templateProgram;
            load.renamed.set(index);
            return readName(record.payload, program) ? Visit::Continue : Visit::Reject;
        }
        if (record.type == kValueRecord) return storeValue(record.payload, program, loaded);
        return Visit::Continue;
    });
    load.status = complete ? LoadStatus::Loaded : LoadStatus::Rejected;
    return load;
}

MidiSettingsLoad decodeMidiSettingsRecords(const ChunkReader& records, const ChunkHeader& header,
                                           const ParameterMask& loaded) {
    MidiSettingsLoad load;
    if (header.recordCount < 0) {
        load.status = LoadStatus::Empty;
        return load;
    }
    const bool complete = walkRecords(records, header.recordCount, [&](const Record& record) {
        if (record.type != kControllerRecord) return Visit::Continue;
        const auto entry = readIndexedValue(record.payload);
        if (!entry) return Visit::Reject;
        if (usesParameter(entry->parameter, loaded) && isNormalised(entry->value))
            load.settings.push_back({entry->parameter, entry->value});
        return Visit::Continue;
    });
    load.status = complete ? LoadStatus::Loaded : LoadStatus::Rejected;
    return load;
}

} // namespace velmora::chunk
