"""Building bitmap strips: one cairo surface holding every frame, stacked vertically."""

import cairo

from layout import BITMAPS
from theme import font_options


def crop(surface, left, top, width, height):
    """A copy of part of a surface, used as the backdrop of a control drawn over the panel."""
    piece = cairo.ImageSurface(cairo.FORMAT_RGB24, width, height)
    ctx = cairo.Context(piece)
    ctx.set_source_surface(surface, -left, -top)
    ctx.paint()
    return piece


def build(bitmap_id, draw_frame, backdrop=None):
    """Draws each frame of a strip through draw_frame(ctx, frame, width, frame_height).

    Opaque strips start every frame from the backdrop (the panel under the control, so the
    control's corners blend in); strips with alpha start transparent."""
    strip = BITMAPS[bitmap_id]
    fmt = cairo.FORMAT_ARGB32 if strip.bits == 32 else cairo.FORMAT_RGB24
    surface = cairo.ImageSurface(fmt, strip.width, strip.height)
    for frame in range(strip.frames):
        ctx = cairo.Context(surface)
        ctx.set_font_options(font_options())
        ctx.rectangle(0, frame * strip.frame_height, strip.width, strip.frame_height)
        ctx.clip()
        ctx.translate(0, frame * strip.frame_height)
        if backdrop is not None:
            ctx.set_source_surface(backdrop, 0, 0)
            ctx.paint()
        draw_frame(ctx, frame, strip.width, strip.frame_height)
    return surface
