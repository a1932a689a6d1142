// Choosing a file to open or save. Only the interface lives here: each platform implements
// it (its own dialog, or a helper process), and the editor asks through it. `run` returns at
// once; the choice arrives later through the completion, called on the UI thread (from the
// frame's idle), so the host's UI never waits on the dialog.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::toolkit {

class CNewFileSelector {
  public:
    enum class Style { selectFile, selectSaveFile };

    struct FileExtension {
        std::string description; // "Velmora preset"
        std::string extension;   // "qel", without the dot
    };

    struct Request {
        Style style = Style::selectFile;
        std::string title;
        std::vector<FileExtension> filters;
        std::filesystem::path startFolder;
        std::string defaultName; // suggested name when saving
    };

    // The chosen path, or nothing when the user cancelled or the dialog could not be shown.
    using Completion = std::function<void(std::optional<std::filesystem::path>)>;

    virtual ~CNewFileSelector() = default;

    // Starts the dialog; false when one is already running or it cannot start (then the
    // completion is never called).
    virtual bool run(const Request& request, Completion completion) = 0;
    // Delivers a finished choice, if any, through its completion. Called on the UI thread.
    virtual void poll() = 0;
    // Closes a running dialog; its completion is called with nothing on the next poll.
    virtual void cancel() = 0;
    virtual bool isRunning() const = 0;
};

} // namespace velmora::toolkit
