#include "tools/host/LoadedModule.h"

#include "tools/host/HostError.h"

#include <filesystem>
#include <windows.h>

namespace velmora::host {

namespace {

HMODULE moduleOf(void* handle) {
    return static_cast<HMODULE>(handle);
}

// The path is UTF-8; the wide loader call takes any name the file system allows.
std::filesystem::path pathFromUtf8(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

} // namespace

LoadedModule::LoadedModule(const std::string& path)
    : handle_(LoadLibraryW(pathFromUtf8(path).c_str())) {
    if (handle_ == nullptr) {
        throw HostError("cannot load plug-in " + path + ": error " +
                        std::to_string(GetLastError()));
    }
}

LoadedModule::~LoadedModule() {
    FreeLibrary(moduleOf(handle_));
}

void* LoadedModule::exportedFunction(const char* name) const {
    // An exported function's address; casting it to the entry's type is the caller's business.
    return reinterpret_cast<void*>(GetProcAddress(moduleOf(handle_), name));
}

} // namespace velmora::host
