// Handing a document to the desktop (the user manual) and telling the user something in a
// window of the desktop's own. Neither waits: an opening's outcome arrives through `poll`, called
// from the editor's idle; a message window stays up on its own.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace velmora::platform {

enum class DocumentOpening {
    pending,       // handed over; `poll` tells how it ended
    opened,        // an application took the document
    missingFile,   // no document at that path
    noApplication, // no application opens documents of its kind
    failed         // anything else
};

class Shell {
  public:
    virtual ~Shell() = default;

    // Problems found at once (no such file, nothing installed to open it) are returned at
    // once; otherwise `pending`.
    virtual DocumentOpening openDocument(const std::filesystem::path& document) = 0;
    // The outcome of an opening that was pending, once it is known; one per opening.
    virtual std::optional<DocumentOpening> poll() = 0;

    // Shows an error message in a window of its own. False when the desktop has no program to
    // show it: the caller then shows it itself.
    virtual bool showError(std::string_view caption, std::string_view text) = 0;
};

std::unique_ptr<Shell> makeShell();

} // namespace velmora::platform
