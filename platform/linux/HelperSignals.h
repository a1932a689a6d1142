// The signals a helper program gets back in their ordinary state: the host may block or ignore
// them (SIGPIPE and SIGCHLD often are), and ignoring survives exec.
#pragma once

#include <array>
#include <csignal>

namespace velmora::platform {

inline constexpr std::array helperDefaultSignals{SIGPIPE, SIGCHLD, SIGINT,  SIGQUIT, SIGTERM,
                                                 SIGHUP,  SIGUSR1, SIGUSR2, SIGALRM};

} // namespace velmora::platform
