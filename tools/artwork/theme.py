"""The colours, fonts and small drawing helpers every bitmap of the panel shares."""

import math

import cairo

# A dark chassis with raised section plates; one warm amber marks values, lit LEDs and titles.
CHASSIS = (0.082, 0.090, 0.106)
CHASSIS_LIGHT = (0.118, 0.129, 0.149)
PLATE = (0.153, 0.165, 0.188)
PLATE_EDGE = (0.235, 0.251, 0.282)
PLATE_SHADOW = (0.047, 0.051, 0.059)
WELL = (0.055, 0.059, 0.067)
WELL_EDGE = (0.290, 0.306, 0.337)
LABEL = (0.800, 0.820, 0.850)
LABEL_DIM = (0.560, 0.580, 0.620)
TITLE = (0.960, 0.690, 0.290)
ACCENT = (1.000, 0.690, 0.250)
ACCENT_DIM = (0.330, 0.220, 0.090)
TRACK = (0.070, 0.075, 0.086)
KNOB_BODY_TOP = (0.330, 0.345, 0.375)
KNOB_BODY_BOTTOM = (0.145, 0.155, 0.175)
POINTER = (0.970, 0.970, 0.960)
LED_RED = (1.000, 0.250, 0.180)
LED_RED_DIM = (0.260, 0.070, 0.060)
LED_GREEN = (0.400, 0.900, 0.400)
LED_GREEN_DIM = (0.080, 0.190, 0.090)
DIGIT_LIT = (1.000, 0.620, 0.160)
DIGIT_UNLIT = (0.150, 0.085, 0.040)
READOUT_GLASS = (0.055, 0.035, 0.025)

SANS = "Liberation Sans"
CONDENSED = "DejaVu Sans Condensed"


def font_options():
    """Grey anti-aliasing with slight hinting: small labels stay crisp and the bytes do not
    depend on the screen's sub-pixel order."""
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_SLIGHT)
    options.set_hint_metrics(cairo.HINT_METRICS_ON)
    return options


def new_context(surface):
    ctx = cairo.Context(surface)
    ctx.set_font_options(font_options())
    return ctx


def set_font(ctx, size, bold=True, family=SANS):
    weight = cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL
    ctx.select_font_face(family, cairo.FONT_SLANT_NORMAL, weight)
    ctx.set_font_size(size)


def text_width(ctx, text):
    return ctx.text_extents(text).x_advance


def draw_text(ctx, text, x, baseline, color, align="left"):
    """Draws text at a whole-pixel baseline; returns its ink box (left, top, right, bottom)."""
    extents = ctx.text_extents(text)
    if align == "center":
        x -= extents.x_advance / 2
    elif align == "right":
        x -= extents.x_advance
    x = round(x)
    ctx.set_source_rgb(*color)
    ctx.move_to(x, baseline)
    ctx.show_text(text)
    ctx.new_path()
    return (x + extents.x_bearing, baseline + extents.y_bearing,
            x + extents.x_bearing + extents.width, baseline + extents.y_bearing + extents.height)


def rounded_rect(ctx, left, top, right, bottom, radius):
    ctx.new_sub_path()
    ctx.arc(right - radius, top + radius, radius, -math.pi / 2, 0)
    ctx.arc(right - radius, bottom - radius, radius, 0, math.pi / 2)
    ctx.arc(left + radius, bottom - radius, radius, math.pi / 2, math.pi)
    ctx.arc(left + radius, top + radius, radius, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def vertical_gradient(top, bottom, y0, y1):
    gradient = cairo.LinearGradient(0, y0, 0, y1)
    gradient.add_color_stop_rgb(0, *top)
    gradient.add_color_stop_rgb(1, *bottom)
    return gradient


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def led(ctx, cx, cy, radius, color, dim_color, lit):
    """A round LED: a glow around it when lit, a dark lens when not."""
    if lit:
        glow = cairo.RadialGradient(cx, cy, 0, cx, cy, radius * 2.4)
        glow.add_color_stop_rgba(0, *color, 0.55)
        glow.add_color_stop_rgba(1, *color, 0)
        ctx.set_source(glow)
        ctx.arc(cx, cy, radius * 2.4, 0, 2 * math.pi)
        ctx.fill()
    lens = cairo.RadialGradient(cx - radius * 0.3, cy - radius * 0.3, 0, cx, cy, radius)
    if lit:
        lens.add_color_stop_rgb(0, *mix(color, (1, 1, 1), 0.7))
        lens.add_color_stop_rgb(1, *color)
    else:
        lens.add_color_stop_rgb(0, *mix(dim_color, (1, 1, 1), 0.12))
        lens.add_color_stop_rgb(1, *dim_color)
    ctx.set_source(lens)
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.fill()
