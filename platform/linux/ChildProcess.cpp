#include "platform/linux/ChildProcess.h"

#include "platform/linux/HelperSignals.h"
#include "platform/linux/SpawnArguments.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace velmora::platform {

namespace {

// More than any path a dialog prints; the rest is read and dropped so the program never stalls
// on a full pipe.
constexpr std::size_t keptOutputBytes = 64 * 1024;

class SpawnSetup {
  public:
    SpawnSetup() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup() {
        ::posix_spawnattr_destroy(&attributes_);
        ::posix_spawn_file_actions_destroy(&actions_);
    }

    bool prepare(int outputEnd) {
        sigset_t none;
        sigset_t defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        for (const int signal : helperDefaultSignals)
            sigaddset(&defaults, signal);
        const short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        return ::posix_spawnattr_setflags(&attributes_, flags) == 0 &&
               ::posix_spawnattr_setpgroup(&attributes_, 0) == 0 &&
               ::posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
               ::posix_spawnattr_setsigdefault(&attributes_, &defaults) == 0 &&
               ::posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY,
                                                  0) == 0 &&
               ::posix_spawn_file_actions_adddup2(&actions_, outputEnd, STDOUT_FILENO) == 0 &&
               ::posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY,
                                                  0) == 0;
    }

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

  private:
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attributes_{};
};

} // namespace

std::optional<ChildProcess> ChildProcess::start(const std::filesystem::path& program,
                                                std::span<const std::string> arguments) {
    const SpawnArguments argv(program, arguments);
    std::array<int, 2> ends{-1, -1};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) return std::nullopt;
    const auto [readEnd, writeEnd] = ends;

    SpawnSetup setup;
    pid_t pid = -1;
    const bool started =
        setup.prepare(writeEnd) && ::posix_spawn(&pid, argv.program(), setup.actions(),
                                                 setup.attributes(), argv.vector(), environ) == 0;
    ::close(writeEnd);
    if (!started) {
        ::close(readEnd);
        return std::nullopt;
    }
    ::fcntl(readEnd, F_SETFL, ::fcntl(readEnd, F_GETFL) | O_NONBLOCK);
    return ChildProcess(pid, readEnd);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), pipe_(std::exchange(other.pipe_, -1)),
      output_(std::move(other.output_)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        stop();
        pid_ = std::exchange(other.pid_, -1);
        pipe_ = std::exchange(other.pipe_, -1);
        output_ = std::move(other.output_);
    }
    return *this;
}

ChildProcess::~ChildProcess() {
    stop();
}

void ChildProcess::drainOutput() {
    std::array<char, 4096> chunk{};
    while (pipe_ >= 0) {
        const ssize_t got = ::read(pipe_, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) {
            closePipe(); // every writer is gone
            return;
        }
        if (got < 0) return; // nothing more for now
        const auto room = keptOutputBytes - std::min(keptOutputBytes, output_.size());
        output_.append(chunk.data(), std::min(room, static_cast<std::size_t>(got)));
    }
}

void ChildProcess::closePipe() {
    if (pipe_ >= 0) ::close(pipe_);
    pipe_ = -1;
}

std::optional<ChildExit> ChildProcess::poll() {
    if (pid_ <= 0) return std::nullopt;
    drainOutput();
    int status = 0;
    pid_t reaped = -1;
    do {
        reaped = ::waitpid(pid_, &status, WNOHANG);
    } while (reaped < 0 && errno == EINTR);
    if (reaped == 0) return std::nullopt;

    const ChildExit exit = reaped == pid_ ? childExitFrom(status) : ChildExit{};
    pid_ = -1;
    // What it printed before it ended is in the pipe already; a grandchild that still holds
    // the pipe open is not waited for.
    drainOutput();
    closePipe();
    return exit;
}

void ChildProcess::stop() {
    if (pid_ > 0) {
        ::kill(-pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    closePipe();
}

} // namespace velmora::platform
