#!/usr/bin/env bash
# The Windows stage: cross-builds Velmora.dll and its tests with MinGW-w64 (presets win64 and
# win32, build-win64/ and build-win32/) and runs them under Wine in a prefix of its own, made
# in a temporary folder and removed afterwards, so every run starts from a fresh registry:
#   1. the DLL's import table lists only system DLLs and its exports are VSTPluginMain and main;
#   2. the unit tests (engine, presets, plug-in, the Windows platform seams, the bitmap
#      resources);
#   3. the integration tests: the project's host harness loads the DLL through its entry, checks
#      the record, renders audio whose bits must equal the Linux build's, keeps state;
#   4. the editor's window tests, on a virtual X display (xvfb-run) that Wine's X11 driver shows
#      the windows on: the DLL's editor opened in a host window, driven with synthesized input,
#      its pixels compared with the Linux build's.
# Needs scripts/install-windows-deps.sh. A machine that cannot run 32-bit programs (the kernel's
# 32-bit emulation turned off) builds and checks the 32-bit DLL but cannot run it: that is
# reported, and only the 64-bit tests run. `--arch win64` or `--arch win32` picks one.
# Build output goes to build-win*/build.log and is shown only when a build fails.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${VELMORA_JOBS:-2}"
presets=(win64 win32)
case "${1:-}" in
--arch)
    presets=("${2:?usage: scripts/test-windows.sh [--arch win64|win32]}")
    ;;
"") ;;
*)
    echo "usage: scripts/test-windows.sh [--arch win64|win32]" >&2
    exit 2
    ;;
esac

for tool in x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix wineserver /usr/lib/wine/wine64 \
    xvfb-run; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "test-windows: $tool is missing: run scripts/install-windows-deps.sh" >&2
        exit 1
    fi
done

stage() { printf -- '---- %s\n' "$*"; }

prefix="$(mktemp -d "${TMPDIR:-/tmp}/velmora-wine.XXXXXX")"
cleanup() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Only the window tests need a display, and they get a virtual one of their own.
unset DISPLAY

# 32-bit programs need the kernel's 32-bit emulation, which some machines turn off.
can_run_32bit() {
    local loader=/lib/ld-linux.so.2
    [ -x "$loader" ] && "$loader" --help >/dev/null 2>&1
}

wine_ready=0
prepare_wine() {
    if [ "$wine_ready" -eq 0 ]; then
        stage "wine prefix ($prefix)"
        local started=$SECONDS
        # A 64-bit prefix; it also serves 32-bit programs where the machine can run them.
        WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
        wineserver -w
        printf 'wineboot: %d s\n' $((SECONDS - started))
        wine_ready=1
    fi
}

# Without a window manager, Wine waits for one to answer about every window it hides (two
# seconds each); windows it does not leave to a manager are placed and stacked by Wine itself.
display_ready=0
prepare_display() {
    if [ "$display_ready" -eq 0 ]; then
        /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        display_ready=1
    fi
    # Programs started from here on bring up Wine's desktop on the display, not without one.
    wineserver -w
}

build() {
    local preset="$1"
    shift
    local folder="build-$preset"
    if ! { cmake --preset "$preset" && cmake --build "$folder" -j "$jobs" --target "$@"; } \
        >"$folder.log" 2>&1; then
        tail -n 60 "$folder.log" >&2
        echo "test-windows: the $preset build failed (whole log: $folder.log)" >&2
        return 1
    fi
    mv "$folder.log" "$folder/build.log"
}

check_module() {
    local dll="$1"
    local dump
    dump="$(x86_64-w64-mingw32-objdump -p "$dll")"
    local imports
    imports="$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr '[:upper:]' '[:lower:]' | sort -u)"
    local system='^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|msvcrt|ole32|comctl32|shlwapi)\.dll$'
    local foreign
    foreign="$(grep -Ev "$system" <<<"$imports" || true)"
    if [ -n "$foreign" ]; then
        echo "test-windows: $dll imports more than system DLLs: $foreign" >&2
        return 1
    fi
    local exports
    exports="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')"
    if [ "$exports" != "VSTPluginMain main " ]; then
        echo "test-windows: $dll exports '$exports', not exactly VSTPluginMain and main" >&2
        return 1
    fi
    echo "$dll: imports $(tr '\n' ' ' <<<"$imports"); exports $exports"
}

failed=0
for preset in "${presets[@]}"; do
    started=$SECONDS
    runnable=1
    if [ "$preset" = win32 ] && ! can_run_32bit; then
        runnable=0
    fi
    stage "$preset: cross build"
    if [ "$runnable" = 1 ]; then
        build "$preset" Velmora velmora_unit_tests velmora_integration_tests velmora_resources_tests \
            velmora_window_tests
    else
        # Tests that cannot run here are not worth their build time.
        build "$preset" Velmora
    fi
    printf 'build: %d s\n' $((SECONDS - started))
    check_module "build-$preset/Velmora.dll"
    if [ "$runnable" = 0 ]; then
        echo "test-windows: this machine cannot run 32-bit programs; win32 built and checked, not run"
        continue
    fi
    prepare_wine
    stage "$preset: tests under Wine"
    started=$SECONDS
    if ! ctest --test-dir "build-$preset" -R '^velmora_(unit|integration|resources)_tests$' \
        --output-on-failure; then
        failed=1
    fi
    printf 'tests under Wine: %d s\n' $((SECONDS - started))

    stage "$preset: editor windows under Wine on a virtual display"
    started=$SECONDS
    prepare_display
    if ! xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --test-dir "build-$preset" -R '^velmora_window_tests$' --output-on-failure; then
        failed=1
    fi
    printf 'window tests under Wine: %d s\n' $((SECONDS - started))
done
exit "$failed"
