"""Where everything sits on the 942 by 171 panel, and the size of every bitmap.

Rectangles are (left, top, right, bottom) in window pixels. The generator draws the artwork to
fit these places; the preview composes the panel from them."""

from dataclasses import dataclass

PANEL_WIDTH, PANEL_HEIGHT = 942, 171
PRESET_BAR_TOP = 155
KNOB_FRAMES = 101
KNOB_SOURCE_OFFSET = 2


@dataclass(frozen=True)
class Strip:
    """A bitmap of equally high frames stacked vertically."""
    width: int
    frame_height: int
    frames: int = 1
    bits: int = 24

    @property
    def height(self):
        return self.frame_height * self.frames


BITMAPS = {
    128: Strip(942, 171),
    129: Strip(942, 171),
    130: Strip(36, 37, KNOB_FRAMES),
    131: Strip(36, 36, KNOB_FRAMES),
    132: Strip(36, 36, KNOB_FRAMES),
    133: Strip(37, 37, KNOB_FRAMES),
    134: Strip(36, 37, KNOB_FRAMES),
    135: Strip(36, 37, KNOB_FRAMES),
    136: Strip(37, 37, KNOB_FRAMES),
    137: Strip(37, 36, KNOB_FRAMES),
    138: Strip(36, 36, KNOB_FRAMES),
    139: Strip(36, 36, KNOB_FRAMES),
    140: Strip(19, 19, 2),
    141: Strip(19, 19, 2),
    142: Strip(19, 9, 2),
    143: Strip(26, 9, 3),
    144: Strip(13, 16, 11),
    145: Strip(13, 16, 13),
    146: Strip(3, 8, 2),
    147: Strip(3, 2, 2),
    148: Strip(12, 46, 2),
    149: Strip(12, 46, 2),
    150: Strip(24, 20, 2),
    151: Strip(24, 20, 2),
    152: Strip(16, 56, 5, bits=32),
    153: Strip(7, 45, 21),
    # The preset bar's buttons: resting, hovered, pressed or on; the rocker has five frames.
    988: Strip(11, 7, 3),
    989: Strip(11, 9, 3),
    990: Strip(17, 15, 3),
    991: Strip(17, 15, 3),
    992: Strip(32, 13, 3),
    993: Strip(44, 13, 3),
    994: Strip(28, 13, 3),
    995: Strip(30, 13, 5),
    998: Strip(24, 16, 3),
    999: Strip(24, 16, 3),
}


@dataclass(frozen=True)
class Knob:
    tag: int
    label: str
    rect: tuple
    area: tuple
    bitmap: int
    value: float  # shown in the preview


KNOBS = [
    Knob(83, "PAN", (161, 30, 196, 65), (162, 31, 195, 64), 130, 0.35),
    Knob(84, "AMOUNT", (208, 30, 243, 65), (209, 31, 242, 64), 130, 0.62),
    Knob(85, "PAN", (161, 93, 196, 128), (162, 94, 195, 127), 130, 0.7),
    Knob(86, "GATE", (208, 93, 243, 128), (209, 94, 242, 127), 130, 0.0),
    Knob(0, "INPUT", (383, 29, 418, 64), (384, 30, 417, 63), 134, 0.5),
    Knob(2, "MIX", (430, 29, 465, 64), (431, 30, 464, 63), 134, 0.38),
    Knob(1, "OUTPUT", (476, 29, 511, 64), (477, 30, 510, 63), 133, 0.5),
    Knob(52, "DUCK", (523, 29, 558, 64), (524, 30, 557, 63), 133, 1.0),
    Knob(11, "OFFSET", (383, 94, 418, 129), (384, 95, 417, 128), 135, 0.75),
    Knob(12, "LFO/ENV", (430, 94, 465, 129), (431, 95, 464, 128), 135, 0.3),
    Knob(47, "ENV SENS", (476, 94, 511, 129), (477, 95, 510, 128), 136, 0.5),
    Knob(22, "ENV TIME", (523, 94, 558, 129), (524, 95, 557, 128), 136, 0.2),
    Knob(17, "SPEED", (578, 29, 613, 64), (579, 30, 611, 62), 138, 0.5),
    Knob(18, "MOD", (578, 94, 613, 129), (579, 95, 611, 127), 139, 0.8),
    Knob(15, "CUTOFF", (678, 29, 713, 64), (679, 30, 711, 62), 131, 0.72),
    Knob(16, "RESO", (726, 29, 761, 64), (727, 30, 759, 62), 131, 0.4),
    Knob(21, "DRIVE", (773, 29, 808, 64), (774, 30, 806, 62), 131, 0.15),
    Knob(13, "CUTOFF", (678, 94, 713, 129), (679, 95, 711, 127), 132, 0.65),
    Knob(53, "RESO", (726, 94, 761, 129), (727, 95, 759, 127), 132, 0.5),
    Knob(39, "DAMP", (830, 29, 865, 64), (831, 30, 863, 62), 137, 0.45),
    Knob(40, "AMOUNT", (877, 29, 912, 64), (878, 30, 910, 62), 137, 0.3),
]

# Knobs whose strip draws its value arc from the centre: their parameter is a balance or a
# signed amount around 0.5.
BIPOLAR_KNOB_BITMAPS = {132, 135, 138, 139}


@dataclass(frozen=True)
class Button:
    """An on/off button: the rectangle is the corner plus the bitmap's width and frame height."""
    tag: int
    label: str
    corner: tuple
    bitmap: int
    on: bool


ON_OFF_BUTTONS = [
    Button(41, "BYPASS", (340, 53), 151, False),
    Button(62, "LINK", (61, 70), 150, True),
    Button(93, "INVERT", (256, 39), 150, False),
    Button(96, "MUTE IN", (256, 69), 151, False),
    Button(94, "INVERT", (256, 102), 150, True),
    Button(45, "ON", (637, 102), 150, True),
    Button(42, "ON", (784, 102), 150, True),
    Button(46, "ON", (887, 102), 150, True),
]


@dataclass(frozen=True)
class Switch:
    tag: int
    positions: tuple  # position names, left to right
    rect: tuple
    bitmap: int
    position: int


SWITCHES = [
    Switch(88, ("TIME", "NOTE"), (109, 90, 128, 99), 142, 0),
    Switch(89, ("0.1s", "1s", "5s"), (104, 57, 130, 66), 143, 1),
    Switch(32, ("FREE", "SYNC", "LOCK"), (310, 91, 336, 100), 143, 0),
    Switch(23, ("IN", "FB", "FX"), (634, 27, 660, 36), 143, 1),
    Switch(14, ("LP", "BP", "HP"), (634, 57, 660, 66), 143, 0),
    Switch(37, ("FX", "OUT"), (841, 91, 867, 100), 142, 0),
    Switch(38, ("SPRING", "PLATE"), (841, 122, 867, 131), 142, 1),
]

# Readout: (tag, corner, bitmap) of the digits, points and colons.
READOUT_DIGITS = [(64, (297, 26), 145), (65, (313, 26), 144), (66, (329, 26), 144),
                  (67, (346, 26), 144)]
READOUT_POINTS = [(68, (310, 40), 147), (69, (326, 40), 147), (70, (342, 40), 147)]
READOUT_COLONS = [(71, (310, 30), 146), (72, (326, 30), 146), (73, (343, 30), 146)]
READOUT_WINDOW = (292, 21, 366, 48)

# Kick buttons: 140 steps up (or nudges up), 141 steps the numerator or nudges down.
KICK_BUTTONS = [(74, (90, 24), 140), (75, (126, 24), 140), (76, (90, 113), 141),
                (77, (126, 113), 140), (78, (296, 113), 141), (79, (332, 113), 140)]

PAGE_SELECTORS = [(91, (63, 15, 75, 61), 148), (92, (63, 93, 75, 139), 149)]
WAVE_SELECTOR = (9, (359, 83, 375, 139), 152)
INVISIBLE_SLIDERS = [(90, (112, 115, 125, 132)), (10, (317, 115, 330, 132)),
                     (61, (293, 22, 365, 48))]
METERS = [(80, (43, 23, 50, 68)), (81, (43, 87, 50, 132))]
ABOUT_AREAS = [(2, 2, 21, 153), (921, 2, 940, 153)]
VERSION_BOX = (740, 70, 840, 85)


@dataclass(frozen=True)
class BarControl:
    """A control of the preset bar drawn from a bitmap strip."""
    tag: int
    rect: tuple
    bitmap: int


PRESET_BAR_CONTROLS = [
    BarControl(99, (342, 156, 372, 169), 995),
    BarControl(100, (87, 156, 104, 171), 990),
    BarControl(101, (36, 156, 53, 171), 991),
    BarControl(111, (53, 156, 85, 169), 992),
    BarControl(102, (179, 156, 196, 171), 990),
    BarControl(103, (116, 156, 133, 171), 991),
    BarControl(112, (134, 156, 178, 169), 993),
    BarControl(113, (390, 156, 407, 171), 991),
    BarControl(115, (423, 156, 440, 171), 990),
    BarControl(114, (454, 156, 471, 171), 991),
    BarControl(116, (488, 156, 505, 171), 990),
    BarControl(107, (653, 156, 670, 171), 991),
    BarControl(108, (671, 156, 699, 169), 994),
    BarControl(106, (701, 156, 718, 171), 990),
    BarControl(105, (831, 155, 855, 171), 998),
    BarControl(109, (856, 155, 880, 171), 999),
    BarControl(117, (899, 159, 910, 166), 988),
    BarControl(118, (920, 158, 931, 167), 989),
]
# Text wells the preset bar draws its own text into, on the panel background.
NAME_FIELD = (210, 157, 322, 169)
PROGRAM_MENU = (322, 157, 335, 169)
CONTROLLER_DISPLAY = (733, 157, 823, 169)


def button_rect(corner, bitmap):
    strip = BITMAPS[bitmap]
    return (corner[0], corner[1], corner[0] + strip.width, corner[1] + strip.frame_height)


def all_control_rects():
    """Every rectangle a bitmap control paints over the background, with its bitmap id.

    A switch paints its bitmap's width even where its click rectangle is wider."""
    rects = [(k.area, k.bitmap) for k in KNOBS]
    rects += [(button_rect(b.corner, b.bitmap), b.bitmap) for b in ON_OFF_BUTTONS]
    rects += [(button_rect(s.rect[:2], s.bitmap), s.bitmap) for s in SWITCHES]
    for tag, corner, bitmap in READOUT_DIGITS + READOUT_POINTS + READOUT_COLONS + KICK_BUTTONS:
        rects.append((button_rect(corner, bitmap), bitmap))
    rects += [(rect, bitmap) for _, rect, bitmap in PAGE_SELECTORS]
    rects.append((WAVE_SELECTOR[1], WAVE_SELECTOR[2]))
    rects += [(rect, 153) for _, rect in METERS]
    rects += [(c.rect, c.bitmap) for c in PRESET_BAR_CONTROLS]
    return rects
