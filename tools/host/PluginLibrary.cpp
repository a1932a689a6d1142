#include "tools/host/PluginLibrary.h"

#include <filesystem>

namespace velmora::host {

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        throw HostError("plug-in not found: " + path);
    }
    module_ = std::make_unique<LoadedModule>(path);
    // A function's address comes back as a data pointer, as the loaders hand it out.
    if (void* symbol = module_->exportedFunction("VSTPluginMain"); symbol != nullptr) {
        entry_ = reinterpret_cast<Entry>(symbol);
        entryIsVstPluginMain_ = true;
    } else if (void* fallback = module_->exportedFunction("main"); fallback != nullptr) {
        entry_ = reinterpret_cast<Entry>(fallback);
    } else {
        module_.reset();
        throw HostError("not a VST 2.4 plug-in (exports neither VSTPluginMain nor main): " + path);
    }
}

PluginLibrary::~PluginLibrary() = default;

AEffect* PluginLibrary::callEntry(ScriptedHost& host) const {
    const LoadingScope scope(host);
    return entry_(ScriptedHost::callback());
}

} // namespace velmora::host
