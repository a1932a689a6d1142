#!/usr/bin/env bash
# Builds the plug-in and the renderer, then renders the built-in phrase to out/velmora-demo.wav.
# Extra arguments go to velmora-render (for example --preset NAME or --tempo 100).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j"${VELMORA_JOBS:-2}" --target Velmora velmora-render
mkdir -p "$root/out"
"$root/build/velmora-render" --output "$root/out/velmora-demo.wav" "$@"
