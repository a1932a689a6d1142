// The shell through the desktop's programs: `xdg-open` opens documents, zenity or kdialog shows
// messages. Each runs detached, so a viewer stays open after the plug-in is gone.
#pragma once

#include "platform/Shell.h"
#include "platform/linux/DetachedProcess.h"

#include <vector>

namespace velmora::platform {

class DesktopShell final : public Shell {
  public:
    DocumentOpening openDocument(const std::filesystem::path& document) override;
    std::optional<DocumentOpening> poll() override;
    bool showError(std::string_view caption, std::string_view text) override;

  private:
    std::vector<DetachedProcess> openings_;
};

} // namespace velmora::platform
