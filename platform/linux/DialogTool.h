// The desktop's dialog programs: which one is installed, and the arguments that ask it for a
// file dialog or an error message. Both print the chosen path on a line of its own and exit
// with 0, or exit with 1 when the user cancels.
#pragma once

#include "platform/FileDialog.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

enum class DialogToolKind { zenity, kdialog };

struct DialogTool {
    DialogToolKind kind;
    std::filesystem::path program;
};

inline constexpr std::string_view noDialogToolProblem =
    "No file dialog is available: install zenity or kdialog.";

// zenity, or kdialog when only it is installed or the desktop is KDE's.
std::optional<DialogTool> findDialogTool();

std::vector<std::string> fileDialogArguments(DialogToolKind tool, const FileDialogRequest& request);
std::vector<std::string> errorMessageArguments(DialogToolKind tool, std::string_view caption,
                                               std::string_view text);

} // namespace velmora::platform
