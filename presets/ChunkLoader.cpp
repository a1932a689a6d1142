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

// Walks `count` records in order; the visitor answers Loaded to go on. Answers Malformed when a
// record's head or payload does not lie wholly inside the data or its payload size is negative,
// or the first refusal of the visitor.
template <class Visitor>
LoadStatus walkRecords(const ChunkReader& records, std::int32_t count, Visitor&& visit) {
    std::size_t offset = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const auto type = records.int32(offset);
        const auto payloadSize = records.int32(offset + 4);
        const auto program = records.int32(offset + 8);
        if (!type || !payloadSize || !program || *payloadSize < 0) return LoadStatus::Malformed;
        const auto payload =
            records.window(offset + kRecordHeadBytes, static_cast<std::size_t>(*payloadSize));
        if (!payload) return LoadStatus::Malformed;
        if (const LoadStatus status = visit(Record{*type, *program, *payload}); !isLoaded(status))
            return status;
        offset += kRecordHeadBytes + static_cast<std::size_t>(*payloadSize);
    }
    return LoadStatus::Loaded;
}

LoadStatus readName(const ChunkReader& payload, Program& program) {
    const auto bytes = payload.bytes(0, kProgramNameBytes);
    if (!bytes) return LoadStatus::Malformed;
    program.setNameBytes(bytes->first<kProgramNameBytes>());
    return LoadStatus::Loaded;
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

// Stores a value record into `program`; refuses a short payload or a value outside 0..1.
LoadStatus storeValue(const ChunkReader& payload, Program& program, const ParameterMask& loaded) {
    const auto entry = readIndexedValue(payload);
    if (!entry) return LoadStatus::Malformed;
    if (!usesParameter(entry->parameter, loaded)) return LoadStatus::Loaded;
    if (!isNormalised(entry->value)) return LoadStatus::ValueOutOfRange;
    program.values[static_cast<std::size_t>(entry->parameter)] = entry->value;
    return LoadStatus::Loaded;
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
    load.status = walkRecords(records, header.recordCount, [&](const Record& record) {
        if (record.type == kNameRecord) return readName(record.payload, load.program);
        if (record.type == kValueRecord) return storeValue(record.payload, load.program, loaded);
        return LoadStatus::Loaded;
    });
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
    load.status = walkRecords(records, header.recordCount, [&](const Record& record) {
        if (!isProgramIndex(record.program)) return LoadStatus::Loaded;
        const auto index = static_cast<std::size_t>(record.program);
        Program& program = load.programs[index];
        if (record.type == kNameRecord) {
            program = templateProgram;
            load.renamed.set(index);
            return readName(record.payload, program);
        }
        if (record.type == kValueRecord) return storeValue(record.payload, program, loaded);
        return LoadStatus::Loaded;
    });
    return load;
}

MidiSettingsLoad decodeMidiSettingsRecords(const ChunkReader& records, const ChunkHeader& header,
                                           const ParameterMask& loaded) {
    MidiSettingsLoad load;
    if (header.recordCount < 0) {
        load.status = LoadStatus::Empty;
        return load;
    }
    load.status = walkRecords(records, header.recordCount, [&](const Record& record) {
        if (record.type != kControllerRecord) return LoadStatus::Loaded;
        const auto entry = readIndexedValue(record.payload);
        if (!entry) return LoadStatus::Malformed;
        if (usesParameter(entry->parameter, loaded) && isNormalised(entry->value))
            load.settings.push_back({entry->parameter, entry->value});
        return LoadStatus::Loaded;
    });
    return load;
}

} // namespace velmora::chunk
