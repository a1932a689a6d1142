#include "platform/ModuleLocation.h"

#include "platform/windows/ModuleHandle.h"

#include <atomic>
#include <string>

namespace velmora::platform {

namespace windows {
namespace {

// Written once by the loader's notification before any other code of the DLL runs.
std::atomic<HMODULE>& keptHandle() {
    static std::atomic<HMODULE> handle{nullptr};
    return handle;
}

} // namespace

HMODULE moduleHandle() {
    return keptHandle().load(std::memory_order_relaxed);
}

void keepModuleHandle(HMODULE module) {
    keptHandle().store(module, std::memory_order_relaxed);
}

} // namespace windows

std::filesystem::path moduleFolder() {
    // Long paths can exceed MAX_PATH; the buffer grows until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(windows::moduleHandle(), name.data(),
                                                static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        constexpr std::size_t longest = 32768;
        if (name.size() >= longest) return {};
        name.resize(name.size() * 2);
    }
}

} // namespace velmora::platform
