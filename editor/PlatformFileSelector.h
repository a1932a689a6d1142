// The toolkit's file selector on the platform's file dialog: the preset bar asks through the
// toolkit interface, the platform runs the dialog, and the editor's idle (through `poll`) hands
// the choice to the waiting completion.
#pragma once

#include "platform/FileDialog.h"
#include "toolkit/controls/CNewFileSelector.h"

#include <memory>
#include <string>

namespace velmora::editor {

class PlatformFileSelector final : public toolkit::CNewFileSelector {
  public:
    explicit PlatformFileSelector(
        std::unique_ptr<platform::FileDialog> dialog = platform::makeFileDialog());

    bool run(const Request& request, Completion completion) override;
    void poll() override;
    void cancel() override;
    bool isRunning() const override;

    // Why the last dialog could not start or failed, in words for the user; empty otherwise.
    const std::string& problem() const { return problem_; }

  private:
    std::unique_ptr<platform::FileDialog> dialog_;
    Completion completion_;
    std::string problem_;
};

} // namespace velmora::editor
