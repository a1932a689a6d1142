#include "platform/Ticks.h"

#include <chrono>

namespace velmora::platform {

std::uint32_t tickCountMs() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    // Kept to 32 bits like the Windows counter, so both wrap the same way.
    return static_cast<std::uint32_t>(ms);
}

} // namespace velmora::platform
