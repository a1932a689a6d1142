// The window class every editor window and pop-up of this module shares. Registered by the
// first user and unregistered by each user on the way out: Windows refuses that while windows
// of the class still exist, so the class stays for as long as another editor shows one and
// goes with the last, with no count of our own to keep.
#pragma once

#include <windows.h>

namespace velmora::toolkit {

class Win32WindowClass {
  public:
    explicit Win32WindowClass(WNDPROC procedure);
    ~Win32WindowClass();
    Win32WindowClass(const Win32WindowClass&) = delete;
    Win32WindowClass& operator=(const Win32WindowClass&) = delete;

    // False when registration failed; no window can be made then.
    bool usable() const { return usable_; }
    // The module holding this code (the plug-in's DLL, not the host's executable).
    HINSTANCE module() const { return module_; }
    const wchar_t* name() const;

  private:
    HINSTANCE module_ = nullptr;
    bool usable_ = false;
};

} // namespace velmora::toolkit
