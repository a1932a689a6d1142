"""The bitmap strips of the editor's controls: knobs, switches, buttons, readout and meters."""

import math
import cairo

import strips
from layout import BIPOLAR_KNOB_BITMAPS, BITMAPS, KNOB_FRAMES, KNOB_SOURCE_OFFSET, KNOBS
from theme import (ACCENT, ACCENT_DIM, DIGIT_LIT, DIGIT_UNLIT, KNOB_BODY_BOTTOM, KNOB_BODY_TOP,
                   LABEL, LABEL_DIM, LED_GREEN, LED_GREEN_DIM, LED_RED, LED_RED_DIM, PLATE_EDGE,
                   POINTER, READOUT_GLASS, TRACK, WELL, led, mix, rounded_rect, set_font,
                   vertical_gradient)

# The knob's travel: 270 degrees, from down-left clockwise to down-right (cairo angles run
# clockwise because y points down).
KNOB_START = math.radians(135)
KNOB_SWEEP = math.radians(270)


def knob(bitmap_id, visible_size, backdrop):
    """A knob: a value arc around a shaded cap with a pointer. Frame k shows the value k/100.

    Only the visible_size square at the source offset is ever painted on the panel, so the
    knob is centred there."""
    bipolar = bitmap_id in BIPOLAR_KNOB_BITMAPS
    centre = KNOB_SOURCE_OFFSET + visible_size / 2
    ring = visible_size / 2 - 2.3

    def draw(ctx, frame, width, height):
        value = frame / (KNOB_FRAMES - 1)
        angle = KNOB_START + KNOB_SWEEP * value
        ctx.set_line_cap(cairo.LINE_CAP_BUTT)
        ctx.set_line_width(2.6)
        ctx.set_source_rgb(*TRACK)
        ctx.arc(centre, centre, ring, KNOB_START, KNOB_START + KNOB_SWEEP)
        ctx.stroke()
        origin = KNOB_START + KNOB_SWEEP / 2 if bipolar else KNOB_START
        lo, hi = sorted((origin, angle))
        ctx.set_source_rgb(*ACCENT)
        if hi - lo < 0.02:  # at the origin the arc shrinks to a short mark
            lo, hi = origin - 0.04, origin + 0.04
        ctx.arc(centre, centre, ring, lo, hi)
        ctx.stroke()
        # Shadow, cap and its rim.
        body = ring - 3.6
        ctx.set_source_rgba(0, 0, 0, 0.45)
        ctx.arc(centre + 0.4, centre + 1.0, body + 0.6, 0, 2 * math.pi)
        ctx.fill()
        shade = cairo.LinearGradient(0, centre - body, 0, centre + body)
        shade.add_color_stop_rgb(0, *KNOB_BODY_TOP)
        shade.add_color_stop_rgb(1, *KNOB_BODY_BOTTOM)
        ctx.set_source(shade)
        ctx.arc(centre, centre, body, 0, 2 * math.pi)
        ctx.fill()
        face = cairo.RadialGradient(centre - 2, centre - 3, 0, centre, centre, body - 1.2)
        face.add_color_stop_rgb(0, *mix(KNOB_BODY_TOP, KNOB_BODY_BOTTOM, 0.35))
        face.add_color_stop_rgb(1, *mix(KNOB_BODY_TOP, KNOB_BODY_BOTTOM, 0.75))
        ctx.set_source(face)
        ctx.arc(centre, centre, body - 1.2, 0, 2 * math.pi)
        ctx.fill()
        # Pointer from near the centre to the rim.
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.set_line_width(2.0)
        ctx.set_source_rgb(*POINTER)
        ctx.move_to(centre + math.cos(angle) * 3.2, centre + math.sin(angle) * 3.2)
        tip = body - 1.4
        ctx.line_to(centre + math.cos(angle) * tip, centre + math.sin(angle) * tip)
        ctx.stroke()

    return strips.build(bitmap_id, draw, backdrop)


def slide_switch(bitmap_id, backdrop):
    """A slide switch: a dark slot with a lit cap in the zone of the active position.

    The zones match the switch's click zones (the bitmap width divided by the positions)."""
    strip = BITMAPS[bitmap_id]
    positions = strip.frames
    zone = strip.width / positions

    def draw(ctx, frame, width, height):
        rounded_rect(ctx, 0.5, 0.5, width - 0.5, height - 0.5, 2)
        ctx.set_source_rgb(*WELL)
        ctx.fill_preserve()
        ctx.set_source_rgb(*PLATE_EDGE)
        ctx.set_line_width(1)
        ctx.stroke()
        for position in range(positions):  # faint dots mark the other stops
            ctx.set_source_rgb(*mix(WELL, LABEL_DIM, 0.45))
            ctx.rectangle(round(position * zone + zone / 2) - 0.5, height / 2 - 0.5, 1, 1)
            ctx.fill()
        left = frame * zone + 1.5
        right = (frame + 1) * zone - 1.5
        rounded_rect(ctx, left, 1.5, right, height - 1.5, 1.2)
        ctx.set_source(vertical_gradient(mix(ACCENT, (1, 1, 1), 0.25), ACCENT, 1.5, height - 1.5))
        ctx.fill()

    return strips.build(bitmap_id, draw, backdrop)


def _button_body(ctx, left, top, right, bottom, pressed):
    rounded_rect(ctx, left, top + 1, right, bottom + 1, 2.5)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.fill()
    rounded_rect(ctx, left, top, right, bottom, 2.5)
    top_colour = mix(KNOB_BODY_TOP, KNOB_BODY_BOTTOM, 0.45 if pressed else 0.0)
    ctx.set_source(vertical_gradient(top_colour, KNOB_BODY_BOTTOM, top, bottom))
    ctx.fill_preserve()
    ctx.set_source_rgba(1, 1, 1, 0.08)
    ctx.set_line_width(1)
    ctx.stroke()


def on_off_button(bitmap_id, lit_colour, dim_colour, backdrop):
    """A push button with an LED: the upper frame off, the lower frame on."""

    def draw(ctx, frame, width, height):
        on = frame == 1
        _button_body(ctx, 2.5, 2.5, width - 2.5, height - 3.5, on)
        led(ctx, width / 2, height / 2 - 0.5, 2.6, lit_colour, dim_colour, on)

    return strips.build(bitmap_id, draw, backdrop)


def kick_button(bitmap_id, pointing_right, backdrop):
    """A stepper button with an arrow; the second frame is the button held down."""

    def draw(ctx, frame, width, height):
        pressed = frame == 1
        _button_body(ctx, 2.5, 2.5, width - 2.5, height - 3.5, pressed)
        cx, cy = width / 2, height / 2 - 0.5 + (0.5 if pressed else 0)
        direction = 1 if pointing_right else -1
        ctx.move_to(cx + 3.2 * direction, cy)
        ctx.line_to(cx - 2.2 * direction, cy - 3.6)
        ctx.line_to(cx - 2.2 * direction, cy + 3.6)
        ctx.close_path()
        ctx.set_source_rgb(*(ACCENT if pressed else LABEL))
        ctx.fill()

    return strips.build(bitmap_id, draw, backdrop)


# Seven-segment shapes in a 13 by 16 cell, as (x, y, horizontal) of each segment's start.
SEGMENTS = {
    "a": (3.4, 1.6, True), "b": (10.6, 2.2, False), "c": (10.6, 8.4, False),
    "d": (3.4, 14.4, True), "e": (2.4, 8.4, False), "f": (2.4, 2.2, False),
    "g": (3.4, 8.0, True),
}
SEGMENT_LENGTH_H, SEGMENT_LENGTH_V, SEGMENT_THICKNESS = 6.2, 5.4, 1.8
DIGIT_SEGMENTS = ["abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc",
                  "abcdefg", "abcdfg"]


def _segment(ctx, name):
    x, y, horizontal = SEGMENTS[name]
    t = SEGMENT_THICKNESS / 2
    if horizontal:
        length = SEGMENT_LENGTH_H
        ctx.move_to(x, y)
        ctx.line_to(x + t, y - t)
        ctx.line_to(x + length - t, y - t)
        ctx.line_to(x + length, y)
        ctx.line_to(x + length - t, y + t)
        ctx.line_to(x + t, y + t)
    else:
        length = SEGMENT_LENGTH_V
        ctx.move_to(x, y)
        ctx.line_to(x + t, y + t)
        ctx.line_to(x + t, y + length - t)
        ctx.line_to(x, y + length)
        ctx.line_to(x - t, y + length - t)
        ctx.line_to(x - t, y + t)
    ctx.close_path()


def _led_shape(ctx, paths, lit):
    """Fills shapes as lit LED segments (with a soft glow) or as dark ones."""
    if lit:
        ctx.set_source_rgba(*DIGIT_LIT, 0.28)
        ctx.set_line_width(1.6)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        for path in paths:
            path(ctx)
            ctx.stroke()
    ctx.set_source_rgb(*(DIGIT_LIT if lit else DIGIT_UNLIT))
    for path in paths:
        path(ctx)
        ctx.fill()


def readout_digit(bitmap_id):
    """Frame 0 blank, frames 1 to 10 the digits 0 to 9, then (sign digit only) minus and plus.

    Unlit segments stay faintly visible, as on a real LED display."""
    glyphs = [""] + DIGIT_SEGMENTS + ["g", "g+"]

    def draw(ctx, frame, width, height):
        ctx.set_source_rgb(*READOUT_GLASS)
        ctx.paint()
        lit = glyphs[frame]
        for name in SEGMENTS:
            if name not in lit:
                _led_shape(ctx, [lambda c, n=name: _segment(c, n)], False)
        shapes = [lambda c, n=name: _segment(c, n) for name in SEGMENTS if name in lit]
        if lit.endswith("+"):  # the vertical stroke of the plus sign
            shapes.append(lambda c: c.rectangle(5.6, 5.2, 1.8, 5.6))
        _led_shape(ctx, shapes, True)

    return strips.build(bitmap_id, draw)


def readout_dots(bitmap_id, centres):
    """Colons and decimal points: frame 0 dark, frame 1 lit."""

    def draw(ctx, frame, width, height):
        ctx.set_source_rgb(*READOUT_GLASS)
        ctx.paint()
        dots = [lambda c, x=x, y=y: c.rectangle(x - 0.9, y - 0.9, 1.8, 1.8) for x, y in centres]
        _led_shape(ctx, dots, frame == 1)

    return strips.build(bitmap_id, draw)


def meter():
    """A vertical LED bar, green, amber from -6 dB, red from -1.5 dB, behind a fine grille.

    Frame k of 21 lights the lowest round(45 k / 20) rows, so every frame shows a new level."""
    strip = BITMAPS[153]
    steps = strip.frames - 1

    def colours(row_from_bottom, height):
        level = (row_from_bottom + 0.5) / height  # 0 at -24 dB, 1 at 0 dB
        if level >= 1 - 1.5 / 24:
            return LED_RED, LED_RED_DIM
        if level >= 1 - 6 / 24:
            return ACCENT, ACCENT_DIM
        return LED_GREEN, LED_GREEN_DIM

    def draw(ctx, frame, width, height):
        ctx.set_source_rgb(*WELL)
        ctx.paint()
        lit_rows = round(height * frame / steps)
        for row in range(height):
            lit, dim = colours(row, height)
            colour = lit if row < lit_rows else dim
            if row % 3 == 2:  # the grille between segments
                colour = mix(colour, WELL, 0.6)
            ctx.set_source_rgb(*colour)
            ctx.rectangle(1, height - 1 - row, width - 2, 1)
            ctx.fill()

    return strips.build(153, draw)


def page_selector(bitmap_id, word, backdrop):
    """A tall page tab: frame 0 is the page on show (lit), frame 1 the other page."""

    def draw(ctx, frame, width, height):
        shown = frame == 0
        rounded_rect(ctx, 0.5, 0.5, width - 0.5, height - 0.5, 2.5)
        top = mix(KNOB_BODY_TOP, KNOB_BODY_BOTTOM, 0.2 if shown else 0.5)
        ctx.set_source(vertical_gradient(top, KNOB_BODY_BOTTOM, 0, height))
        ctx.fill_preserve()
        ctx.set_source_rgba(1, 1, 1, 0.08)
        ctx.set_line_width(1)
        ctx.stroke()
        led(ctx, width / 2, 5.5, 2.2, ACCENT, ACCENT_DIM, shown)
        set_font(ctx, 8)
        ctx.save()
        ctx.translate(width / 2 + 3, height - 5)
        ctx.rotate(-math.pi / 2)
        extents = ctx.text_extents(word)
        ctx.move_to((height - 15 - extents.x_advance) / 2, 0)
        ctx.set_source_rgb(*(ACCENT if shown else LABEL_DIM))
        ctx.show_text(word)
        ctx.restore()

    return strips.build(bitmap_id, draw, backdrop)


def _wave_points(kind, samples=24):
    """One cycle of each LFO wave, values in -1..1."""
    steps = (0.2, -0.9, 0.9, -0.3)  # a fixed sample-and-hold pattern
    points = []
    for i in range(samples + 1):
        t = i / samples
        if kind == "sin":
            v = math.sin(2 * math.pi * t)
        elif kind == "sqr":
            v = 1 if t < 0.5 else -1
        elif kind == "tri":
            v = 1 - 4 * abs(t - 0.25) if t < 0.75 else -1 + 4 * (t - 0.75)
        elif kind == "saw":
            v = 1 - 2 * t
        else:
            v = steps[min(int(t * 4), 3)]
        points.append((t, v))
    return points


LFO_WAVES = ["sin", "sqr", "tri", "saw", "rnd"]


def _draw_wave(ctx, kind, left, top, width, height):
    points = _wave_points(kind)
    if kind in ("sqr", "rnd"):  # hard edges: draw as steps
        previous = None
        for t, v in points:
            x, y = left + t * width, top + (1 - v) / 2 * height
            if previous is None:
                ctx.move_to(x, y)
            else:
                ctx.line_to(x, previous)
                ctx.line_to(x, y)
            previous = y
    else:
        for i, (t, v) in enumerate(points):
            x, y = left + t * width, top + (1 - v) / 2 * height
            (ctx.move_to if i == 0 else ctx.line_to)(x, y)


def wave_selector():
    """Five wave icons stacked in the selector's five click zones; frame k lights wave k.

    The strip has alpha: only the icons and the lit zone's plate are opaque."""
    strip = BITMAPS[152]
    zone = strip.frame_height / len(LFO_WAVES)

    def draw(ctx, frame, width, height):
        for index, kind in enumerate(LFO_WAVES):
            top = index * zone
            selected = index == frame
            if selected:
                rounded_rect(ctx, 0.5, top + 0.8, width - 0.5, top + zone - 0.8, 2)
                ctx.set_source_rgba(*ACCENT, 0.22)
                ctx.fill()
            ctx.set_line_width(1.3 if selected else 1.1)
            ctx.set_line_join(cairo.LINE_JOIN_MITER if kind == "tri" else cairo.LINE_JOIN_ROUND)
            ctx.set_source_rgb(*(ACCENT if selected else LABEL_DIM))
            _draw_wave(ctx, kind, 2.5, top + 2.6, width - 5, zone - 5.2)
            ctx.stroke()

    return strips.build(152, draw)


def all_strips(backdrop_of):
    """Every control strip, by bitmap id; backdrop_of(id) gives the panel under its control."""
    result = {}
    for bitmap_id in range(130, 140):
        area = next(k.area for k in KNOBS if k.bitmap == bitmap_id)
        result[bitmap_id] = knob(bitmap_id, area[2] - area[0], backdrop_of(bitmap_id))
    result[140] = kick_button(140, True, backdrop_of(140))
    result[141] = kick_button(141, False, backdrop_of(141))
    result[142] = slide_switch(142, backdrop_of(142))
    result[143] = slide_switch(143, backdrop_of(143))
    result[144] = readout_digit(144)
    result[145] = readout_digit(145)
    result[146] = readout_dots(146, [(1.5, 2.2), (1.5, 5.8)])
    result[147] = readout_dots(147, [(1.5, 1.0)])
    result[148] = page_selector(148, "LEFT", backdrop_of(148))
    result[149] = page_selector(149, "RIGHT", backdrop_of(149))
    result[150] = on_off_button(150, ACCENT, ACCENT_DIM, backdrop_of(150))
    result[151] = on_off_button(151, LED_RED, LED_RED_DIM, backdrop_of(151))
    result[152] = wave_selector()
    result[153] = meter()
    return result
