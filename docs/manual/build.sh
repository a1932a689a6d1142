#!/usr/bin/env bash
# Makes docs/manual/Velmora-Manual.pdf from manual.md, manual.css and the pictures in images/:
# pandoc turns the text into HTML, weasyprint lays the HTML out as A4 pages.
# Usage: docs/manual/build.sh [--images [SNAPSHOT-TOOL]]
#   --images  first redraws the pictures (make-images.py) with the snapshot tool, by default
#             build/velmora-snapshot (cmake --build build --target velmora-snapshot).
# Installs the Debian packages it needs when they are missing (as root, or through sudo).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"

redraw=false
snapshot="$root/build/velmora-snapshot"
if [ "${1:-}" = "--images" ]; then
    redraw=true
    snapshot="${2:-$snapshot}"
fi

packages=(pandoc weasyprint fonts-liberation2 fonts-dejavu-core)
if $redraw; then
    packages+=(python3-cairo)
fi
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || {
            echo "manual: need root or sudo to install: ${missing[*]}" >&2
            exit 1
        }
        as_root=(sudo)
    fi
    echo "manual: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if $redraw; then
    /usr/bin/python3 "$here/make-images.py" --snapshot "$snapshot"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

pandoc "$here/manual.md" --from markdown --to html5 --standalone --toc --toc-depth=2 \
    --number-sections --css manual.css --metadata lang=en --output "$work/manual.html"
# Relative links (the style sheet, the pictures) resolve against the manual's folder.
weasyprint --base-url "$here/" "$work/manual.html" "$here/Velmora-Manual.pdf"
echo "manual: wrote $here/Velmora-Manual.pdf"
