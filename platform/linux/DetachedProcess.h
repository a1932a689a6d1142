// A program handed to the desktop that must outlive whoever started it: a document viewer, a
// message box. It runs in a session of its own under a small watcher process that the system
// adopts, so the host is never left with a zombie and the program keeps running when the
// editor or the plug-in goes away. The watcher reports how the program ended through a pipe.
#pragma once

#include "platform/linux/ChildExit.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace velmora::platform {

class DetachedProcess {
  public:
    // Nothing when no process could be made.
    static std::optional<DetachedProcess> launch(const std::filesystem::path& program,
                                                 std::span<const std::string> arguments);

    DetachedProcess(DetachedProcess&& other) noexcept;
    DetachedProcess& operator=(DetachedProcess&& other) noexcept;
    DetachedProcess(const DetachedProcess&) = delete;
    DetachedProcess& operator=(const DetachedProcess&) = delete;
    ~DetachedProcess();

    // How the program ended, once it has; exactly once.
    std::optional<ChildExit> poll();

  private:
    explicit DetachedProcess(int statusPipe) : pipe_(statusPipe) {}
    void closePipe();

    int pipe_ = -1;
};

} // namespace velmora::platform
