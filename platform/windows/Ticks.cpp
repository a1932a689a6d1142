#include "platform/Ticks.h"

#include <windows.h>

namespace velmora::platform {

std::uint32_t tickCountMs() {
    return static_cast<std::uint32_t>(GetTickCount());
}

} // namespace velmora::platform
