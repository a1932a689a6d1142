// What the preset bar's file, default, memory, keyboard-focus and manual buttons do, over the
// preset system's codecs and the platform's settings store, file dialog and shell. Dialogs and
// the manual's viewer never hold up the host: a file action starts its dialog and is carried
// out from a later idle once the user has chosen. A new instance starts with the stored
// defaults; the remembered file locations are stored when the editor goes.
#pragma once

#include "editor/PresetBarServices.h"
#include "platform/FileDialog.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "presets/PresetFiles.h"
#include "presets/PresetSystem.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace velmora::editor {

class PresetServices final : public PresetBarServices {
  public:
    // The platform's services; tests give their own.
    struct Platform {
        std::unique_ptr<platform::SettingsStore> settings;
        std::unique_ptr<platform::FileDialog> dialog;
        std::unique_ptr<platform::Shell> shell;
        std::filesystem::path moduleFolder; // where the manual lies when none is recorded
    };
    static Platform userPlatform();

    PresetServices(PresetSystem& presets, Platform platform);
    ~PresetServices() override;

    // The stored default bank, the current program 0 with the stored default preset, the
    // stored MIDI settings and the remembered file locations.
    void applyStartupDefaults();

    void loadFile(FileKind kind, bool reversed) override;
    void saveFile(FileKind kind) override;
    void storeDefault(FileKind kind) override;
    void clearDefault(FileKind kind) override;
    void storeMemo(Memo memo) override;
    void recallMemo(Memo memo) override;
    void storeKeyboardFocus(bool on) override;
    bool storedKeyboardFocus() const override;
    void openUserManual() override;
    void idle() override;
    void editorClosed() override;
    std::optional<UserMessage> takeMessage() override { return std::exchange(message_, {}); }

    // Where the manual is looked for: the recorded path, else beside the plug-in.
    std::filesystem::path manualPath() const;
    const FileLocations& locations() const { return files_.locations(); }

  private:
    class DialogFileAccess;
    struct FileAction {
        FileKind kind;
        bool save;
        chunk::StoredOrder order;
    };

    void startFileAction(const FileAction& action);
    void finishFileAction(const std::string& path);
    FileActionResult run(const FileAction& action, FileAccess& access);
    void reportFileProblem(const FileAction& action, const FileActionResult& result);
    void reportManualOpening(platform::DocumentOpening opening);
    void tell(std::string_view caption, std::string_view text);
    bool loadStored(FileKind kind);
    void loadFileLocations();
    void saveFileLocations();

    PresetSystem& presets_;
    Platform platform_;
    PresetFiles files_;
    std::optional<FileAction> pendingAction_; // waiting for its dialog
    std::optional<UserMessage> message_;      // for the editor to show
};

} // namespace velmora::editor
