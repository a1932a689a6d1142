// A helper program run beside the host and owned by it: started without a shell, in a process
// group of its own so that stopping it also stops whatever it started, with its standard output
// collected through a pipe. Nothing here blocks except `stop`, which waits only for the system
// to end a killed process. The destructor stops a program still running; none is left a zombie.
#pragma once

#include "platform/linux/ChildExit.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>

namespace velmora::platform {

class ChildProcess {
  public:
    // Nothing when the program cannot be started.
    static std::optional<ChildProcess> start(const std::filesystem::path& program,
                                             std::span<const std::string> arguments);

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Collects what the program printed so far; once it has ended, reaps it and tells how.
    std::optional<ChildExit> poll();
    // Kills the program's whole process group and reaps it.
    void stop();

    bool running() const { return pid_ > 0; }
    const std::string& output() const { return output_; }

  private:
    ChildProcess(pid_t pid, int outputPipe) : pid_(pid), pipe_(outputPipe) {}
    void drainOutput();
    void closePipe();

    pid_t pid_ = -1;
    int pipe_ = -1;
    std::string output_;
};

} // namespace velmora::platform
