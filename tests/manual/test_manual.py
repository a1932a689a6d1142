"""Checks that the user manual still matches the product and holds together.

    /usr/bin/python3 -m unittest discover -s tests/manual      (registered with CTest)"""

import os
import re
import runpy
import sys
import types
import unittest

sys.dont_write_bytecode = True

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
MANUAL_DIR = os.path.join(ROOT, "docs", "manual")


def read(*parts):
    with open(os.path.join(ROOT, *parts), encoding="utf-8") as file:
        return file.read()


def heading_ids(markdown):
    """The ids pandoc gives the headings: lower case, punctuation other than - _ . dropped,
    spaces become hyphens."""
    ids = set()
    for title in re.findall(r"^#+ (.+)$", markdown, re.MULTILINE):
        text = re.sub(r"[^\w\s.-]", "", title.lower())
        ids.add(re.sub(r"\s+", "-", text.strip()))
    return ids


def parameter_names_in_code():
    """The host names of parameters 0..59, in order, from the description table."""
    source = read("engine", "ParameterDescriptions.h")
    table = source[source.index("kParameterDescriptions = [] {"):]
    table = table[:table.index("}();")]
    names = []
    for match in re.finditer(r'^\s*(continuous|named|numbered|unused)\((?:"([^"]*)")?', table,
                             re.MULTILINE):
        names.append("n/a" if match.group(1) == "unused" else match.group(2))
    return names


def automation_table(markdown):
    """{index: name} from the manual's two-column-pair automation table."""
    names = {}
    for row in re.findall(r"^\| (\d+) \| ([^|]+) \| [^|]+ \| (\d+) \| ([^|]+) \|", markdown,
                          re.MULTILINE):
        names[int(row[0])] = row[1].strip()
        names[int(row[2])] = row[3].strip()
    return names


class ManualText(unittest.TestCase):
    def setUp(self):
        self.markdown = read("docs", "manual", "manual.md")

    def test_automation_table_names_every_parameter_as_the_host_sees_it(self):
        in_code = parameter_names_in_code()
        self.assertEqual(len(in_code), 60)
        self.assertEqual(automation_table(self.markdown), dict(enumerate(in_code)))

    def test_links_within_the_manual_reach_a_heading(self):
        ids = heading_ids(self.markdown)
        targets = re.findall(r"\]\(#([^)]+)\)", self.markdown)
        self.assertTrue(targets)
        self.assertEqual([t for t in targets if t not in ids], [])

    def test_every_picture_exists(self):
        pictures = re.findall(r"!\[[^\]]*\]\(([^)]+)\)", self.markdown)
        self.assertTrue(pictures)
        missing = [p for p in pictures if not os.path.isfile(os.path.join(MANUAL_DIR, p))]
        self.assertEqual(missing, [])

    def test_program_and_controller_names_quoted_in_the_manual_exist(self):
        factory = read("presets", "FactoryPrograms.cpp")
        for name in ["Default", "Cirrostratus", "Bass Drone"]:
            self.assertIn(f'"{name}"', self.markdown)
            self.assertIn(f'"{name}"', factory)
        controllers = read("presets", "ControllerNames.h")
        for name in ["modulation", "main volume", "not assigned"]:
            self.assertIn(f'"{name}"', self.markdown)
            self.assertIn(f'"{name}"', controllers)


class ReadoutPictures(unittest.TestCase):
    """The readout values the picture script hands the snapshot tool."""

    @classmethod
    def setUpClass(cls):
        try:
            import cairo  # noqa: F401  (the picture script draws with it)
        except ImportError:
            raise unittest.SkipTest("python3-cairo is not installed")
        # The script's name is no module name: run it and keep what it defines.
        cls.images = types.SimpleNamespace(
            **runpy.run_path(os.path.join(MANUAL_DIR, "make-images.py")))

    def test_digits_points_and_colons(self):
        values = self.images.readout_values("120.0")
        self.assertAlmostEqual(values[64], 2 / 12)  # digit 1 shows 1: frame 2 of 0..12
        self.assertAlmostEqual(values[65], 3 / 10)  # digit 2 shows 2
        self.assertAlmostEqual(values[66], 1 / 10)  # digit 3 shows 0
        self.assertEqual([values[t] for t in (68, 69, 70)], [0.0, 0.0, 1.0])
        self.assertEqual([values[t] for t in (71, 72, 73)], [0.0, 0.0, 0.0])

    def test_sign_blank_and_colon(self):
        signed = self.images.readout_values("-6.02")
        self.assertAlmostEqual(signed[64], 11 / 12)  # minus sign
        self.assertAlmostEqual(self.images.readout_values("+0.00")[64], 1.0)  # plus sign
        note = self.images.readout_values("3 :16")
        self.assertEqual(note[65], 0.0)  # blank digit 2
        self.assertEqual([note[t] for t in (71, 72, 73)], [0.0, 1.0, 0.0])

    def test_a_text_without_four_digit_places_is_refused(self):
        with self.assertRaises(ValueError):
            self.images.readout_values("12.0")


if __name__ == "__main__":
    unittest.main()
