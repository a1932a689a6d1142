// engineLock: the one lock that serialises the engine between the audio thread and the
// threads that reconfigure it. Re-entrant, so construction can hold it while calling
// operations that take it again; timed, so the audio thread never waits without bound.
#pragma once

#include <chrono>
#include <mutex>

namespace velmora {

using EngineLock = std::recursive_timed_mutex;

// How long processing, suspend, resume and the reverb re-layout wait for the lock.
inline constexpr std::chrono::milliseconds kEngineLockTimeout{1000};

// Holds the lock if it could be taken within the time-out; callers check owns_lock().
inline std::unique_lock<EngineLock> lockEngineTimed(EngineLock& lock) {
    return std::unique_lock<EngineLock>(lock, kEngineLockTimeout);
}

} // namespace velmora
