// The module's load notification: keeps the module handle, through which the plug-in finds its
// resources and the folder it was installed in.
#include "platform/windows/ModuleHandle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        velmora::platform::windows::keepModuleHandle(module);
        // The plug-in has no use for per-thread attach and detach notifications.
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}
