#include "platform/linux/DetachedProcess.h"

#include "platform/linux/HelperSignals.h"
#include "platform/linux/SpawnArguments.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace velmora::platform {

namespace {

// Closing descriptors one by one up to an unlimited limit would take too long.
constexpr int descriptorsClosedAtMost = 65536;

int descriptorLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur > static_cast<rlim_t>(descriptorsClosedAtMost)) {
        return descriptorsClosedAtMost;
    }
    return static_cast<int>(limit.rlim_cur);
}

// Everything below runs in a copy of the host made by fork, where only async-signal-safe calls
// are allowed: no allocation, no locks, no exceptions.

// The watcher keeps nothing of the host open: a socket or pipe of the host must not stay alive
// for as long as the user reads the manual.
void closeHostDescriptors(int keep, int limit) {
    for (int fd = STDERR_FILENO + 1; fd < limit; ++fd) {
        if (fd != keep) ::close(fd);
    }
}

void becomeOrdinaryProcess() {
    ::setsid(); // out of the host's session: its terminal's signals no longer reach us
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction ordinary {};
    ordinary.sa_handler = SIG_DFL;
    sigemptyset(&ordinary.sa_mask);
    for (const int signal : helperDefaultSignals)
        ::sigaction(signal, &ordinary, nullptr);
    const int nothing = ::open("/dev/null", O_RDWR);
    if (nothing >= 0) {
        for (const int standard : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            ::dup2(nothing, standard);
        }
        if (nothing > STDERR_FILENO) ::close(nothing);
    }
}

[[noreturn]] void watch(const SpawnArguments& argv, int statusEnd, int descriptors) {
    closeHostDescriptors(statusEnd, descriptors);
    becomeOrdinaryProcess();
    const pid_t program = ::fork();
    if (program == 0) {
        ::execve(argv.program(), argv.vector(), environ);
        ::_exit(127);
    }
    ChildExit exit{ChildExit::Kind::exited, 127};
    int status = 0;
    if (program > 0) {
        pid_t reaped = -1;
        do {
            reaped = ::waitpid(program, &status, 0);
        } while (reaped < 0 && errno == EINTR);
        exit = reaped == program ? childExitFrom(status) : ChildExit{};
    }
    // Fewer bytes than a pipe writes at once, so the reader sees all of it or none.
    [[maybe_unused]] const auto written = ::write(statusEnd, &exit, sizeof exit);
    ::_exit(0);
}

} // namespace

std::optional<DetachedProcess> DetachedProcess::launch(const std::filesystem::path& program,
                                                       std::span<const std::string> arguments) {
    const SpawnArguments argv(program, arguments);
    const int descriptors = descriptorLimit();
    std::array<int, 2> ends{-1, -1};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) return std::nullopt;
    const auto [readEnd, writeEnd] = ends;

    // The first child only makes the watcher and leaves at once, so the watcher is adopted by
    // the system and this process has just one short-lived child to reap.
    const pid_t middle = ::fork();
    if (middle == 0) {
        const pid_t watcher = ::fork();
        if (watcher != 0) ::_exit(watcher < 0 ? 1 : 0);
        watch(argv, writeEnd, descriptors);
    }
    ::close(writeEnd);
    int status = 0;
    pid_t reaped = -1;
    if (middle > 0) {
        do {
            reaped = ::waitpid(middle, &status, 0);
        } while (reaped < 0 && errno == EINTR);
    }
    // A host that reaps its children itself leaves us no status; the pipe then tells.
    const bool madeWatcher =
        middle > 0 && (reaped != middle || childExitFrom(status).exitedWith(0));
    if (!madeWatcher) {
        ::close(readEnd);
        return std::nullopt;
    }
    ::fcntl(readEnd, F_SETFL, ::fcntl(readEnd, F_GETFL) | O_NONBLOCK);
    return DetachedProcess(readEnd);
}

DetachedProcess::DetachedProcess(DetachedProcess&& other) noexcept
    : pipe_(std::exchange(other.pipe_, -1)) {}

DetachedProcess& DetachedProcess::operator=(DetachedProcess&& other) noexcept {
    if (this != &other) {
        closePipe();
        pipe_ = std::exchange(other.pipe_, -1);
    }
    return *this;
}

DetachedProcess::~DetachedProcess() {
    closePipe();
}

void DetachedProcess::closePipe() {
    if (pipe_ >= 0) ::close(pipe_);
    pipe_ = -1;
}

std::optional<ChildExit> DetachedProcess::poll() {
    if (pipe_ < 0) return std::nullopt;
    ChildExit exit{};
    ssize_t got = -1;
    do {
        got = ::read(pipe_, &exit, sizeof exit);
    } while (got < 0 && errno == EINTR);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return std::nullopt;
    closePipe();
    // The watcher died without a word (or said something half): the end is unknown.
    if (got != static_cast<ssize_t>(sizeof exit)) return ChildExit{};
    return exit;
}

} // namespace velmora::platform
