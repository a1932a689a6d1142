#include "platform/linux/HelperFileDialog.h"

#include "platform/linux/DialogTool.h"

namespace velmora::platform {

namespace {

using Outcome = FileDialogResult::Outcome;

// The path is printed on one line. Anything else (nothing, or several lines) is not exactly
// one chosen file.
FileDialogResult choiceFrom(std::string_view printed) {
    if (!printed.empty() && printed.back() == '\n') printed.remove_suffix(1);
    if (printed.empty() || printed.find('\n') != std::string_view::npos) return {};
    return {Outcome::chosen, std::filesystem::path(printed), {}};
}

FileDialogResult resultOf(const ChildExit& exit, std::string_view printed,
                          const std::string& toolName) {
    if (exit.exitedWith(0)) return choiceFrom(printed);
    if (exit.exitedWith(1)) return {};
    // The host collected the exit itself: judge by what was printed.
    if (exit.kind == ChildExit::Kind::unknown) return choiceFrom(printed);
    const std::string how = exit.kind == ChildExit::Kind::exited
                                ? "exited with status " + std::to_string(exit.code)
                                : "was ended by signal " + std::to_string(exit.code);
    return {Outcome::failed, {}, "The file dialog (" + toolName + ") " + how + "."};
}

} // namespace

FileDialogStart HelperFileDialog::start(const FileDialogRequest& request) {
    if (isRunning()) return {false, "A file dialog is already open."};
    const auto tool = findDialogTool();
    if (!tool) return {false, std::string(noDialogToolProblem)};
    toolName_ = tool->program.filename().string();
    helper_ = ChildProcess::start(tool->program, fileDialogArguments(tool->kind, request));
    if (!helper_) return {false, "The file dialog (" + toolName_ + ") could not be started."};
    return {true, {}};
}

std::optional<FileDialogResult> HelperFileDialog::poll() {
    if (cancelled_) {
        cancelled_ = false;
        return FileDialogResult{};
    }
    if (!helper_) return std::nullopt;
    const auto exit = helper_->poll();
    if (!exit) return std::nullopt;
    FileDialogResult result = resultOf(*exit, helper_->output(), toolName_);
    helper_.reset();
    return result;
}

void HelperFileDialog::cancel() {
    if (!helper_) return;
    helper_.reset(); // stops and reaps the program
    cancelled_ = true;
}

std::unique_ptr<FileDialog> makeFileDialog() {
    return std::make_unique<HelperFileDialog>();
}

} // namespace velmora::platform
