// The file dialog as a child process: the desktop's dialog program (DialogTool.h) runs beside
// the host, and its printed path is picked up when it exits.
#pragma once

#include "platform/FileDialog.h"
#include "platform/linux/ChildProcess.h"

namespace velmora::platform {

class HelperFileDialog final : public FileDialog {
  public:
    FileDialogStart start(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> poll() override;
    void cancel() override;
    bool isRunning() const override { return helper_.has_value() || cancelled_; }

  private:
    std::optional<ChildProcess> helper_;
    std::string toolName_;
    bool cancelled_ = false; // reported cancelled on the next poll
};

} // namespace velmora::platform
