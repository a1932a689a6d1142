// One loaded plug-in binary: the system's library loader behind a small seam (dlopen on Linux,
// LoadLibraryW on Windows), so the harness itself is the same on both.
#pragma once

#include <string>

namespace velmora::host {

class LoadedModule {
  public:
    // Throws HostError when the file cannot be loaded.
    explicit LoadedModule(const std::string& path);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // The address of an exported function; null when the binary does not export it.
    void* exportedFunction(const char* name) const;

  private:
    void* handle_ = nullptr;
};

} // namespace velmora::host
