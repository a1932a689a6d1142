#!/usr/bin/env bash
# Builds and runs every test the machine allows (the builds are the presets of
# CMakePresets.json; the tests are chosen by their CTest labels):
#   1. the optimised build (build/), compiled first so a plain compile error shows at once;
#   2. address and undefined-behaviour sanitizers (build-asan/): every test;
#   3. ThreadSanitizer (build-tsan/): the tests labelled concurrency;
#   4. libFuzzer targets (build-fuzz/, clang), each over its seed corpus for a fixed run count;
#   5. the Windows DLLs, cross-built and tested under Wine (scripts/test-windows.sh; skipped
#      when VELMORA_WINDOWS=0);
#   6. optionally (VELMORA_REAL_HOSTS=1) a real host loads the plug-in;
#   7. the optimised build: every test, so the output ends with ctest's summary.
# `scripts/test.sh --quick` is the edit-compile-test loop: the optimised build and every test
# not labelled slow. Build output goes to build*/build.log and is shown only when a build fails.
# Exits non-zero on the first failure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${VELMORA_JOBS:-2}"
fuzz_runs="${VELMORA_FUZZ_RUNS:-20000}"
quick=0
case "${1:-}" in
--quick) quick=1 ;;
"") ;;
*)
    echo "usage: scripts/test.sh [--quick]" >&2
    exit 2
    ;;
esac

started=$SECONDS
stage_started=$SECONDS
stage_name=""
end_stage() {
    if [ -n "$stage_name" ]; then
        printf -- '---- %s: %d s\n' "$stage_name" $((SECONDS - stage_started))
    fi
}
stage() {
    end_stage
    stage_name="$*"
    stage_started=$SECONDS
    printf '\n==== %s ====\n' "$*"
}

# Editor tests need an X display; give them a virtual one when there is none.
run_with_display() {
    if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
        xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"
    else
        "$@"
    fi
}

# configure_and_build <preset> [build targets...]: the build's chatter goes to its log, which
# is printed only when the build fails.
configure_and_build() {
    local preset="$1"
    shift
    local dir
    dir="$root/$(preset_dir "$preset")"
    mkdir -p "$dir"
    local log="$dir/build.log"
    local targets=()
    if [ $# -gt 0 ]; then
        targets=(--target "$@")
    fi
    if ! { cmake --preset "$preset" && cmake --build "$dir" -j"$jobs" "${targets[@]}"; } \
        >"$log" 2>&1; then
        grep -E -B2 -A12 'error|Error|failed' "$log" | tail -n 80 || tail -n 80 "$log"
        echo "build $preset failed; the whole output is in $log" >&2
        exit 1
    fi
    echo "built $preset ($(grep -c 'warning:' "$log" || true) compiler warnings; log: $log)"
}

preset_dir() {
    case "$1" in
    release) echo build ;;
    *) echo "build-$1" ;;
    esac
}

"$root/scripts/install-deps.sh"
windows="${VELMORA_WINDOWS:-1}"
if [ "$quick" = "0" ] && [ "$windows" = "1" ]; then
    "$root/scripts/install-windows-deps.sh"
fi

stage "optimised build (build/)"
configure_and_build release

if [ "$quick" = "1" ]; then
    stage "quick: every test not labelled slow, optimised build"
    run_with_display ctest --test-dir "$root/build" --output-on-failure -j"$jobs" -LE slow
    end_stage
    printf 'quick run: %d s\n' $((SECONDS - started))
    exit 0
fi

stage "address and undefined-behaviour sanitizers (build-asan/)"
configure_and_build asan
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    run_with_display ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"

stage "thread sanitizer, concurrency tests (build-tsan/)"
configure_and_build tsan velmora_concurrency_tests
TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}" \
    ctest --test-dir "$root/build-tsan" --output-on-failure -L concurrency

fuzz_sources=(tests/fuzz/*.cpp)
if [ -e "${fuzz_sources[0]}" ]; then
    stage "fuzz targets, ${fuzz_runs} runs each (build-fuzz/)"
    targets=()
    for source in "${fuzz_sources[@]}"; do
        targets+=("$(basename "$source" .cpp)")
    done
    configure_and_build fuzz "${targets[@]}"
    scratch="$(mktemp -d)"
    trap 'rm -rf "$scratch"' EXIT
    for target in "${targets[@]}"; do
        corpus=()
        if [ -d "tests/fuzz/corpus/$target" ]; then
            corpus=("tests/fuzz/corpus/$target")
        fi
        # New inputs go to the scratch folder (the first one given), never into the repo.
        mkdir -p "$scratch/$target"
        log="$scratch/$target.log"
        target_started=$SECONDS
        if ! "$root/build-fuzz/$target" -runs="$fuzz_runs" -max_total_time=300 \
            -artifact_prefix="$root/build-fuzz/crash-$target-" \
            "$scratch/$target" "${corpus[@]}" >"$log" 2>&1; then
            tail -n 60 "$log"
            echo "fuzz target $target failed; the input is under build-fuzz/crash-$target-*" >&2
            exit 1
        fi
        printf -- '-- %s: %s (%d s)\n' "$target" "$(grep -E '^Done|^#[0-9]+.*DONE' "$log" |
            tail -n 1)" $((SECONDS - target_started))
    done
else
    stage "no fuzz targets in tests/fuzz/"
fi

if [ "$windows" = "1" ]; then
    stage "Windows DLLs under Wine (build-win64/, build-win32/)"
    "$root/scripts/test-windows.sh"
fi

if [ "${VELMORA_REAL_HOSTS:-0}" = "1" ]; then
    stage "real host"
    "$root/scripts/real-host-check.sh" "$root/build/Velmora.so"
fi

stage "every test, optimised build (build/)"
run_with_display ctest --test-dir "$root/build" --output-on-failure -j"$jobs"
end_stage
printf 'whole run: %d s\n' $((SECONDS - started))
