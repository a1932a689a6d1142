// Choosing a file to open or to save in a dialog that does not hold up the caller: `start`
// returns at once, and `poll`, called from the editor's idle, hands over the outcome once the
// user has chosen or cancelled. Only one dialog runs at a time.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::platform {

struct FileFilter {
    std::string caption;   // "Qel Preset"
    std::string extension; // "qel", without the dot
};

struct FileDialogRequest {
    enum class Purpose { open, save };
    Purpose purpose = Purpose::open;
    std::string title;
    std::vector<FileFilter> filters;
    std::filesystem::path folder; // where the dialog starts; empty for the current folder
    std::string suggestedName;    // the name offered when saving
};

struct FileDialogStart {
    bool started = false;
    std::string problem; // why not, in words for the user
};

struct FileDialogResult {
    enum class Outcome { chosen, cancelled, failed };
    Outcome outcome = Outcome::cancelled;
    std::filesystem::path path; // the one file chosen
    std::string problem;        // why it failed, in words for the user
};

class FileDialog {
  public:
    virtual ~FileDialog() = default;

    virtual FileDialogStart start(const FileDialogRequest& request) = 0;
    // The outcome of the dialog once it is over, exactly once; nothing while it runs or when
    // none was started.
    virtual std::optional<FileDialogResult> poll() = 0;
    // Closes a running dialog; the next poll reports it cancelled.
    virtual void cancel() = 0;
    virtual bool isRunning() const = 0;
};

std::unique_ptr<FileDialog> makeFileDialog();

} // namespace velmora::platform
