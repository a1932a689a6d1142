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

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        echo "install-windows-deps: need root (or sudo) to install: ${missing[*]}" >&2
        exit 1
    fi
fi

echo "install-windows-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# wine32 comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
