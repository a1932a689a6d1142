#!/usr/bin/env bash
# Regenerates the glyph atlas and compares it with the committed one: the generator must give
# the same bytes, and nobody may edit the generated file by hand. Exits 77 (skipped) when the
# generator's packages (python3-cairo, fonts-liberation2) are not installed.
set -euo pipefail
source_dir="$1"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
font="$(fc-match -f '%{file}' 'Liberation Sans' 2>/dev/null || true)"
if ! /usr/bin/python3 -c 'import cairo' 2>/dev/null || [[ "$font" != *LiberationSans-Regular* ]]; then
    echo "check_atlas: python3-cairo or fonts-liberation2 missing; skipped"
    exit 77
fi
/usr/bin/python3 "$source_dir/tools/fontatlas/generate_font_atlas.py" "$out"
cmp "$out" "$source_dir/toolkit/text/GlyphAtlasData.cpp"
