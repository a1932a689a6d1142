#!/usr/bin/python3
"""Draws every bitmap of the editor and writes them as BMP files named by id.

    tools/artwork/generate.py [--out resources/bitmaps] [--preview build-art]

Needs python3-cairo and the Liberation and DejaVu fonts (tools/artwork/install-deps.sh).
The output is the same bytes on every run on the same system."""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import about  # noqa: E402
import bmp  # noqa: E402
import controls  # noqa: E402
import layout  # noqa: E402
import panel  # noqa: E402
import presetbar  # noqa: E402
import preview  # noqa: E402
import strips  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def painted_origin(bitmap_id, rect):
    """Where frame (0, 0) of a strip lands on the panel: knobs paint from a source offset."""
    if bitmap_id in {k.bitmap for k in layout.KNOBS}:
        return rect[0] - layout.KNOB_SOURCE_OFFSET, rect[1] - layout.KNOB_SOURCE_OFFSET
    return rect[0], rect[1]


def backdrops(background):
    """The panel under each strip's controls. A strip shared by several controls must sit on
    identical pixels everywhere, or its corners would show a seam on some of them."""
    by_bitmap = {}
    for rect, bitmap_id in layout.all_control_rects():
        strip = layout.BITMAPS[bitmap_id]
        left, top = painted_origin(bitmap_id, rect)
        piece = strips.crop(background, left, top, strip.width, strip.frame_height)
        by_bitmap.setdefault(bitmap_id, []).append((rect, piece))
    problems = []
    for bitmap_id, pieces in by_bitmap.items():
        first = bytes(pieces[0][1].get_data())
        for rect, piece in pieces[1:]:
            if bytes(piece.get_data()) != first:
                problems.append(f"bitmap {bitmap_id}: the panel under {rect} differs from "
                                f"the panel under {pieces[0][0]}")
    return {bitmap_id: pieces[0][1] for bitmap_id, pieces in by_bitmap.items()}, problems


def label_collisions(ink):
    """Labels must stay clear of every control that paints over the panel."""
    problems = []
    for text, (x0, y0, x1, y1) in ink:
        for rect, bitmap_id in layout.all_control_rects():
            left, top, right, bottom = rect
            if x0 < right and x1 > left and y0 < bottom and y1 > top:
                problems.append(f"label {text!r} at {tuple(round(v, 1) for v in (x0, y0, x1, y1))}"
                                f" overlaps bitmap {bitmap_id} at {rect}")
    return problems


def build_all():
    """Every bitmap as a cairo surface, by id, plus the problems found on the way."""
    background = panel.draw_background()
    under, problems = backdrops(background.surface)
    problems += label_collisions(background.ink)
    surfaces = {128: background.surface, 129: about.draw_about()}
    surfaces.update(controls.all_strips(lambda bitmap_id: under[bitmap_id]))
    surfaces.update(presetbar.all_strips(lambda bitmap_id: under[bitmap_id]))
    for bitmap_id, strip in layout.BITMAPS.items():
        surface = surfaces[bitmap_id]
        if (surface.get_width(), surface.get_height()) != (strip.width, strip.height):
            problems.append(f"bitmap {bitmap_id} drawn at {surface.get_width()}x"
                            f"{surface.get_height()}, wanted {strip.width}x{strip.height}")
    return surfaces, problems


def write_bitmaps(surfaces, folder):
    os.makedirs(folder, exist_ok=True)
    for bitmap_id, strip in sorted(layout.BITMAPS.items()):
        with open(os.path.join(folder, f"{bitmap_id}.bmp"), "wb") as out:
            out.write(bmp.encode(surfaces[bitmap_id], strip.bits))


def write_previews(surfaces, folder):
    os.makedirs(folder, exist_ok=True)
    editor = preview.compose_editor(surfaces[128], surfaces)
    editor.write_to_png(os.path.join(folder, "preview.png"))
    preview.enlarged(editor, 3).write_to_png(os.path.join(folder, "preview-x3.png"))
    hovered = {c.tag: 2 for c in layout.PRESET_BAR_CONTROLS}
    hovered[99] = 4
    pressed = preview.compose_editor(surfaces[128], surfaces, readout="-6.02",
                                     meter_levels=(1, 0), hovered=hovered)
    pressed.write_to_png(os.path.join(folder, "preview-pressed.png"))
    preview.compose_about(surfaces[129]).write_to_png(os.path.join(folder, "preview-about.png"))
    for bitmap_id in sorted(layout.BITMAPS):
        if bitmap_id not in (128, 129):
            preview.enlarged(surfaces[bitmap_id], 6).write_to_png(
                os.path.join(folder, f"strip-{bitmap_id}.png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(REPO, "resources", "bitmaps"),
                        help="folder for the BMP files")
    parser.add_argument("--preview", metavar="FOLDER",
                        help="also write PNG previews of the composed panel into FOLDER")
    args = parser.parse_args()
    surfaces, problems = build_all()
    for problem in problems:
        print("artwork:", problem, file=sys.stderr)
    if problems:
        return 1
    write_bitmaps(surfaces, args.out)
    if args.preview:
        write_previews(surfaces, args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main())
