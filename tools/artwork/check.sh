#!/usr/bin/env bash
# Runs the generator's tests, then regenerates the artwork twice into temporary folders and
# checks that both runs give the same bytes as each other and as resources/bitmaps.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
committed="$here/../../resources/bitmaps"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

/usr/bin/python3 -m unittest discover -s "$here/../../tests/artwork" 2>&1 | tail -1
"$here/generate.py" --out "$scratch/first"
"$here/generate.py" --out "$scratch/second"
diff -r "$scratch/first" "$scratch/second" >/dev/null \
    || { echo "artwork: two runs of the generator differ" >&2; exit 1; }
diff -r "$scratch/first" "$committed" \
    || { echo "artwork: the committed bitmaps are not what the generator draws" >&2; exit 1; }
echo "artwork: $(ls "$committed" | wc -l) bitmaps, reproducible and up to date"
