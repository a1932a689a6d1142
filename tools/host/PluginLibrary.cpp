#include "tools/host/PluginLibrary.h"

#include <dlfcn.h>

#include <filesystem>

namespace velmora::host {

namespace {

std::string lastLoaderError() {
    const char* text = dlerror();
    return text != nullptr ? text : "unknown error";
}

} // namespace

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        throw HostError("plug-in not found: " + path);
    }
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        throw HostError("cannot load plug-in " + path + ": " + lastLoaderError());
    }
    // Casting a data pointer to a function pointer is how dlsym is meant to be used on POSIX.
    if (void* symbol = dlsym(handle_, "VSTPluginMain"); symbol != nullptr) {
        entry_ = reinterpret_cast<Entry>(symbol);
        entryIsVstPluginMain_ = true;
    } else if (void* fallback = dlsym(handle_, "main"); fallback != nullptr) {
        entry_ = reinterpret_cast<Entry>(fallback);
    } else {
        dlclose(handle_);
        handle_ = nullptr;
        throw HostError("not a VST 2.4 plug-in (exports neither VSTPluginMain nor main): " + path);
    }
}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

AEffect* PluginLibrary::callEntry(ScriptedHost& host) const {
    const LoadingScope scope(host);
    return entry_(ScriptedHost::callback());
}

} // namespace velmora::host
