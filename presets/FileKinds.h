// The three kinds of file the preset bar saves and loads, with the texts their dialogs show.
#pragma once

#include <array>
#include <string_view>

namespace velmora {

enum class FileKind { Preset, Bank, MidiSettings };

inline constexpr std::array kFileKinds{FileKind::Preset, FileKind::Bank, FileKind::MidiSettings};

struct FileKindTexts {
    std::string_view filterCaption;
    std::string_view extension;
    std::string_view saveTitle;
    std::string_view loadTitle;
    std::string_view reversedLoadTitle;
};

inline constexpr FileKindTexts textsOf(FileKind kind) {
    switch (kind) {
    case FileKind::Preset:
        return {"Qel Preset", "qel", "Save preset", "Load preset", "Load preset (endian-reversed)"};
    case FileKind::Bank:
        return {"Qel Bank", "qeb", "Save bank", "Load bank", "Load bank (endian-reversed)"};
    case FileKind::MidiSettings:
        return {"Qel MIDI Settings", "qem", "Save midi settings as", "Load MIDI settings",
                "Load MIDI settings (endian-reversed)"};
    }
    return {};
}

} // namespace velmora
