"""The preset bar's button strips (988 to 999): frame 0 resting, 1 hovered, 2 pressed or on;
the program rocker has five frames (resting, hovering left, hovering right, pressed left,
pressed right)."""

import math

import strips
from theme import (ACCENT, CONDENSED, KNOB_BODY_BOTTOM, KNOB_BODY_TOP, LABEL, LABEL_DIM,
                   PLATE_SHADOW, mix, rounded_rect, set_font, vertical_gradient)

RESTING, HOVERED, PRESSED = 0, 1, 2


def _body(ctx, width, height, state, radius=2.5):
    top = {RESTING: mix(KNOB_BODY_TOP, KNOB_BODY_BOTTOM, 0.35),
           HOVERED: KNOB_BODY_TOP,
           PRESSED: mix(KNOB_BODY_TOP, KNOB_BODY_BOTTOM, 0.8)}[state]
    rounded_rect(ctx, 0.5, 0.5, width - 0.5, height - 0.5, radius)
    ctx.set_source_rgb(*PLATE_SHADOW)
    ctx.fill()
    rounded_rect(ctx, 1, 1, width - 1, height - 1.5, radius - 0.5)
    ctx.set_source(vertical_gradient(top, KNOB_BODY_BOTTOM, 1, height - 1.5))
    ctx.fill()


def _fit_font(ctx, word, width, size):
    """The regular face at the given size, or the condensed one shrunk until the word fits."""
    set_font(ctx, size)
    if ctx.text_extents(word).x_advance <= width:
        return
    while size > 5.0:
        set_font(ctx, size, family=CONDENSED)
        if ctx.text_extents(word).x_advance <= width:
            return
        size -= 0.25
    raise ValueError(f"{word!r} does not fit a {width} pixel button")


def _ink(state):
    return {RESTING: LABEL_DIM, HOVERED: LABEL, PRESSED: ACCENT}[state]


def _disk(ctx, width, height):
    """Save: a diskette with its shutter and label."""
    left, top, right, bottom = width / 2 - 4.5, 3.5, width / 2 + 4.5, height - 3.5
    ctx.set_line_width(1)
    ctx.move_to(left, top)
    ctx.line_to(right - 2, top)
    ctx.line_to(right, top + 2)
    ctx.line_to(right, bottom)
    ctx.line_to(left, bottom)
    ctx.close_path()
    ctx.stroke()
    ctx.rectangle(left + 2.5, top, 4, 2.5)
    ctx.fill()
    ctx.rectangle(left + 2, bottom - 3.5, 5, 3.5)
    ctx.fill()


def _folder(ctx, width, height):
    """Load: an open folder."""
    left, top, right, bottom = width / 2 - 5, 4, width / 2 + 5, height - 3.5
    ctx.set_line_width(1)
    ctx.move_to(left + 0.5, bottom)
    ctx.line_to(left + 0.5, top)
    ctx.line_to(left + 3.5, top)
    ctx.line_to(left + 4.5, top + 1.5)
    ctx.line_to(right - 1.5, top + 1.5)
    ctx.line_to(right - 1.5, top + 3)
    ctx.stroke()
    ctx.move_to(left + 0.5, bottom)
    ctx.line_to(left + 2.5, top + 4)
    ctx.line_to(right, top + 4)
    ctx.line_to(right - 2, bottom)
    ctx.close_path()
    ctx.fill()


def file_button(bitmap_id, icon, backdrop):
    def draw(ctx, frame, width, height):
        _body(ctx, width, height, frame)
        ctx.set_source_rgb(*_ink(frame))
        icon(ctx, width, height)

    return strips.build(bitmap_id, draw, backdrop)


def word_button(bitmap_id, word, backdrop, toggles=False):
    """A button named by a word; a toggle also lights a bar under the word while on."""

    def draw(ctx, frame, width, height):
        _body(ctx, width, height, frame)
        _fit_font(ctx, word, width - 2, 7.0)
        extents = ctx.text_extents(word)
        ctx.set_source_rgb(*_ink(frame))
        baseline = round(height / 2 + (1.2 if toggles else 2.2))
        ctx.move_to(round((width - extents.x_advance) / 2), baseline)
        ctx.show_text(word)
        if toggles:
            ctx.set_source_rgb(*(ACCENT if frame == PRESSED else PLATE_SHADOW))
            ctx.rectangle(5, height - 4.5, width - 10, 1.5)
            ctx.fill()

    return strips.build(bitmap_id, draw, backdrop)


def rocker(backdrop):
    def draw(ctx, frame, width, height):
        _body(ctx, width, height, RESTING)
        half = width / 2
        hovered = {1: 0, 2: 1}.get(frame)
        pressed = {3: 0, 4: 1}.get(frame)
        for side in (0, 1):
            if hovered == side or pressed == side:
                rounded_rect(ctx, 1 + side * (half - 1), 1, half + side * (half - 1),
                             height - 1.5, 2)
                top = (KNOB_BODY_TOP if hovered == side
                       else mix(KNOB_BODY_TOP, KNOB_BODY_BOTTOM, 0.8))
                ctx.set_source(vertical_gradient(top, KNOB_BODY_BOTTOM, 1, height - 1.5))
                ctx.fill()
            state = PRESSED if pressed == side else HOVERED if hovered == side else RESTING
            ctx.set_source_rgb(*_ink(state))
            cx, cy = half / 2 + side * half, height / 2 - 0.5
            direction = -1 if side == 0 else 1
            ctx.move_to(cx + 3 * direction, cy)
            ctx.line_to(cx - 2 * direction, cy - 3.5)
            ctx.line_to(cx - 2 * direction, cy + 3.5)
            ctx.close_path()
            ctx.fill()
        ctx.set_source_rgb(*PLATE_SHADOW)
        ctx.rectangle(half - 0.5, 3, 1, height - 6)
        ctx.fill()

    return strips.build(995, draw, backdrop)


def focus_switch(backdrop):
    """Keyboard focus: a small toggle whose dot lights when the editor takes the keys."""

    def draw(ctx, frame, width, height):
        rounded_rect(ctx, 0.5, 0.5, width - 0.5, height - 0.5, 3)
        ctx.set_source_rgb(*mix(KNOB_BODY_BOTTOM, KNOB_BODY_TOP, 0.5 if frame == 1 else 0.2))
        ctx.fill()
        on = frame == PRESSED
        ctx.arc(width - 3.5 if on else 3.5, height / 2, 2.2, 0, 2 * math.pi)
        ctx.set_source_rgb(*(ACCENT if on else LABEL if frame == HOVERED else LABEL_DIM))
        ctx.fill()

    return strips.build(988, draw, backdrop)


def manual_button(backdrop):
    def draw(ctx, frame, width, height):
        ctx.arc(width / 2, height / 2, 4.4, 0, 2 * math.pi)
        ctx.set_source_rgb(*mix(KNOB_BODY_BOTTOM, KNOB_BODY_TOP, 0.6 if frame == 1 else 0.25))
        ctx.fill()
        set_font(ctx, 7.5)
        extents = ctx.text_extents("?")
        ctx.set_source_rgb(*_ink(frame))
        ctx.move_to(round((width - extents.x_advance) / 2), round(height / 2 + 2.8))
        ctx.show_text("?")

    return strips.build(989, draw, backdrop)


def all_strips(backdrop_of):
    return {
        988: focus_switch(backdrop_of(988)),
        989: manual_button(backdrop_of(989)),
        990: file_button(990, _folder, backdrop_of(990)),
        991: file_button(991, _disk, backdrop_of(991)),
        992: word_button(992, "BANK", backdrop_of(992)),
        993: word_button(993, "PRESET", backdrop_of(993)),
        994: word_button(994, "MIDI", backdrop_of(994)),
        995: rocker(backdrop_of(995)),
        998: word_button(998, "LEARN", backdrop_of(998), toggles=True),
        999: word_button(999, "FORGET", backdrop_of(999), toggles=True),
    }
