#!/usr/bin/env bash
# Builds and runs every test the machine allows:
#   1. sanitizer build (address, undefined behaviour) in build-asan/: every test;
#   2. ThreadSanitizer build in build-tsan/: the concurrency tests;
#   3. libFuzzer targets in build-fuzz/ (clang), each over its seed corpus for a fixed run count;
#   4. optionally (VELMORA_REAL_HOSTS=1) a real host loads the plug-in;
#   5. the optimised build in build/: every test, so the output ends with ctest's summary.
# The optimised build is compiled first, so a plain compile error shows at once.
# Exits non-zero on the first failure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${VELMORA_JOBS:-2}"
fuzz_runs="${VELMORA_FUZZ_RUNS:-20000}"

stage() { printf '\n==== %s ====\n' "$*"; }

# Editor tests need an X display; give them a virtual one when there is none.
run_with_display() {
    if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
        xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
    else
        "$@"
    fi
}

configure_and_build() {
    local dir="$1"
    shift
    cmake -S "$root" -B "$root/$dir" "$@" >/dev/null
    cmake --build "$root/$dir" -j"$jobs"
}

"$root/scripts/install-deps.sh"

stage "optimised build (build/)"
configure_and_build build -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=ON

stage "address and undefined-behaviour sanitizers (build-asan/)"
configure_and_build build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_SANITIZE=address,undefined
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    run_with_display ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"

stage "thread sanitizer, concurrency tests (build-tsan/)"
cmake -S "$root" -B "$root/build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_SANITIZE=thread -DVELMORA_RENDER=OFF >/dev/null
cmake --build "$root/build-tsan" -j"$jobs" --target velmora_tests
TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}" \
    ctest --test-dir "$root/build-tsan" --output-on-failure -R 'Concurrency'

fuzz_sources=(tests/fuzz/*.cpp)
if [ -e "${fuzz_sources[0]}" ]; then
    stage "fuzz targets, ${fuzz_runs} runs each (build-fuzz/)"
    cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF \
        -DVELMORA_RENDER=OFF -DVELMORA_SANITIZE=address,undefined >/dev/null
    scratch="$(mktemp -d)"
    trap 'rm -rf "$scratch"' EXIT
    for source in "${fuzz_sources[@]}"; do
        target="$(basename "$source" .cpp)"
        cmake --build "$root/build-fuzz" -j"$jobs" --target "$target"
        corpus=()
        if [ -d "tests/fuzz/corpus/$target" ]; then
            corpus=("tests/fuzz/corpus/$target")
        fi
        # New inputs go to the scratch folder (the first one given), never into the repo.
        mkdir -p "$scratch/$target"
        echo "-- $target"
        log="$scratch/$target.log"
        if ! "$root/build-fuzz/$target" -runs="$fuzz_runs" -max_total_time=300 \
            -artifact_prefix="$root/build-fuzz/crash-$target-" \
            "$scratch/$target" "${corpus[@]}" >"$log" 2>&1; then
            tail -n 60 "$log"
            echo "fuzz target $target failed; the input is under build-fuzz/crash-$target-*" >&2
            exit 1
        fi
        tail -n 2 "$log"
    done
else
    stage "no fuzz targets in tests/fuzz/"
fi

if [ "${VELMORA_REAL_HOSTS:-0}" = "1" ]; then
    stage "real host"
    "$root/scripts/real-host-check.sh" "$root/build/Velmora.so"
fi

stage "every test, optimised build (build/)"
run_with_display ctest --test-dir "$root/build" --output-on-failure -j"$jobs"
