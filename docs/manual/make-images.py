#!/usr/bin/python3
"""Draws the manual's pictures into docs/manual/images/.

The panel pictures come from the snapshot tool (the editor's own drawing code, offscreen);
this script only chooses the control values, crops, enlarges and labels them. The signal-flow
diagram is drawn here as SVG.

    docs/manual/make-images.py [--snapshot build/velmora-snapshot]

Needs python3-cairo and fonts-liberation2 (tools/artwork/install-deps.sh installs both).
"""

import argparse
import pathlib
import subprocess
import sys
import tempfile

import cairo

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools" / "artwork"))

import layout  # noqa: E402  (the panel's places and labels, shared with the artwork)
import theme  # noqa: E402

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import signal_flow  # noqa: E402

OUT = pathlib.Path(__file__).resolve().parent / "images"

# Pixel art is enlarged by whole factors without smoothing, so labels stay sharp in print.
PANEL_SCALE = 2
DETAIL_SCALE = 3

CALLOUT = (0.22, 0.78, 1.0)
INK = (0.13, 0.14, 0.16)
PAPER = (1.0, 1.0, 1.0)

# Readout elements by tag: digit 1 has 13 frames (blank, 0..9, minus, plus), digits 2..4 have
# 11 (blank, 0..9); points and colons are dark or lit.
DIGIT_TAGS = [64, 65, 66, 67]
POINT_TAGS = [68, 69, 70]
COLON_TAGS = [71, 72, 73]


def readout_values(text):
    """The --value pairs that make the readout show `text`, e.g. '120.0', '+0.00', '50:50' or
    '3 :16' (a blank digit is a space)."""
    digits, marks = [], {}
    for ch in text:
        if ch in ".:":
            marks[len(digits) - 1] = ch
        else:
            digits.append(ch)
    if len(digits) != 4:
        raise ValueError(f"readout text needs four digit places: {text!r}")
    values = {}
    for place, (tag, ch) in enumerate(zip(DIGIT_TAGS, digits)):
        last = 12 if place == 0 else 10
        frame = 0 if ch == " " else 11 if ch == "-" else 12 if ch == "+" else int(ch) + 1
        values[tag] = frame / last
    for place in range(3):
        values[POINT_TAGS[place]] = 1.0 if marks.get(place) == "." else 0.0
        values[COLON_TAGS[place]] = 1.0 if marks.get(place) == ":" else 0.0
    return values


def panel_values(readout="120.0"):
    """A lively panel: the knob, button and switch settings of the artwork preview, the left
    page on show, some level on the meters and `readout` in the display."""
    values = {knob.tag: knob.value for knob in layout.KNOBS}
    values.update({button.tag: 1.0 if button.on else 0.0 for button in layout.ON_OFF_BUTTONS})
    for switch in layout.SWITCHES:
        values[switch.tag] = switch.position / (len(switch.positions) - 1)
    values.update({9: 0.0, 80: 0.75, 81: 0.65, 91: 0.0, 92: 1.0})
    values.update(readout_values(readout))
    return values


def snapshot(tool, values, about=False):
    """Runs the snapshot tool and returns its picture as a cairo surface."""
    with tempfile.TemporaryDirectory() as scratch:
        target = pathlib.Path(scratch) / "panel.png"
        command = [str(tool), "--output", str(target)]
        for tag, value in sorted(values.items()):
            command += ["--value", f"{tag}={value:.6f}"]
        if about:
            command.append("--about")
        subprocess.run(command, check=True)
        return cairo.ImageSurface.create_from_png(str(target))


def enlarged(source, box, scale, margin_top=0, margin_bottom=0, min_width=0):
    """The part `box` (left, top, right, bottom) of `source`, enlarged `scale` times, on a
    white surface with extra room above and below for labels and at least `min_width` pixels
    wide. Returns (surface, context)."""
    left, top, right, bottom = box
    width, height = (right - left) * scale, (bottom - top) * scale
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, max(width, min_width),
                                 height + margin_top + margin_bottom)
    ctx = theme.new_context(surface)
    ctx.set_source_rgb(*PAPER)
    ctx.paint()
    ctx.save()
    ctx.translate(0, margin_top)
    ctx.rectangle(0, 0, width, height)
    ctx.clip()
    ctx.scale(scale, scale)
    ctx.set_source_surface(source, -left, -top)
    ctx.get_source().set_filter(cairo.FILTER_NEAREST)
    ctx.paint()
    ctx.restore()
    return surface, ctx


def badge(ctx, x, y, number, radius=13):
    ctx.new_path()
    ctx.arc(x, y, radius, 0, 6.2832)
    ctx.set_source_rgb(*CALLOUT)
    ctx.fill_preserve()
    ctx.set_source_rgb(*INK)
    ctx.set_line_width(1.5)
    ctx.stroke()
    theme.set_font(ctx, radius * 1.25)
    text = str(number)
    extents = ctx.text_extents(text)
    ctx.move_to(x - extents.x_advance / 2 - extents.x_bearing, y + extents.height / 2)
    ctx.show_text(text)
    ctx.new_path()


# The panel's areas as the tour numbers them: number, its rectangles (left, top, right,
# bottom) and where its badge goes: above the panel or below it, at a panel x.
TOUR_AREAS = [
    (1, [(24, 6, 80, 152)], "above", 52),                         # meters, pages, link
    (2, [(80, 6, 152, 152)], "above", 116),                       # pre-delay and delay
    (3, [(152, 6, 289, 152)], "above", 220),                      # feedback, echo out
    (4, [(289, 12, 378, 72)], "above", 333),                      # readout, bypass
    (5, [(289, 72, 378, 152)], "below", 333),                     # LFO
    (6, [(378, 6, 567, 76)], "above", 472),                       # in/out
    (7, [(378, 76, 567, 152)], "below", 472),                     # modulation
    (8, [(567, 6, 619, 152), (619, 80, 672, 152)], "above", 593),  # clock and its ON
    (9, [(619, 6, 816, 80), (672, 80, 816, 152)], "above", 717),   # filter, drive, mod
    (10, [(816, 6, 919, 152)], "above", 867),                     # reverb
    (11, [(24, 153, 919, 171)], "below", 200),                    # preset bar
    (12, [(2, 2, 21, 153), (921, 2, 940, 153)], "below", 11),     # about
]
TOUR_MARGIN = 60


def draw_tour(panel):
    scale = PANEL_SCALE
    surface, ctx = enlarged(panel, (0, 0, layout.PANEL_WIDTH, layout.PANEL_HEIGHT), scale,
                            margin_top=TOUR_MARGIN, margin_bottom=TOUR_MARGIN)
    panel_bottom = TOUR_MARGIN + layout.PANEL_HEIGHT * scale
    for number, rects, side, badge_x in TOUR_AREAS:
        ctx.set_source_rgba(*CALLOUT, 0.9)
        ctx.set_line_width(2.5)
        for left, top, right, bottom in rects:
            ctx.rectangle(left * scale + 2, TOUR_MARGIN + top * scale + 2,
                          (right - left) * scale - 4, (bottom - top) * scale - 4)
            ctx.stroke()
        x = badge_x * scale
        first_top, first_bottom = rects[0][1], rects[0][3]
        if side == "above":
            y, edge = TOUR_MARGIN / 2, TOUR_MARGIN + first_top * scale + 2
        else:
            y, edge = panel_bottom + TOUR_MARGIN / 2, TOUR_MARGIN + first_bottom * scale - 2
        ctx.set_source_rgb(*CALLOUT)
        ctx.set_line_width(3)
        ctx.move_to(x, y)
        ctx.line_to(x, edge)
        ctx.stroke()
        badge(ctx, x, y, number, radius=22)
    surface.write_to_png(str(OUT / "panel-tour.png"))


def draw_detail(panel, name, box):
    surface, _ = enlarged(panel, box, DETAIL_SCALE)
    surface.write_to_png(str(OUT / f"{name}.png"))


# The preset bar's controls with the names the manual gives them, left to right; the x is
# where the leader line meets the control, in panel pixels, and the row staggers the labels.
PRESET_BAR_LABELS = [
    (44, "save bank", 0), (69, "default bank", 1), (95, "load bank", 0),
    (124, "save preset", 1), (156, "default preset", 0), (187, "load preset", 1),
    (266, "program name", 0), (328, "program list", 1), (357, "previous / next", 0),
    (398, "store A", 1), (431, "recall A", 0), (462, "store B", 1), (496, "recall B", 0),
    (661, "save MIDI", 0), (685, "default MIDI", 1), (709, "load MIDI", 0),
    (778, "controller", 1), (843, "learn", 0), (868, "forget", 1),
    (904, "keyboard focus", 0), (925, "manual", 1),
]


def draw_preset_bar(panel):
    """The preset bar in two halves, each with its controls named above it."""
    scale = PANEL_SCALE
    halves = [("presetbar-left", 0, 520), ("presetbar-right", 520, 942)]
    label_room = 70
    # Both halves get the same width, so that the page shows them at the same size.
    widest = max(right - left for _, left, right in halves) * scale
    for name, left, right in halves:
        surface, ctx = enlarged(panel, (left, 153, right, 171), scale, margin_top=label_room,
                                min_width=widest)
        theme.set_font(ctx, 17, bold=False)
        for x, text, row in PRESET_BAR_LABELS:
            if not left <= x < right:
                continue
            px = (x - left) * scale
            text_y = 22 if row == 0 else 48
            width = theme.text_width(ctx, text)
            tx = min(max(px - width / 2, 2), (right - left) * scale - width - 2)
            ctx.set_source_rgb(*INK)
            ctx.move_to(tx, text_y)
            ctx.show_text(text)
            ctx.set_source_rgb(*CALLOUT)
            ctx.set_line_width(1.5)
            ctx.move_to(px, text_y + 5)
            ctx.line_to(px, label_room + 8)
            ctx.stroke()
        surface.write_to_png(str(OUT / f"{name}.png"))


READOUT_EXAMPLES = [
    ("120.0", "tempo 120 BPM"),
    ("+0.00", "input at 0 dB"),
    ("50:50", "mix 50:50"),
    ("1.200", "cutoff 1.2 kHz"),
    ("3 :16", "note value 3/16"),
]


def draw_readouts(tool):
    scale = 3
    left, top, right, bottom = layout.READOUT_WINDOW
    cell_width, cell_height = (right - left) * scale, (bottom - top) * scale
    gap, caption = 24, 36
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24,
                                 len(READOUT_EXAMPLES) * (cell_width + gap) - gap,
                                 cell_height + caption)
    ctx = theme.new_context(surface)
    ctx.set_source_rgb(*PAPER)
    ctx.paint()
    for index, (text, meaning) in enumerate(READOUT_EXAMPLES):
        panel = snapshot(tool, readout_values(text))
        x = index * (cell_width + gap)
        ctx.save()
        ctx.translate(x, 0)
        ctx.rectangle(0, 0, cell_width, cell_height)
        ctx.clip()
        ctx.scale(scale, scale)
        ctx.set_source_surface(panel, -left, -top)
        ctx.get_source().set_filter(cairo.FILTER_NEAREST)
        ctx.paint()
        ctx.restore()
        theme.set_font(ctx, 21, bold=False)
        ctx.set_source_rgb(*INK)
        ctx.move_to(x + (cell_width - theme.text_width(ctx, meaning)) / 2, cell_height + 27)
        ctx.show_text(meaning)
    surface.write_to_png(str(OUT / "readout-examples.png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--snapshot", default=str(ROOT / "build" / "velmora-snapshot"),
                        help="the built snapshot tool")
    arguments = parser.parse_args()
    OUT.mkdir(parents=True, exist_ok=True)
    # First, so that cairo's surface numbering, which the SVG records, is the same every run.
    signal_flow.draw(OUT / "signal-flow.svg")

    panel = snapshot(arguments.snapshot, panel_values())
    surface, _ = enlarged(panel, (0, 0, layout.PANEL_WIDTH, layout.PANEL_HEIGHT), PANEL_SCALE)
    surface.write_to_png(str(OUT / "panel.png"))
    draw_tour(panel)
    for name, box in [("detail-channel", (22, 4, 290, 153)),
                      ("detail-centre", (287, 4, 569, 153)),
                      ("detail-right", (565, 4, 921, 153))]:
        draw_detail(panel, name, box)
    draw_preset_bar(panel)
    draw_readouts(arguments.snapshot)
    about = snapshot(arguments.snapshot, {}, about=True)
    surface, _ = enlarged(about, (0, 0, layout.PANEL_WIDTH, layout.PANEL_HEIGHT), PANEL_SCALE)
    surface.write_to_png(str(OUT / "about.png"))


if __name__ == "__main__":
    main()
