#include "platform/ModuleLocation.h"

#include <dlfcn.h>

namespace velmora::platform {

std::filesystem::path moduleFolder() {
    Dl_info info{};
    // Any function of this binary names the file it came from.
    if (dladdr(reinterpret_cast<void*>(&moduleFolder), &info) == 0 || !info.dli_fname) return {};
    std::error_code error;
    const std::filesystem::path module = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::filesystem::path(info.dli_fname).parent_path() : module.parent_path();
}

} // namespace velmora::platform
