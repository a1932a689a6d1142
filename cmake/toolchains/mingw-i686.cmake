# Cross build of the Windows module for i686 with Debian's MinGW-w64 compilers (posix threads,
# for the standard timed mutex): scripts/install-windows-deps.sh installs them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs run through Wine's loader of this width (the `wine` script prefers the 32-bit
# one whenever it is installed, even where the kernel cannot run it).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
