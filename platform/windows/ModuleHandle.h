// The plug-in module's own handle, kept when the system loads the DLL: resources and the folder
// beside the DLL are found through it whatever the host's working folder is.
#pragma once

#include <windows.h>

namespace velmora::platform::windows {

// Null until the DLL's load notification has run (in a program that links the code statically,
// the program's own module is used instead).
HMODULE moduleHandle();
void keepModuleHandle(HMODULE module);

} // namespace velmora::platform::windows
