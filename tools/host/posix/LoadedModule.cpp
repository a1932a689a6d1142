#include "tools/host/LoadedModule.h"

#include "tools/host/HostError.h"

#include <dlfcn.h>

namespace velmora::host {

LoadedModule::LoadedModule(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        const char* text = dlerror();
        throw HostError("cannot load plug-in " + path + ": " +
                        (text != nullptr ? text : "unknown error"));
    }
}

LoadedModule::~LoadedModule() {
    dlclose(handle_);
}

void* LoadedModule::exportedFunction(const char* name) const {
    return dlsym(handle_, name);
}

} // namespace velmora::host
