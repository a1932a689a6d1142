"""The panel background (bitmap 128): chassis, section plates, every control's label, the
readout and meter windows and the preset bar's strip."""

import math

import cairo

import layout
from theme import (CHASSIS, CHASSIS_LIGHT, LABEL, LABEL_DIM, PLATE, PLATE_EDGE,
                   PLATE_SHADOW, READOUT_GLASS, TITLE, WELL, WELL_EDGE, CONDENSED, draw_text,
                   mix, new_context, rounded_rect, set_font, vertical_gradient)

# Section plates; a section of two rectangles is drawn as their union.
SECTIONS = {
    "delay": [(24, 7, 151, 148)],
    "feedback": [(154, 7, 285, 148)],
    "display": [(288, 7, 378, 148)],
    "levels": [(381, 7, 563, 148)],
    "clock": [(566, 7, 617, 148), (566, 84, 669, 148)],
    "filter": [(620, 7, 816, 81), (672, 7, 816, 148)],
    "reverb": [(819, 7, 918, 148)],
}

LABEL_SIZE = 7.5
POSITION_SIZE = 6.5
TITLE_SIZE = 8.5
KNOB_LABEL_GAP = 8  # from the knob rectangle's bottom to the label's baseline


class Panel:
    """Draws onto the background and remembers every ink box, so overlaps can be checked."""

    def __init__(self):
        self.surface = cairo.ImageSurface(cairo.FORMAT_RGB24, layout.PANEL_WIDTH,
                                          layout.PANEL_HEIGHT)
        self.ctx = new_context(self.surface)
        self.ink = []  # (text, box)

    def text(self, text, x, baseline, size, colour=LABEL, align="center", family=None,
             spacing=0.0):
        if family:
            set_font(self.ctx, size, family=family)
        else:
            set_font(self.ctx, size)
        if spacing:
            box = self._spaced(text, x, baseline, colour, align, spacing)
        else:
            box = draw_text(self.ctx, text, x, baseline, colour, align)
        self.ink.append((text, box))
        return box

    def _spaced(self, text, x, baseline, colour, align, spacing):
        ctx = self.ctx
        advances = [ctx.text_extents(ch).x_advance for ch in text]
        width = sum(advances) + spacing * (len(text) - 1)
        if align == "center":
            x -= width / 2
        elif align == "right":
            x -= width
        x = round(x)
        extents = ctx.text_extents(text)
        for ch, advance in zip(text, advances):
            ctx.set_source_rgb(*colour)
            ctx.move_to(x, baseline)
            ctx.show_text(ch)
            x += advance + spacing
        ctx.new_path()
        left = x - width - spacing
        return (left, baseline + extents.y_bearing, left + width, baseline)

    def title(self, text, x, baseline, align="center"):
        return self.text(text, x, baseline, TITLE_SIZE, TITLE, align, spacing=1.2)


def _chassis(ctx):
    ctx.set_source(vertical_gradient(CHASSIS_LIGHT, CHASSIS, 0, layout.PRESET_BAR_TOP))
    ctx.paint()


def _plates(ctx):
    # Edges of every rectangle first, then all interiors: the seams inside a two-rectangle
    # section disappear under the interior fill.
    for rects in SECTIONS.values():
        for left, top, right, bottom in rects:
            rounded_rect(ctx, left, top + 1, right, bottom + 1, 4)
            ctx.set_source_rgb(*PLATE_SHADOW)
            ctx.fill()
            rounded_rect(ctx, left, top, right, bottom, 4)
            ctx.set_source_rgb(*PLATE_EDGE)
            ctx.fill()
    for rects in SECTIONS.values():
        for left, top, right, bottom in rects:
            rounded_rect(ctx, left + 1, top + 1, right - 1, bottom - 1, 3)
            ctx.set_source_rgb(*PLATE)
            ctx.fill()


def _well(ctx, left, top, right, bottom, fill=WELL, radius=2):
    """A recessed window: dark inside, a shadowed top edge and a light lower edge."""
    rounded_rect(ctx, left - 1, top - 1, right + 1, bottom + 1, radius + 1)
    ctx.set_source(vertical_gradient(PLATE_SHADOW, WELL_EDGE, top - 1, bottom + 1))
    ctx.fill()
    rounded_rect(ctx, left, top, right, bottom, radius)
    ctx.set_source_rgb(*fill)
    ctx.fill()


def _about_strip(panel, left, right, upward):
    """The narrow strips at both edges open the about picture: they carry the name."""
    ctx = panel.ctx
    top, bottom = 4, 151
    rounded_rect(ctx, left, top, right, bottom, 3)
    ctx.set_source_rgb(*mix(CHASSIS, PLATE, 0.5))
    ctx.fill()
    set_font(ctx, 9)
    word = "VELMORA"
    advances = sum(ctx.text_extents(c).x_advance for c in word) + 3.0 * (len(word) - 1)
    ctx.save()
    centre_x = (left + right) / 2
    if upward:
        ctx.translate(centre_x + 3.5, (top + bottom) / 2 + advances / 2)
        ctx.rotate(-math.pi / 2)
    else:
        ctx.translate(centre_x - 3.5, (top + bottom) / 2 - advances / 2)
        ctx.rotate(math.pi / 2)
    x = 0.0
    for c in word:
        ctx.set_source_rgb(*LABEL_DIM)
        ctx.move_to(x, 0)
        ctx.show_text(c)
        x += ctx.text_extents(c).x_advance + 3.0
    ctx.restore()
    ctx.new_path()
    for y in (11, 144):  # small dots mark the ends, like screw heads
        ctx.arc(centre_x, y, 2, 0, 2 * math.pi)
        ctx.set_source_rgb(*PLATE_EDGE)
        ctx.fill()


def _grip(ctx, left, top, right, bottom):
    """Marks an invisible drag area: chevrons up and down around ridges."""
    cx = (left + right) / 2
    ctx.set_source_rgb(*LABEL_DIM)
    for direction, y in ((-1, top + 2.5), (1, bottom - 2.5)):
        ctx.move_to(cx - 3, y - direction * 1.5)
        ctx.line_to(cx, y + direction * 1.5)
        ctx.line_to(cx + 3, y - direction * 1.5)
        ctx.set_line_width(1.2)
        ctx.stroke()
    for y in range(top + 6, bottom - 5, 2):
        ctx.rectangle(cx - 3, y, 6, 1)
    ctx.set_source_rgb(*mix(PLATE, LABEL_DIM, 0.55))
    ctx.fill()


def _divider(ctx, x0, y0, x1, y1):
    ctx.set_line_width(1)
    ctx.set_source_rgb(*PLATE_SHADOW)
    ctx.move_to(x0 + 0.5, y0 + 0.5)
    ctx.line_to(x1 + 0.5, y1 + 0.5)
    ctx.stroke()
    ctx.set_source_rgb(*mix(PLATE, PLATE_EDGE, 0.7))
    ctx.move_to(x0 + 1.5, y0 + 1.5)
    ctx.line_to(x1 + 1.5, y1 + 1.5)
    ctx.stroke()


def _knob_labels(panel):
    for knob in layout.KNOBS:
        left, _, right, bottom = knob.rect
        panel.text(knob.label, (left + right) / 2, bottom + KNOB_LABEL_GAP, LABEL_SIZE)


def _switch_labels(panel):
    """Position names beside each slide switch: first on the left, last on the right, a middle
    one above or below; where the sides are too narrow, both names go under the switch."""
    above = {89: False, 32: True, 23: True, 14: False}
    for switch in layout.SWITCHES:
        strip = layout.BITMAPS[switch.bitmap]
        left, top = switch.rect[0], switch.rect[1]
        right, bottom = left + strip.width, top + strip.frame_height
        baseline = bottom - 1.5
        if switch.tag == 38:
            panel.text(switch.positions[0], (left + right) / 2 - 1.5, bottom + 8,
                       POSITION_SIZE, align="right")
            panel.text(switch.positions[1], (left + right) / 2 + 1.5, bottom + 8,
                       POSITION_SIZE, align="left")
            continue
        panel.text(switch.positions[0], left - 2, baseline, POSITION_SIZE, align="right")
        panel.text(switch.positions[-1], right + 2, baseline, POSITION_SIZE, align="left")
        if len(switch.positions) == 3:
            y = top - 3 if above[switch.tag] else bottom + 8
            panel.text(switch.positions[1], (left + right) / 2, y, POSITION_SIZE)


def _button_labels(panel):
    """Labels above the on/off buttons, except bypass and link, which have room at the side."""
    for button in layout.ON_OFF_BUTTONS:
        left, top, right, bottom = layout.button_rect(button.corner, button.bitmap)
        if button.tag == 41:
            panel.text(button.label, left - 1, top + 12.5, LABEL_SIZE, align="right")
        elif button.tag == 62:
            panel.text(button.label, (left + right) / 2, top - 2, POSITION_SIZE)
        else:
            panel.text(button.label, (left + right) / 2, top - 2.5, POSITION_SIZE)


def _meter_scale(panel):
    """dB marks beside both meters: the top is 0 dB, the bottom -24 dB."""
    ctx = panel.ctx
    for _, (left, top, right, bottom) in layout.METERS:
        for db in (0, -6, -12, -24):
            y = top + (bottom - top) * (-db / 24)
            y = min(max(y, top + 2), bottom - 1)
            panel.text(str(db), left - 4, round(y + 2), 6, LABEL_DIM, "right",
                       family=CONDENSED)
            ctx.set_source_rgb(*LABEL_DIM)
            ctx.rectangle(left - 3, round(y) - 0.5 + 0.5, 2, 1)
            ctx.fill()


def _windows(panel):
    ctx = panel.ctx
    _well(ctx, *layout.READOUT_WINDOW, fill=READOUT_GLASS, radius=3)
    for _, (left, top, right, bottom) in layout.METERS:
        _well(ctx, left, top, right, bottom, radius=1)


def _sections(panel):
    ctx = panel.ctx
    # Channel pages and meters, then the delay's own column.
    _divider(ctx, 86, 12, 86, 143)
    panel.title("PRE-DELAY", 118, 17)
    panel.text("/", 117.5, 38, 10, LABEL_DIM)
    panel.text("RANGE", 117.5, 53, LABEL_SIZE)
    panel.title("DELAY", 118, 109)
    _grip(ctx, *layout.INVISIBLE_SLIDERS[0][1])
    # Feedback and the echo's output stage.
    panel.title("FEEDBACK", 202, 17)
    panel.title("ECHO OUT", 202, 86)
    # Readout, bypass and the LFO.
    # The LFO's title sits in a gap of the line that divides it from the readout.
    title = panel.title("LFO", 296, 81, align="left")
    _divider(ctx, 292, 77, 294, 77)
    _divider(ctx, round(title[2]) + 3, 77, 373, 77)
    panel.text("RATE", 323.5, 109, LABEL_SIZE)
    _grip(ctx, *layout.INVISIBLE_SLIDERS[1][1])
    # Levels and modulation.
    panel.title("IN / OUT", 470.5, 17)
    panel.title("MODULATION", 470.5, 86)
    panel.title("CLOCK", 595.5, 17)
    panel.title("FILTER", 743, 17)
    panel.title("MOD", 719.5, 86)
    panel.title("REVERB", 868.5, 17)


def _preset_strip(panel):
    ctx = panel.ctx
    top = layout.PRESET_BAR_TOP - 1
    ctx.rectangle(0, top, layout.PANEL_WIDTH, layout.PANEL_HEIGHT - top)
    ctx.set_source(vertical_gradient(mix(CHASSIS, WELL, 0.5), WELL, top, layout.PANEL_HEIGHT))
    ctx.fill()
    ctx.rectangle(0, top, layout.PANEL_WIDTH, 1)
    ctx.set_source_rgb(*PLATE_SHADOW)
    ctx.fill()
    for left, t, right, bottom in (layout.NAME_FIELD, layout.CONTROLLER_DISPLAY):
        _well(ctx, left, t, right, bottom, fill=(0.02, 0.022, 0.026), radius=2)
    # The program menu: a drop-down arrow joined to the name field.
    left, t, right, bottom = layout.PROGRAM_MENU
    _well(ctx, left + 1, t, right, bottom, fill=mix(WELL, PLATE, 0.6), radius=2)
    cx, cy = (left + right) / 2 + 0.5, (t + bottom) / 2
    ctx.move_to(cx - 3, cy - 1.5)
    ctx.line_to(cx + 3, cy - 1.5)
    ctx.line_to(cx, cy + 2)
    ctx.close_path()
    ctx.set_source_rgb(*LABEL)
    ctx.fill()
    baseline = 166
    panel.text("A", 415, baseline, LABEL_SIZE, LABEL_DIM)
    panel.text("B", 479.5, baseline, LABEL_SIZE, LABEL_DIM)
    panel.text("CC", 725.5, baseline, POSITION_SIZE, LABEL_DIM)
    panel.text("KEY", 896, baseline, POSITION_SIZE, LABEL_DIM, align="right")
    panel.text("VELMORA", 579, baseline, 7, mix(LABEL_DIM, WELL, 0.35), spacing=2.0)


def draw_background():
    panel = Panel()
    ctx = panel.ctx
    _chassis(ctx)
    _about_strip(panel, 2, 21, upward=True)
    _about_strip(panel, 921, 940, upward=False)
    _plates(ctx)
    _windows(panel)
    _sections(panel)
    _knob_labels(panel)
    _switch_labels(panel)
    _button_labels(panel)
    _meter_scale(panel)
    _preset_strip(panel)
    panel.surface.flush()
    return panel
