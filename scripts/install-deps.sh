#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Runs as root; otherwise through sudo when that is available.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsndfile1-dev nlohmann-json3-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    libx11-dev libxtst-dev xvfb xauth
    libpng-dev
    python3-cairo fonts-liberation2
    # The plug-in opens its manual with xdg-open. The file dialogs and messages use zenity or
    # kdialog when the desktop has one; the tests use stand-ins for all three.
    xdg-utils
)

. "$(dirname "${BASH_SOURCE[0]}")/lib/apt.sh"
install_missing install-deps "${packages[@]}"
