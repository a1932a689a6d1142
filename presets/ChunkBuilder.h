// Builders of the four chunk kinds. Each is a pure function of the programs and assignments it
// is given; only parameters in `saved` are written.
#pragma once

#include "presets/ChunkFormat.h"
#include "presets/ProgramStore.h"

#include <cstddef>
#include <span>
#include <vector>

namespace velmora::chunk {

using AssignmentValues = std::span<const float, kNumParameters>;

// One program as a preset chunk (name record, then one value record per saved parameter).
std::vector<std::byte> buildPresetChunk(const Program& program, const ParameterMask& saved);

// All programs as a bank chunk, with the current program in the header.
std::vector<std::byte> buildBankChunk(const ProgramStore& programs, int currentProgram,
                                      const ParameterMask& saved);

// The controller assignment value of every saved parameter.
std::vector<std::byte> buildMidiSettingsChunk(AssignmentValues assignments,
                                              const ParameterMask& saved);

// Writes the version-2 state chunk into `out`, zeroing all of it first, and returns its size;
// 0 when it does not fit.
std::size_t writeStateChunk(std::span<std::byte> out, const ProgramStore& programs,
                            int currentProgram, AssignmentValues assignments,
                            const ParameterMask& saved);

} // namespace velmora::chunk
