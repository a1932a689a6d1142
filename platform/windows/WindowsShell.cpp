// The shell on Windows: ShellExecuteW hands the manual to the application registered for its
// type and answers at once, so nothing is ever pending; MessageBoxW shows the messages.
#include "platform/Shell.h"

#include "platform/windows/WideText.h"

#include <cstdint>
#include <windows.h>

#include <shellapi.h>

namespace velmora::platform {

namespace {

// ShellExecuteW's result: above 32 success; SE_ERR_NOASSOC (31) when no application is
// associated with the type; any other value up to 32 an error.
DocumentOpening openingFrom(HINSTANCE result) {
    const auto code = reinterpret_cast<std::intptr_t>(result);
    if (code > 32) return DocumentOpening::opened;
    if (code == SE_ERR_NOASSOC) return DocumentOpening::noApplication;
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
        return DocumentOpening::missingFile;
    }
    return DocumentOpening::failed;
}

class WindowsShell final : public Shell {
  public:
    DocumentOpening openDocument(const std::filesystem::path& document) override {
        if (document.empty() || GetFileAttributesW(document.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return DocumentOpening::missingFile;
        }
        return openingFrom(
            ShellExecuteW(nullptr, L"open", document.c_str(), nullptr, nullptr, SW_SHOW));
    }

    std::optional<DocumentOpening> poll() override { return std::nullopt; }

    bool showError(std::string_view caption, std::string_view text) override {
        const auto wideCaption = windows::toWide(caption);
        const auto wideText = windows::toWide(text);
        if (!wideCaption || !wideText) return false;
        return MessageBoxW(nullptr, wideText->c_str(), wideCaption->c_str(),
                           MB_OK | MB_ICONERROR) != 0;
    }
};

} // namespace

std::unique_ptr<Shell> makeShell() {
    return std::make_unique<WindowsShell>();
}

} // namespace velmora::platform
