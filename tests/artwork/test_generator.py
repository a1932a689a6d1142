"""Tests of the artwork generator's own checks and of its BMP writer.

    python3 -m unittest discover -s tests/artwork      (run by tools/artwork/check.sh)"""

import os
import struct
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                                "artwork"))

import cairo  # noqa: E402

import bmp  # noqa: E402
import generate  # noqa: E402
import layout  # noqa: E402


def decode(data):
    """A minimal reader of what bmp.encode writes: (width, height, bits, rows top first)."""
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for row in range(height):
        start = offset + (height - 1 - row) * stride
        rows.append(data[start:start + stride])
    return width, height, bits, rows


class BmpWriterTest(unittest.TestCase):
    def test_rows_are_bottom_up_in_blue_green_red_order_and_padded_with_zeros(self):
        surface = cairo.ImageSurface(cairo.FORMAT_RGB24, 3, 2)
        ctx = cairo.Context(surface)
        ctx.set_source_rgb(1, 0, 0)  # top row red
        ctx.rectangle(0, 0, 3, 1)
        ctx.fill()
        ctx.set_source_rgb(0, 0, 1)  # bottom row blue
        ctx.rectangle(0, 1, 3, 1)
        ctx.fill()
        data = bmp.encode(surface, 24)
        width, height, bits, rows = decode(data)
        self.assertEqual((width, height, bits), (3, 2, 24))
        self.assertEqual(len(data), 54 + 2 * 12)
        self.assertEqual(rows[0], bytes([0, 0, 255] * 3 + [0, 0, 0]))
        self.assertEqual(rows[1], bytes([255, 0, 0] * 3 + [0, 0, 0]))

    def test_alpha_is_stored_beside_the_plain_colour(self):
        # Cairo keeps colour multiplied by alpha; a decoder blending the file expects it plain.
        surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, 2, 1)
        ctx = cairo.Context(surface)
        ctx.set_source_rgba(200 / 255, 100 / 255, 40 / 255, 0.5)
        ctx.rectangle(0, 0, 1, 1)
        ctx.fill()
        _, _, bits, rows = decode(bmp.encode(surface, 32))
        self.assertEqual(bits, 32)
        blue, green, red, alpha = rows[0][0:4]
        self.assertAlmostEqual(alpha, 128, delta=1)
        for got, wanted in ((red, 200), (green, 100), (blue, 40)):
            self.assertAlmostEqual(got, wanted, delta=2)
        self.assertEqual(rows[0][4:8], bytes(4))  # fully clear stays zero


class GeneratorChecksTest(unittest.TestCase):
    def test_a_label_over_a_control_is_reported(self):
        knob = layout.KNOBS[0]
        left, top, _, _ = knob.area
        clear = generate.label_collisions([("CLEAR", (0, 0, 1, 1))])
        over = generate.label_collisions([("OVER", (left + 2, top + 2, left + 9, top + 8))])
        self.assertEqual(clear, [])
        self.assertEqual(len(over), 1)
        self.assertIn("OVER", over[0])

    def test_a_shared_strip_over_differing_panel_is_reported(self):
        panel = cairo.ImageSurface(cairo.FORMAT_RGB24, layout.PANEL_WIDTH, layout.PANEL_HEIGHT)
        self.assertEqual(generate.backdrops(panel)[1], [])
        ctx = cairo.Context(panel)
        ctx.set_source_rgb(1, 1, 1)  # a stray mark under the second knob of strip 130 only
        second = [k for k in layout.KNOBS if k.bitmap == 130][1]
        ctx.rectangle(second.area[0] + 1, second.area[1] + 1, 2, 2)
        ctx.fill()
        problems = generate.backdrops(panel)[1]
        self.assertEqual(len(problems), 1)
        self.assertIn("bitmap 130", problems[0])

    def test_the_drawn_panel_passes_both_checks(self):
        surfaces, problems = generate.build_all()
        self.assertEqual(problems, [])
        self.assertEqual(set(surfaces), set(layout.BITMAPS))


if __name__ == "__main__":
    unittest.main()
