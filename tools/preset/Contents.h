// What a preset, bank, MIDI-settings file or state chunk holds, decoded from its bytes and
// encoded back in either byte order: the one model every command of the tool works on.
#pragma once

#include "presets/LoadStatus.h"
#include "presets/ProgramStore.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::presettool {

enum class ContentKind { Preset, Bank, MidiSettings, State };

std::string_view nameOf(ContentKind kind);
std::optional<ContentKind> kindNamed(std::string_view name);

// How the bytes were laid out, for `info`.
struct Layout {
    bool older = false;    // a single-type file layout or a version-1 state chunk
    bool reversed = false; // written by a machine of the other byte order
};

struct Contents {
    ContentKind kind = ContentKind::Preset;
    std::vector<Program> programs;                   // one for a preset, 61 for a bank or state
    int currentProgram = 0;                          // bank and state
    std::array<float, kNumParameters> assignments{}; // MIDI settings and state
    Layout layout;
};

struct Decoded {
    std::optional<Contents> contents;
    std::string error; // why the bytes were refused
};

// The largest input any kind can have.
std::size_t maxInputBytes();

// Finds the kind from the bytes themselves and decodes them completely.
Decoded decode(std::span<const std::byte> bytes);

// The current layout of the kind, native or with every 32-bit field byte-reversed.
std::vector<std::byte> encode(const Contents& contents, bool reversed);

} // namespace velmora::presettool
