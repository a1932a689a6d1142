// Loading a plug-in binary and finding its entry.
#pragma once

#include "tools/host/HostError.h"
#include "tools/host/LoadedModule.h"
#include "tools/host/ScriptedHost.h"
#include "vst2/vst2.h"

#include <memory>
#include <string>

namespace velmora::host {

// One loaded plug-in binary and its entry function.
class PluginLibrary {
  public:
    // Throws HostError when the file cannot be loaded or exports neither VSTPluginMain nor main.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Calls the entry with the host's callback, answering the calls made during it from `host`.
    // Returns what the entry returned (null when the plug-in refused).
    AEffect* callEntry(ScriptedHost& host) const;

    const std::string& path() const { return path_; }
    bool entryIsVstPluginMain() const { return entryIsVstPluginMain_; }

  private:
    using Entry = AEffect*(VST_CALL*)(audioMasterCallback);

    std::string path_;
    std::unique_ptr<LoadedModule> module_;
    Entry entry_ = nullptr;
    bool entryIsVstPluginMain_ = false;
};

} // namespace velmora::host
