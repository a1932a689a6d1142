// Decoders of the records of preset, bank and MIDI-settings chunks. They never touch the
// effect: each works on copies and hands back the complete result, or a rejection when the
// records lie outside the data or carry a value outside 0..1, so a caller applies a load
// entirely or not at all.
#pragma once

#include "presets/ChunkFormat.h"
#include "presets/ChunkReader.h"
#include "presets/LoadStatus.h"
#include "presets/ProgramStore.h"

#include <bitset>
#include <vector>

namespace velmora::chunk {

struct PresetLoad {
    LoadStatus status = LoadStatus::Malformed;
    Program program; // the template with the chunk's name and values applied
};

struct BankLoad {
    LoadStatus status = LoadStatus::Malformed;
    ProgramStore programs;
    int currentProgram = 0;
    std::bitset<kNumPrograms> renamed; // programs that received a name record
};

struct ControllerSetting {
    int parameter;
    float value;
};

struct MidiSettingsLoad {
    LoadStatus status = LoadStatus::Malformed;
    std::vector<ControllerSetting> settings; // in record order
};

// `records` holds the bytes after the 41-byte header, whose words are already in native order;
// the reader's byte order applies to the record fields.
PresetLoad decodePresetRecords(const ChunkReader& records, const ChunkHeader& header,
                               const Program& templateProgram, const ParameterMask& loaded);

BankLoad decodeBankRecords(const ChunkReader& records, const ChunkHeader& header,
                           const ProgramStore& before, const Program& templateProgram,
                           const ParameterMask& loaded);

// Controller records with a parameter index and value out of range are skipped, as are other
// record types.
MidiSettingsLoad decodeMidiSettingsRecords(const ChunkReader& records, const ChunkHeader& header,
                                           const ParameterMask& loaded);

} // namespace velmora::chunk
