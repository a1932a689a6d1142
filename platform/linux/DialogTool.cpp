#include "platform/linux/DialogTool.h"

#include "platform/linux/ProgramSearch.h"

#include <cstdlib>

namespace velmora::platform {

namespace {

bool desktopIsKde() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop != nullptr && std::string_view(desktop).find("KDE") != std::string_view::npos;
}

// Where the dialog opens: the folder itself, or the suggested file in it when saving.
std::string startingPoint(const FileDialogRequest& request) {
    const bool saving = request.purpose == FileDialogRequest::Purpose::save;
    if (saving && !request.suggestedName.empty()) {
        return (request.folder / request.suggestedName).string();
    }
    if (request.folder.empty()) return {};
    std::string folder = request.folder.string();
    // The trailing slash makes the dialog open inside the folder rather than select it.
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string pattern(const FileFilter& filter) {
    return "*." + filter.extension;
}

std::vector<std::string> zenityFileDialog(const FileDialogRequest& request) {
    std::vector<std::string> arguments{"--file-selection", "--title=" + request.title};
    if (request.purpose == FileDialogRequest::Purpose::save) {
        arguments.emplace_back("--save");
        arguments.emplace_back("--confirm-overwrite");
    }
    if (const std::string start = startingPoint(request); !start.empty()) {
        arguments.push_back("--filename=" + start);
    }
    for (const FileFilter& filter : request.filters) {
        arguments.push_back("--file-filter=" + filter.caption + " (" + pattern(filter) + ") | " +
                            pattern(filter));
    }
    return arguments;
}

std::vector<std::string> kdialogFileDialog(const FileDialogRequest& request) {
    const bool saving = request.purpose == FileDialogRequest::Purpose::save;
    std::string start = startingPoint(request);
    // The filter is the argument after the start, so the start cannot be left out.
    if (start.empty()) start.push_back('.');
    std::string filters;
    for (const FileFilter& filter : request.filters) {
        if (!filters.empty()) filters += '\n';
        filters += pattern(filter);
        filters += '|';
        filters += filter.caption;
        filters += " (" + pattern(filter) + ')';
    }
    std::vector<std::string> arguments{"--title", request.title,
                                       saving ? "--getsavefilename" : "--getopenfilename", start};
    if (!filters.empty()) arguments.push_back(filters);
    return arguments;
}

} // namespace

std::optional<DialogTool> findDialogTool() {
    const auto zenity = findProgram("zenity");
    const auto kdialog = findProgram("kdialog");
    if (kdialog && (!zenity || desktopIsKde()))
        return DialogTool{DialogToolKind::kdialog, *kdialog};
    if (zenity) return DialogTool{DialogToolKind::zenity, *zenity};
    return std::nullopt;
}

std::vector<std::string> fileDialogArguments(DialogToolKind tool,
                                             const FileDialogRequest& request) {
    return tool == DialogToolKind::zenity ? zenityFileDialog(request) : kdialogFileDialog(request);
}

std::vector<std::string> errorMessageArguments(DialogToolKind tool, std::string_view caption,
                                               std::string_view text) {
    if (tool == DialogToolKind::zenity) {
        // Without --no-markup a '<' or '&' in the text would be taken for markup.
        return {"--error", "--no-markup", "--title=" + std::string(caption),
                "--text=" + std::string(text)};
    }
    return {"--title", std::string(caption), "--error", std::string(text)};
}

} // namespace velmora::platform
