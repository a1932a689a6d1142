"""The about picture (129): name, tagline and an echo motif, with the version box left clear
for the text the editor draws at run time."""

import cairo

import layout
from theme import (ACCENT, CHASSIS, CHASSIS_LIGHT, LABEL, LABEL_DIM, PLATE, new_context, mix,
                   set_font, vertical_gradient)


def _echo_motif(ctx, left, baseline, width, height):
    """A struck note and its echoes, each quieter, like a delay's impulse response."""
    count = 11
    for i in range(count):
        x = left + i * width / (count - 1)
        level = 0.78 ** i
        bar = height * level
        alpha = 0.25 + 0.75 * level
        ctx.set_source_rgba(*ACCENT, alpha)
        ctx.rectangle(round(x) - 1.5, baseline - bar, 3, bar)
        ctx.fill()
        ctx.set_source_rgba(*ACCENT, alpha * 0.25)
        ctx.rectangle(round(x) - 1.5, baseline + 3, 3, bar * 0.35)
        ctx.fill()


def draw_about():
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, layout.PANEL_WIDTH, layout.PANEL_HEIGHT)
    ctx = new_context(surface)
    ctx.set_source(vertical_gradient(mix(CHASSIS_LIGHT, PLATE, 0.6), CHASSIS, 0,
                                     layout.PANEL_HEIGHT))
    ctx.paint()
    glow = cairo.RadialGradient(220, 70, 10, 220, 70, 320)
    glow.add_color_stop_rgba(0, *ACCENT, 0.10)
    glow.add_color_stop_rgba(1, *ACCENT, 0)
    ctx.set_source(glow)
    ctx.paint()
    set_font(ctx, 58)
    ctx.set_source_rgb(*mix(LABEL, (1, 1, 1), 0.5))
    ctx.move_to(60, 92)
    ctx.show_text("Velmora")
    set_font(ctx, 15, bold=False)
    ctx.set_source_rgb(*ACCENT)
    ctx.move_to(63, 120)
    ctx.show_text("Stereo Delay with Clocked Modulation")
    _echo_motif(ctx, 420, 112, 250, 64)
    # The version text is drawn by the editor in white from the box's top-left corner.
    left, top, right, bottom = layout.VERSION_BOX
    set_font(ctx, 8)
    ctx.set_source_rgb(*LABEL_DIM)
    ctx.move_to(left, top - 5)
    ctx.show_text("VERSION")
    ctx.rectangle(left, bottom + 3, 60, 1)
    ctx.fill()
    set_font(ctx, 8, bold=False)
    ctx.move_to(left, 140)
    ctx.show_text("Click anywhere to close.")
    surface.flush()
    return surface
