// For a platform whose window backend is not built yet: the editor reports that it cannot
// open, and everything else of the plug-in works.
#include "toolkit/PlatformWindow.h"

namespace velmora::toolkit {

std::unique_ptr<PlatformWindow> createPlatformWindow() {
    return nullptr;
}

} // namespace velmora::toolkit
