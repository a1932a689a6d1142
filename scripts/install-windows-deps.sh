#!/usr/bin/env bash
# Installs what the Windows build and its tests need: the MinGW-w64 cross compilers (posix thread
# model, for the standard timed mutex) and Wine with its 32-bit half, when any is missing.
# Runs as root; otherwise through sudo when that is available.
set -euo pipefail

packages=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
    googletest
    wine wine32:i386 wine64
)

. "$(dirname "${BASH_SOURCE[0]}")/lib/apt.sh"
install_missing install-windows-deps "${packages[@]}"
