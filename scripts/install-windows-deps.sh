#!/usr/bin/env bash
# Installs what the Windows build and its tests need: the MinGW-w64 cross compilers (posix thread
# model, for the standard timed mutex), Wine with its 32-bit half, and the virtual X server the
# editor's window tests show Wine's windows on, when any is missing.
# Runs as root; otherwise through sudo when that is available.
set -euo pipefail

packages=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
    googletest
    wine wine32:i386 wine64
    xvfb xauth
)

. "$(dirname "${BASH_SOURCE[0]}")/lib/apt.sh"
install_missing install-windows-deps "${packages[@]}"
