#include "editor/PlatformFileSelector.h"

#include <utility>

namespace velmora::editor {

namespace {

platform::FileDialogRequest dialogRequestFor(const toolkit::CNewFileSelector::Request& request) {
    using Style = toolkit::CNewFileSelector::Style;
    using Purpose = platform::FileDialogRequest::Purpose;
    platform::FileDialogRequest dialogRequest;
    dialogRequest.purpose = request.style == Style::selectSaveFile ? Purpose::save : Purpose::open;
    dialogRequest.title = request.title;
    for (const auto& filter : request.filters) {
        dialogRequest.filters.push_back({filter.description, filter.extension});
    }
    dialogRequest.folder = request.startFolder;
    dialogRequest.suggestedName = request.defaultName;
    return dialogRequest;
}

} // namespace

PlatformFileSelector::PlatformFileSelector(std::unique_ptr<platform::FileDialog> dialog)
    : dialog_(std::move(dialog)) {}

bool PlatformFileSelector::run(const Request& request, Completion completion) {
    if (isRunning()) return false;
    const platform::FileDialogStart start = dialog_->start(dialogRequestFor(request));
    problem_ = start.problem;
    if (!start.started) return false;
    completion_ = std::move(completion);
    return true;
}

void PlatformFileSelector::poll() {
    const auto result = dialog_->poll();
    if (!result) return;
    problem_ = result->problem;
    // Taken out first: the completion may start the next dialog.
    Completion completion = std::exchange(completion_, nullptr);
    if (!completion) return;
    if (result->outcome == platform::FileDialogResult::Outcome::chosen) {
        completion(result->path);
    } else {
        completion(std::nullopt);
    }
}

void PlatformFileSelector::cancel() {
    dialog_->cancel();
}

bool PlatformFileSelector::isRunning() const {
    return dialog_->isRunning();
}

} // namespace velmora::editor
