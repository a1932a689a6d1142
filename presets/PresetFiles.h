// The preset bar's six file actions: save or load a preset, bank or MIDI-settings file, the
// loads also in an "endian-reversed" variant. The dialog and the file system stay behind
// FileAccess, which the platform layer implements; everything else (which chunk, which
// remembered location, which program becomes current) happens here.
#pragma once

#include "presets/FileKinds.h"
#include "presets/FileLocations.h"
#include "presets/LoadStatus.h"
#include "presets/PresetSystem.h"
#include "presets/StoredChunkLoader.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string_view title;
    std::string_view filterCaption;
    std::string_view extension;
    std::string initialDirectory;
    std::string defaultName; // saving only
};

// What the file actions need of the platform.
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // A modal single-selection dialog over the editor; nothing when cancelled.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
    // The whole file; nothing when it cannot be read or holds more than `maxBytes`.
    virtual std::optional<std::vector<std::byte>> readFile(const std::string& path,
                                                           std::size_t maxBytes) = 0;
    // Replaces the file whole or not at all.
    virtual bool writeFile(const std::string& path, std::span<const std::byte> bytes) = 0;

  protected:
    FileAccess() = default;
    FileAccess(const FileAccess&) = default;
    FileAccess& operator=(const FileAccess&) = default;
};

enum class FileActionStatus { Done, Cancelled, ReadFailed, WriteFailed, Refused };

struct FileActionResult {
    FileActionStatus status = FileActionStatus::Done;
    chunk::LoadStatus refusal = chunk::LoadStatus::Loaded; // why a load was refused
};

class PresetFiles {
  public:
    explicit PresetFiles(PresetSystem& presets) : presets_(presets) {}

    FileActionResult savePresetFile(FileAccess& access) { return save(FileKind::Preset, access); }
    FileActionResult saveBankFile(FileAccess& access) { return save(FileKind::Bank, access); }
    FileActionResult saveMidiSettingsFile(FileAccess& access) {
        return save(FileKind::MidiSettings, access);
    }
    FileActionResult loadPresetFile(FileAccess& access, chunk::StoredOrder order) {
        return load(FileKind::Preset, access, order);
    }
    FileActionResult loadBankFile(FileAccess& access, chunk::StoredOrder order) {
        return load(FileKind::Bank, access, order);
    }
    FileActionResult loadMidiSettingsFile(FileAccess& access, chunk::StoredOrder order) {
        return load(FileKind::MidiSettings, access, order);
    }

    FileActionResult save(FileKind kind, FileAccess& access);
    FileActionResult load(FileKind kind, FileAccess& access, chunk::StoredOrder order);

    FileLocations& locations() { return locations_; }
    const FileLocations& locations() const { return locations_; }

  private:
    std::optional<std::string> choose(FileKind kind, FileDialogRequest::Mode mode,
                                      std::string_view title, FileAccess& access);
    std::vector<std::byte> buildChunk(FileKind kind) const;
    chunk::LoadStatus loadChunk(FileKind kind, std::span<const std::byte> bytes,
                                chunk::StoredOrder order);

    PresetSystem& presets_;
    FileLocations locations_;
};

} // namespace velmora
