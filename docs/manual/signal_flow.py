"""The signal-flow diagram of the manual, drawn as SVG with cairo: the stages in the order the
audio passes them, the feedback loop, the dry path and where modulation and the sidechain
come in."""

import math

import cairo

WIDTH, HEIGHT = 900, 485

LINE = (0.19, 0.20, 0.24)
BOX_FILL = (0.95, 0.96, 0.975)
ACCENT_FILL = (1.0, 0.93, 0.80)
MOD = (0.10, 0.50, 0.80)
MUTED = (0.38, 0.40, 0.45)
FONT = "Liberation Sans"

# name: (left, top, right, bottom, title, detail lines, fill)
BOXES = {
    "input": (20, 130, 130, 195, "Input", ["gain · meters"], BOX_FILL),
    "filter_in": (165, 130, 275, 195, "Filter", ["placed IN"], BOX_FILL),
    "drive": (312, 130, 422, 195, "Drive", ["delay input only"], BOX_FILL),
    "lines": (455, 118, 615, 207, "Delay lines L · R",
              ["mute in · pre-delay", "delay time · clock"], ACCENT_FILL),
    "gate": (650, 130, 745, 195, "Gate", ["1 ms look-ahead"], BOX_FILL),
    "filter_fb": (780, 130, 880, 195, "Filter", ["placed FB or FX"], BOX_FILL),
    "matrix": (560, 235, 760, 282, "Feedback matrix", ["amount · pan · invert"], ACCENT_FILL),
    "modulation": (380, 18, 650, 70, "Modulation", ["LFO and envelope, blended by LFO/ENV"],
                   BOX_FILL),
    "echo": (20, 345, 180, 410, "Echo out", ["gate · invert · pan"], BOX_FILL),
    "mix": (230, 345, 330, 410, "Mix", ["dry : wet"], BOX_FILL),
    "reverb": (370, 345, 490, 410, "Reverb", ["spring or plate"], BOX_FILL),
    "ducking": (530, 345, 640, 410, "Ducking", ["from sidechain"], BOX_FILL),
    "output": (680, 345, 800, 410, "Output", ["gain · bypass"], BOX_FILL),
}


def _font(ctx, size, bold=False):
    ctx.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)


def _text(ctx, text, x, y):
    """Text as outlines, so that every SVG reader shows it without the font."""
    ctx.new_path()
    ctx.move_to(x, y)
    ctx.text_path(text)
    ctx.fill()


def _centred(ctx, text, x, y):
    _text(ctx, text, x - ctx.text_extents(text).x_advance / 2, y)


def _box(ctx, left, top, right, bottom, title, details, fill):
    radius = 7
    ctx.new_path()
    ctx.arc(right - radius, top + radius, radius, -math.pi / 2, 0)
    ctx.arc(right - radius, bottom - radius, radius, 0, math.pi / 2)
    ctx.arc(left + radius, bottom - radius, radius, math.pi / 2, math.pi)
    ctx.arc(left + radius, top + radius, radius, math.pi, 3 * math.pi / 2)
    ctx.close_path()
    ctx.set_source_rgb(*fill)
    ctx.fill_preserve()
    ctx.set_source_rgb(*LINE)
    ctx.set_line_width(1.4)
    ctx.stroke()
    lines = 1 + len(details)
    centre_x, centre_y = (left + right) / 2, (top + bottom) / 2
    y = centre_y - (lines - 1) * 8 + 5
    _font(ctx, 15, bold=True)
    _centred(ctx, title, centre_x, y)
    _font(ctx, 11.5)
    ctx.set_source_rgb(*MUTED)
    for detail in details:
        y += 17
        _centred(ctx, detail, centre_x, y)


def _path(ctx, points, colour=LINE, dashed=False, arrow=True, bridge=False):
    """A polyline ending in an arrowhead. A bridge first paints a wide white stroke, so that
    lines it crosses show a gap."""
    if bridge:
        ctx.set_source_rgb(1, 1, 1)
        ctx.set_line_width(9)
        ctx.new_path()
        ctx.move_to(*points[0])
        for point in points[1:]:
            ctx.line_to(*point)
        ctx.stroke()
    ctx.set_source_rgb(*colour)
    ctx.set_line_width(1.6)
    ctx.set_dash([5, 4] if dashed else [])
    ctx.new_path()
    ctx.move_to(*points[0])
    for point in points[1:]:
        ctx.line_to(*point)
    ctx.stroke()
    ctx.set_dash([])
    if arrow:
        (x0, y0), (x1, y1) = points[-2], points[-1]
        angle = math.atan2(y1 - y0, x1 - x0)
        size = 8
        ctx.move_to(x1, y1)
        ctx.line_to(x1 - size * math.cos(angle - 0.4), y1 - size * math.sin(angle - 0.4))
        ctx.line_to(x1 - size * math.cos(angle + 0.4), y1 - size * math.sin(angle + 0.4))
        ctx.close_path()
        ctx.fill()


def _label(ctx, text, x, y, colour=MUTED, size=11.5, bold=False):
    _font(ctx, size, bold)
    ctx.set_source_rgb(*colour)
    _text(ctx, text, x, y)


def _signal_paths(ctx):
    row = 162
    _path(ctx, [(2, row), (20, row)])
    _label(ctx, "in", 2, row - 8)
    for a, b in [("input", "filter_in"), ("filter_in", "drive"), ("drive", "lines"),
                 ("lines", "gate"), ("gate", "filter_fb")]:
        _path(ctx, [(BOXES[a][2], row), (BOXES[b][0], row)])
    # From the end of the first row down to the second.
    _path(ctx, [(880, row), (893, row), (893, 320), (100, 320), (100, 345)])
    for a, b in [("echo", "mix"), ("mix", "reverb"), ("reverb", "ducking"),
                 ("ducking", "output")]:
        _path(ctx, [(BOXES[a][2], 377), (BOXES[b][0], 377)])
    _path(ctx, [(800, 377), (860, 377)])
    _label(ctx, "out", 866, 381, colour=LINE, size=13)


def _feedback(ctx):
    _path(ctx, [(830, 195), (830, 258), (760, 258)])
    _path(ctx, [(560, 258), (535, 258), (535, 207)])
    _label(ctx, "repeats", 772, 250)


def _dry_path(ctx):
    ctx.set_source_rgb(*LINE)
    ctx.new_path()
    ctx.arc(293, 162, 3.5, 0, 2 * math.pi)
    ctx.fill()
    _path(ctx, [(293, 162), (293, 345)], bridge=True)
    _label(ctx, "dry", 299, 240)
    _path(ctx, [(280, 410), (280, 445), (740, 445), (740, 410)])
    _label(ctx, "dry share when the reverb is in FX mode (in OUT mode the dry signal", 20, 462)
    _label(ctx, "passes the reverb and the ducking together with the echoes)", 20, 477)


def _modulation(ctx):
    _path(ctx, [(380, 44), (220, 44), (220, 130)], colour=MOD)
    _path(ctx, [(650, 44), (830, 44), (830, 130)], colour=MOD)
    _path(ctx, [(535, 70), (535, 118)], colour=MOD)
    _label(ctx, "cutoff · reso", 226, 100, colour=MOD)
    _label(ctx, "cutoff · reso", 760, 100, colour=MOD)
    _label(ctx, "clock speed", 541, 100, colour=MOD)
    _path(ctx, [(405, 130), (430, 70)], colour=MOD, dashed=True)
    _label(ctx, "level", 422, 108, colour=MOD)


def _sidechain(ctx):
    _path(ctx, [(600, 482), (600, 410)], bridge=True)
    _label(ctx, "sidechain", 606, 478, colour=LINE)


def draw(path):
    surface = cairo.SVGSurface(str(path), WIDTH, HEIGHT)
    ctx = cairo.Context(surface)
    _signal_paths(ctx)
    _feedback(ctx)
    _modulation(ctx)
    for box in BOXES.values():
        _box(ctx, *box)
    _dry_path(ctx)
    _sidechain(ctx)
    surface.finish()
