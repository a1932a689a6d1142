#include "platform/linux/DesktopShell.h"

#include "platform/linux/DialogTool.h"
#include "platform/linux/ProgramSearch.h"

#include <string>
#include <sys/stat.h>

namespace velmora::platform {

namespace {

// xdg-open's exit statuses: 2 the file does not exist, 3 no program to open it was found,
// 4 the program it chose failed (which is how a desktop without a viewer for the type answers).
DocumentOpening openingFrom(const ChildExit& exit) {
    if (exit.kind != ChildExit::Kind::exited) return DocumentOpening::failed;
    switch (exit.code) {
    case 0:
        return DocumentOpening::opened;
    case 2:
        return DocumentOpening::missingFile;
    case 3:
    case 4:
        return DocumentOpening::noApplication;
    default:
        return DocumentOpening::failed;
    }
}

bool isPresent(const std::filesystem::path& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0;
}

} // namespace

DocumentOpening DesktopShell::openDocument(const std::filesystem::path& document) {
    if (!isPresent(document)) return DocumentOpening::missingFile;
    const auto opener = findProgram("xdg-open");
    if (!opener) return DocumentOpening::noApplication;
    const std::string argument = document.string();
    auto opening = DetachedProcess::launch(*opener, std::span(&argument, 1));
    if (!opening) return DocumentOpening::failed;
    openings_.push_back(std::move(*opening));
    return DocumentOpening::pending;
}

std::optional<DocumentOpening> DesktopShell::poll() {
    for (auto opening = openings_.begin(); opening != openings_.end(); ++opening) {
        if (const auto exit = opening->poll()) {
            openings_.erase(opening);
            return openingFrom(*exit);
        }
    }
    return std::nullopt;
}

bool DesktopShell::showError(std::string_view caption, std::string_view text) {
    const auto tool = findDialogTool();
    if (!tool) return false;
    // Nobody waits for the window to be closed: the watcher's report is dropped unread.
    return DetachedProcess::launch(tool->program, errorMessageArguments(tool->kind, caption, text))
        .has_value();
}

std::unique_ptr<Shell> makeShell() {
    return std::make_unique<DesktopShell>();
}

} // namespace velmora::platform
