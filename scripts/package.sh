#!/usr/bin/env bash
# Builds what a user downloads, into dist/ (or the folder given with --out):
#   Velmora-<version>-linux-x86_64.tar.gz  Velmora.so (preset release), the manual, INSTALL.txt,
#                                          in a folder of the archive's name;
#   Velmora-<version>-windows.zip          x64/ and x86/, each Velmora.dll (presets win64, win32)
#                                          with the manual beside it, where the plug-in looks
#                                          for it, and INSTALL.txt;
#   SHA256SUMS                             both archives' sums, as sha256sum writes them.
# The version is project()'s in CMakeLists.txt, as the build wrote it (build/version.txt). The
# archives are the same bytes on every run from one commit: sorted entries, every file stamped
# with the last commit's time (or SOURCE_DATE_EPOCH), no owners. The existing build folders are
# reused; only the plug-in targets are built. At the end the archives are checked
# (tools/package/check_archives.py) and listed with their sizes.
# Installs the Linux and Windows build packages first, as scripts/test.sh does.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${VELMORA_JOBS:-2}"
dist="$root/dist"
case "${1:-}" in
--out)
    dist="$(realpath -m "${2:?usage: scripts/package.sh [--out DIR]}")"
    ;;
"") ;;
*)
    echo "usage: scripts/package.sh [--out DIR]" >&2
    exit 2
    ;;
esac

"$root/scripts/install-deps.sh"
"$root/scripts/install-windows-deps.sh"

# build <preset> <folder>: configures the preset and builds the plug-in alone; the chatter goes
# to the folder's package.log, shown only when the build fails.
build() {
    local preset="$1" folder="$2"
    local started=$SECONDS
    mkdir -p "$folder"
    if ! { cmake --preset "$preset" && cmake --build "$folder" -j "$jobs" --target Velmora; } \
        >"$folder/package.log" 2>&1; then
        tail -n 60 "$folder/package.log" >&2
        echo "package: the $preset build failed (whole log: $folder/package.log)" >&2
        exit 1
    fi
    printf 'package: built %s (%d s)\n' "$preset" $((SECONDS - started))
}

build release build
build win64 build-win64
build win32 build-win32

version="$(<build/version.txt)"
for folder in build-win64 build-win32; do
    if [ "$(<"$folder/version.txt")" != "$version" ]; then
        echo "package: $folder says version $(<"$folder/version.txt"), build/ says $version" >&2
        exit 1
    fi
done
if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
    echo "package: note: the work tree has uncommitted changes; the archives hold them"
fi
mtime="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}"
if ! [[ "$mtime" =~ ^[0-9]+$ ]]; then
    echo "package: no time for the files: run in a git checkout, or set SOURCE_DATE_EPOCH" >&2
    exit 1
fi

stage="$(mktemp -d "${TMPDIR:-/tmp}/velmora-package.XXXXXX")"
trap 'rm -rf "$stage"' EXIT
manual="$root/docs/manual/Velmora-Manual.pdf"

# install_note <platform> <destination>: the platform's note with the version filled in.
install_note() {
    sed "s/@VERSION@/$version/g" "$root/docs/install/$1.txt" >"$2"
}

linux="Velmora-$version-linux-x86_64"
mkdir -p "$stage/linux/$linux"
install -m 0755 build/Velmora.so "$stage/linux/$linux/Velmora.so"
install -m 0644 "$manual" "$stage/linux/$linux/"
install_note linux "$stage/linux/$linux/INSTALL.txt"

windows="Velmora-$version-windows"
for arch in x64:build-win64 x86:build-win32; do
    mkdir -p "$stage/windows/${arch%%:*}"
    install -m 0644 "${arch#*:}/Velmora.dll" "$manual" "$stage/windows/${arch%%:*}/"
done
# Windows line ends, for every editor there.
install_note windows "$stage/windows/INSTALL.txt"
sed -i 's/$/\r/' "$stage/windows/INSTALL.txt"

mkdir -p "$dist"
rm -f "$dist"/Velmora-*-linux-x86_64.tar.gz "$dist"/Velmora-*-windows.zip "$dist/SHA256SUMS"
python3 tools/package/archive.py "$dist/$linux.tar.gz" "$stage/linux" "$mtime"
python3 tools/package/archive.py "$dist/$windows.zip" "$stage/windows" "$mtime"
(cd "$dist" && sha256sum "$linux.tar.gz" "$windows.zip" >SHA256SUMS)

python3 tools/package/check_archives.py "$dist" --manual "$manual"
echo "package: wrote into $dist:"
for file in "$linux.tar.gz" "$windows.zip" SHA256SUMS; do
    printf '  %-40s %10d bytes\n' "$file" "$(stat -c %s "$dist/$file")"
done
