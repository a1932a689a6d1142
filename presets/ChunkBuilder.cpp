#include "presets/ChunkBuilder.h"

#include "presets/ChunkWriter.h"

#include <algorithm>
#include <cstdint>

namespace velmora::chunk {
namespace {

std::size_t includedCount(const ParameterMask& saved) {
    return saved.count();
}

std::size_t programRecordBytes(const ParameterMask& saved) {
    return kNameRecordBytes + includedCount(saved) * kValueRecordBytes;
}

void writeHeader(ChunkWriter& out, std::uint8_t type, std::size_t records, int currentProgram,
                 std::size_t dataSize) {
    out.word(kUniqueId);
    out.byte(type);
    out.word(kFormatVersion);
    out.int32(kNumParameters);
    out.int32(static_cast<std::int32_t>(records));
    out.int32(currentProgram);
    out.int32(static_cast<std::int32_t>(dataSize));
    out.zeros(4 * kReservedHeaderWords);
}

void writeNameRecord(ChunkWriter& out, int programIndex, const Program& program) {
    out.int32(kNameRecord);
    out.int32(kNamePayloadBytes);
    out.int32(programIndex);
    out.bytes(std::as_bytes(std::span(program.name)));
    out.zeros(kNamePayloadBytes - kProgramNameBytes);
}

void writeValueRecord(ChunkWriter& out, RecordType type, int programIndex, int parameter,
                      float value) {
    out.int32(type);
    out.int32(kValuePayloadBytes);
    out.int32(programIndex);
    out.int32(parameter);
    out.zeros(8);
    out.float32(value);
    out.float32(0.0f);
}

// `programField` is the program index the records carry (always 0 in a preset chunk).
void writeProgramRecords(ChunkWriter& out, int programField, const Program& program,
                         const ParameterMask& saved) {
    writeNameRecord(out, programField, program);
    for (int p = 0; p < kNumParameters; ++p)
        if (saved.test(p)) writeValueRecord(out, kValueRecord, programField, p, program.values[p]);
}

void writeBank(ChunkWriter& out, const ProgramStore& programs, int currentProgram,
               const ParameterMask& saved) {
    writeHeader(out, kBankType, kNumPrograms * (1 + includedCount(saved)), currentProgram,
                kNumPrograms * programRecordBytes(saved));
    for (int i = 0; i < kNumPrograms; ++i)
        writeProgramRecords(out, i, programs[i], saved);
}

void writeControllerRecords(ChunkWriter& out, AssignmentValues assignments,
                            const ParameterMask& saved) {
    for (int p = 0; p < kNumParameters; ++p)
        if (saved.test(p)) writeValueRecord(out, kControllerRecord, 0, p, assignments[p]);
}

std::size_t bankChunkBytes(const ParameterMask& saved) {
    return kHeaderBytes + kNumPrograms * programRecordBytes(saved);
}

} // namespace

std::vector<std::byte> buildPresetChunk(const Program& program, const ParameterMask& saved) {
    const std::size_t dataSize = programRecordBytes(saved);
    std::vector<std::byte> chunk(kHeaderBytes + dataSize);
    ChunkWriter out(chunk);
    writeHeader(out, kPresetType, 1 + includedCount(saved), 0, dataSize);
    writeProgramRecords(out, 0, program, saved);
    return chunk;
}

std::vector<std::byte> buildBankChunk(const ProgramStore& programs, int currentProgram,
                                      const ParameterMask& saved) {
    std::vector<std::byte> chunk(bankChunkBytes(saved));
    ChunkWriter out(chunk);
    writeBank(out, programs, currentProgram, saved);
    return chunk;
}

std::vector<std::byte> buildMidiSettingsChunk(AssignmentValues assignments,
                                              const ParameterMask& saved) {
    const std::size_t dataSize = includedCount(saved) * kValueRecordBytes;
    std::vector<std::byte> chunk(kHeaderBytes + dataSize);
    ChunkWriter out(chunk);
    writeHeader(out, kMidiSettingsType, includedCount(saved), 0, dataSize);
    writeControllerRecords(out, assignments, saved);
    return chunk;
}

std::size_t writeStateChunk(std::span<std::byte> out, const ProgramStore& programs,
                            int currentProgram, AssignmentValues assignments,
                            const ParameterMask& saved) {
    std::fill(out.begin(), out.end(), std::byte{0});
    ChunkWriter writer(out);
    writer.word(kStateVersion2);
    writer.word(kUniqueId);
    writeBank(writer, programs, currentProgram, saved);
    writeControllerRecords(writer, assignments, saved);
    // The embedded record count covers the appended controller records; its data size does not.
    const std::size_t records = kNumPrograms * (1 + includedCount(saved)) + includedCount(saved);
    writer.patchWord(kStatePrefixBytes + kRecordCountOffset, static_cast<std::uint32_t>(records));
    return writer.ok() ? writer.position() : 0;
}

} // namespace velmora::chunk
