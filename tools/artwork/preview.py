"""Composes the whole editor from the generated strips, the way the editor paints it, so the
artwork can be judged at 100 %."""

import cairo

import layout
from theme import font_options

KNOB_FRAMES = layout.KNOB_FRAMES


def _blit(ctx, strip_surface, bitmap_id, frame, left, top, width=None, height=None,
          source_x=0, source_y=0):
    strip = layout.BITMAPS[bitmap_id]
    width = strip.width - source_x if width is None else width
    height = strip.frame_height - source_y if height is None else height
    ctx.save()
    ctx.rectangle(left, top, width, height)
    ctx.clip()
    ctx.set_source_surface(strip_surface, left - source_x,
                           top - source_y - frame * strip.frame_height)
    ctx.paint()
    ctx.restore()


def _readout(ctx, surfaces, text):
    """Shows a readout text such as '120.0' (digits and at most one point) or '50:50'."""
    digits, marks = [], {}
    for ch in text:
        if ch in ".:":
            marks[len(digits) - 1] = ch
        else:
            digits.append(ch)
    digits = [" "] * (4 - len(digits)) + digits
    shift = 4 - sum(1 for ch in text if ch not in ".:")
    for index, (tag, corner, bitmap) in enumerate(layout.READOUT_DIGITS):
        ch = digits[index]
        frame = 0 if ch == " " else 11 if ch == "-" else 12 if ch == "+" else int(ch) + 1
        _blit(ctx, surfaces[bitmap], bitmap, frame, *corner)
    for index in range(3):
        mark = marks.get(index - shift)
        _, corner, bitmap = layout.READOUT_POINTS[index]
        _blit(ctx, surfaces[bitmap], bitmap, 1 if mark == "." else 0, *corner)
        _, corner, bitmap = layout.READOUT_COLONS[index]
        _blit(ctx, surfaces[bitmap], bitmap, 1 if mark == ":" else 0, *corner)


def compose_editor(background, surfaces, readout="120.0", meter_levels=(0.8, 0.55),
                   hovered=None):
    """The panel with every control at its preview value; hovered maps preset-bar tags to the
    frame shown instead of the resting one."""
    hovered = hovered or {}
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, layout.PANEL_WIDTH, layout.PANEL_HEIGHT)
    ctx = cairo.Context(surface)
    ctx.set_font_options(font_options())
    ctx.set_source_surface(background, 0, 0)
    ctx.paint()
    for knob in layout.KNOBS:
        frame = int((KNOB_FRAMES - 1) * knob.value)
        left, top, right, bottom = knob.area
        _blit(ctx, surfaces[knob.bitmap], knob.bitmap, frame, left, top, right - left,
              bottom - top, layout.KNOB_SOURCE_OFFSET, layout.KNOB_SOURCE_OFFSET)
    for button in layout.ON_OFF_BUTTONS:
        _blit(ctx, surfaces[button.bitmap], button.bitmap, int(button.on), *button.corner)
    for switch in layout.SWITCHES:
        _blit(ctx, surfaces[switch.bitmap], switch.bitmap, switch.position, *switch.rect[:2])
    _readout(ctx, surfaces, readout)
    for tag, corner, bitmap in layout.KICK_BUTTONS:
        _blit(ctx, surfaces[bitmap], bitmap, 1 if tag == 77 else 0, *corner)
    for tag, rect, bitmap in layout.PAGE_SELECTORS:
        _blit(ctx, surfaces[bitmap], bitmap, 0 if tag == 91 else 1, *rect[:2])
    _, rect, bitmap = layout.WAVE_SELECTOR
    _blit(ctx, surfaces[bitmap], bitmap, 2, *rect[:2])
    for (tag, rect), level in zip(layout.METERS, meter_levels):
        _blit(ctx, surfaces[153], 153, round(20 * level), *rect[:2])
    for control in layout.PRESET_BAR_CONTROLS:
        frame = hovered.get(control.tag, 0)
        _blit(ctx, surfaces[control.bitmap], control.bitmap, frame, *control.rect[:2])
    _preset_texts(ctx)
    surface.flush()
    return surface


def _preset_texts(ctx):
    """The texts the preset bar draws itself at run time, in the toolkit's font."""
    ctx.select_font_face("Liberation Sans")
    ctx.set_font_size(10)
    ctx.set_source_rgb(0.92, 0.92, 0.90)
    ctx.move_to(layout.NAME_FIELD[0] + 3, 166.5)
    ctx.show_text("Dotted Ping-Pong")
    ctx.set_source_rgb(0.70, 0.72, 0.75)
    ctx.move_to(layout.CONTROLLER_DISPLAY[0] + 3, 166.5)
    ctx.show_text("7 volume")


def compose_about(about):
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, layout.PANEL_WIDTH, layout.PANEL_HEIGHT)
    ctx = cairo.Context(surface)
    ctx.set_font_options(font_options())
    ctx.set_source_surface(about, 0, 0)
    ctx.paint()
    left, top, right, bottom = layout.VERSION_BOX
    ctx.select_font_face("Liberation Sans")
    ctx.set_font_size(11)
    ctx.set_source_rgb(1, 1, 1)
    ctx.move_to(left, top + 11)
    ctx.show_text("v.1.1.0")
    surface.flush()
    return surface


def enlarged(surface, scale):
    """A nearest-neighbour enlargement, to judge single frames pixel by pixel."""
    big = cairo.ImageSurface(cairo.FORMAT_ARGB32, surface.get_width() * scale,
                             surface.get_height() * scale)
    ctx = cairo.Context(big)
    ctx.scale(scale, scale)
    ctx.set_source_surface(surface, 0, 0)
    ctx.get_source().set_filter(cairo.FILTER_NEAREST)
    ctx.paint()
    return big
