// engineLock: the one lock that serialises the engine between the audio thread and the
// threads that reconfigure it. Re-entrant, so construction can hold it while calling
// operations that take it again; timed, so the audio thread never waits without bound.
#pragma once

#include <chrono>
#include <mutex>
#include <thread>

namespace velmora {

#if defined(__SANITIZE_THREAD__)
#define VELMORA_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELMORA_THREAD_SANITIZER 1
#endif
#endif

#ifdef VELMORA_THREAD_SANITIZER
// ThreadSanitizer does not see a lock taken through the timed wait of the standard timed
// mutexes (pthread_mutex_clocklock), so it reports their unlock as wrong and misses the
// ordering they give. Under it the timed wait polls try_lock, which it does see.
class EngineLock {
  public:
    void lock() { mutex_.lock(); }
    bool try_lock() { return mutex_.try_lock(); }
    void unlock() { mutex_.unlock(); }
    template <typename Rep, typename Period>
    bool try_lock_for(const std::chrono::duration<Rep, Period>& timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!mutex_.try_lock()) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        return true;
    }

  private:
    std::recursive_mutex mutex_;
};
#else
using EngineLock = std::recursive_timed_mutex;
#endif

// How long processing, suspend, resume and the reverb re-layout wait for the lock.
inline constexpr std::chrono::milliseconds kEngineLockTimeout{1000};

// Holds the lock if it could be taken within the time-out; callers check owns_lock().
inline std::unique_lock<EngineLock>
lockEngineTimed(EngineLock& lock, std::chrono::milliseconds timeout = kEngineLockTimeout) {
    return std::unique_lock<EngineLock>(lock, timeout);
}

} // namespace velmora
