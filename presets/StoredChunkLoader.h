// Decoding of a whole stored chunk: the bytes of a preset ("qel"), bank ("qeb") or
// MIDI-settings ("qem") file, or of a stored default or memory of the same kind. Each accepts
// the current chunk layout and the older single-type layout of its kind, in either byte order,
// and validates everything before the caller applies anything: a refused load names its reason
// and leaves the result unused.
#pragma once

#include "presets/ChunkFormat.h"
#include "presets/ChunkLoader.h"
#include "presets/ProgramStore.h"

#include <cstddef>
#include <span>

namespace velmora::chunk {

// The largest stored chunk of any kind is a bank with every parameter. Readers of files and
// stored values take no more than this; the decoders refuse anything larger.
inline constexpr std::size_t kMaxStoredChunkBytes =
    kHeaderBytes + kNumPrograms * (kNameRecordBytes + kNumParameters * kValueRecordBytes);
static_assert(kMaxStoredChunkBytes == 127409);

// How the byte order found from the stored ID is taken: as found, or inverted for files whose
// byte order was recorded wrongly (the "endian-reversed" load actions).
enum class StoredOrder { AsFound, Inverted };

// Preset: the template program with the stored name and values applied.
PresetLoad decodeStoredPreset(std::span<const std::byte> stored, StoredOrder order,
                              const Program& templateProgram, const ParameterMask& loaded);

// Bank: every program the data names starts from the template; the others keep their contents
// from `before`. The current program is the header's (0 for the older layout).
BankLoad decodeStoredBank(std::span<const std::byte> stored, StoredOrder order,
                          const ProgramStore& before, const Program& templateProgram,
                          const ParameterMask& loaded);

// MIDI settings: the controller assignment values, in parameter order.
MidiSettingsLoad decodeStoredMidiSettings(std::span<const std::byte> stored, StoredOrder order,
                                          const ParameterMask& loaded);

} // namespace velmora::chunk
