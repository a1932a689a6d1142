// The byte layout shared by the preset, bank, MIDI-settings and state chunks. Users' projects
// and files hold these bytes for years: every constant here is part of the format.
#pragma once

#include "engine/ParameterIndex.h"
#include "presets/ChunkReader.h"
#include "presets/ProgramStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace velmora::chunk {

// 'VLMR', first character in the most significant byte.
inline constexpr std::uint32_t kUniqueId = 0x564C4D52u;

inline constexpr std::uint8_t kPresetType = 0x22;
inline constexpr std::uint8_t kBankType = 0x38;
inline constexpr std::uint8_t kMidiSettingsType = 0x0C;
inline constexpr std::uint32_t kFormatVersion = 0x01010000u;

// Older single-type layouts that files and stored values may still hold: the ID, the type
// byte, then bare names and float values (see StoredChunkLoader).
inline constexpr std::uint8_t kLegacyPresetType = 0x21;
inline constexpr std::uint8_t kLegacyBankType = 0x37;
inline constexpr std::uint8_t kLegacyMidiSettingsType = 0x0B;
inline constexpr std::size_t kLegacyPrefixBytes = 5;

// Header: ID (4), type (1), version, slot count, record count, current program, data size,
// four reserved words.
inline constexpr std::size_t kHeaderBytes = 41;
inline constexpr std::size_t kRecordCountOffset = 13;
inline constexpr std::size_t kReservedHeaderWords = 4;

// Record: type, payload size, program index, then the payload.
inline constexpr std::size_t kRecordHeadBytes = 12;
inline constexpr std::int32_t kNamePayloadBytes = 156;
inline constexpr std::int32_t kValuePayloadBytes = 20;
inline constexpr std::size_t kNameRecordBytes = kRecordHeadBytes + kNamePayloadBytes;
inline constexpr std::size_t kValueRecordBytes = kRecordHeadBytes + kValuePayloadBytes;
inline constexpr std::size_t kValueIndexOffset = 0; // within a value payload
inline constexpr std::size_t kValueOffset = 12;     // within a value payload

enum RecordType : std::int32_t { kNameRecord = 0, kValueRecord = 1, kControllerRecord = 2 };

// State chunk: version and ID, then a bank chunk followed by one controller record per
// parameter.
inline constexpr std::uint32_t kStateVersion1 = 0x01000000u;
inline constexpr std::uint32_t kStateVersion2 = 0x02000000u;
inline constexpr std::size_t kStatePrefixBytes = 8;
inline constexpr std::size_t kStateChunkCapacity =
    kStatePrefixBytes + kHeaderBytes +
    kNumPrograms * (kNameRecordBytes + kNumParameters * kValueRecordBytes) +
    kNumParameters * kValueRecordBytes;
static_assert(kStateChunkCapacity == 129337);

// Version-1 state chunk: eight header words, program blocks, and a table of 60 controller
// values at a fixed offset.
inline constexpr std::size_t kLegacyHeaderBytes = 32;
inline constexpr std::size_t kLegacyControllerOffset = 16136;
inline constexpr std::size_t kLegacyStateBytes = 16376;
static_assert(kLegacyControllerOffset + kNumParameters * 4 == kLegacyStateBytes);

struct ChunkHeader {
    std::uint32_t uniqueId = kUniqueId;
    std::uint8_t type = 0;
    std::uint32_t version = kFormatVersion;
    std::int32_t parameterSlots = kNumParameters;
    std::int32_t recordCount = 0;
    std::int32_t currentProgram = 0;
    std::int32_t dataSize = 0;
};

// Byte order of a source from its stored ID read as little-endian: false when native, true when
// byte-reversed, nothing for a foreign ID.
inline std::optional<bool> byteOrderOf(std::uint32_t storedId) {
    if (storedId == kUniqueId) return false;
    if (storedId == reverseBytes(kUniqueId)) return true;
    return std::nullopt;
}

// The 41-byte header at `offset`, its words in the reader's byte order.
inline std::optional<ChunkHeader> readHeader(const ChunkReader& reader, std::size_t offset) {
    if (!reader.contains(offset, kHeaderBytes)) return std::nullopt;
    ChunkHeader header;
    header.uniqueId = *reader.word(offset);
    header.type = *reader.byte(offset + 4);
    header.version = *reader.word(offset + 5);
    header.parameterSlots = *reader.int32(offset + 9);
    header.recordCount = *reader.int32(offset + 13);
    header.currentProgram = *reader.int32(offset + 17);
    header.dataSize = *reader.int32(offset + 21);
    return header;
}

} // namespace velmora::chunk
