// How a helper program ended, as told by waitpid.
#pragma once

#include <sys/wait.h>

namespace velmora::platform {

struct ChildExit {
    enum class Kind {
        exited,    // `code` is the exit status
        signalled, // `code` is the signal
        unknown    // the end was not seen (the host reaped it, or its watcher went away)
    };
    Kind kind = Kind::unknown;
    int code = 0;

    bool exitedWith(int status) const { return kind == Kind::exited && code == status; }
};

inline ChildExit childExitFrom(int waitStatus) {
    if (WIFEXITED(waitStatus)) return {ChildExit::Kind::exited, WEXITSTATUS(waitStatus)};
    if (WIFSIGNALED(waitStatus)) return {ChildExit::Kind::signalled, WTERMSIG(waitStatus)};
    return {};
}

} // namespace velmora::platform
