"""The release archives' packer and checker (tools/package/) on small made-up binaries."""

import hashlib
import os
import struct
import sys
import tarfile
import tempfile
import unittest
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "package"))
import archive  # noqa: E402
import check_archives  # noqa: E402

VERSION = "2.3.4"
MTIME = 1700000000


def fake_so(about_version=VERSION):
    header = b"\x7fELF\x02\x01\x01".ljust(18, b"\0") + struct.pack("<H", 62)
    return header.ljust(64, b"\0") + b"code\0v." + about_version.encode() + b"\0more"


def fake_dll(machine, resource_version=VERSION):
    major, minor, patch = (int(part) for part in resource_version.split("."))
    dos = b"MZ".ljust(0x3C, b"\0") + struct.pack("<I", 0x40)
    fixed = struct.pack("<IIII", 0xFEEF04BD, 0x10000, major << 16 | minor, patch << 16)
    texts = b"".join(
        f"{key}\0".encode("utf-16-le") + b"\0\0" + f"{resource_version}\0".encode("utf-16-le")
        for key in ("FileVersion", "ProductVersion")
    )
    about = b"v." + VERSION.encode() + b"\0"
    return dos + b"PE\0\0" + struct.pack("<H", machine) + b"\0" * 32 + about + fixed + texts


class Dist:
    """A dist folder as scripts/package.sh writes it, from files that can be swapped first."""

    def __init__(self, folder):
        self.folder = folder
        self.manual = b"%PDF-1.4 manual"
        note = f"Velmora {VERSION}\n".encode()
        linux = f"Velmora-{VERSION}-linux-x86_64"
        self.linux = {
            f"{linux}/Velmora.so": fake_so(),
            f"{linux}/Velmora-Manual.pdf": self.manual,
            f"{linux}/INSTALL.txt": note,
        }
        self.windows = {
            "INSTALL.txt": note,
            "x64/Velmora.dll": fake_dll(0x8664),
            "x64/Velmora-Manual.pdf": self.manual,
            "x86/Velmora.dll": fake_dll(0x14C),
            "x86/Velmora-Manual.pdf": self.manual,
        }

    def write(self):
        names = [f"Velmora-{VERSION}-linux-x86_64.tar.gz", f"Velmora-{VERSION}-windows.zip"]
        for name, files in zip(names, (self.linux, self.windows)):
            stage = self.folder / ("stage-" + name)
            for member, data in files.items():
                path = stage / member
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_bytes(data)
                path.chmod(0o755 if member.endswith(".so") else 0o644)
            archive.main(["archive.py", str(self.folder / name), str(stage), str(MTIME)])
        sums = [f"{hashlib.sha256((self.folder / n).read_bytes()).hexdigest()}  {n}" for n in names]
        (self.folder / "SHA256SUMS").write_text("\n".join(sums) + "\n")
        return names

    def problems(self):
        manual = self.folder / "manual.pdf"
        manual.write_bytes(self.manual)
        return check_archives.check(self.folder, manual)


class CheckArchivesTest(unittest.TestCase):
    def setUp(self):
        scratch = tempfile.TemporaryDirectory()
        self.addCleanup(scratch.cleanup)
        self.dist = Dist(Path(scratch.name))

    def assertProblem(self, fragment):
        problems = self.dist.problems()
        self.assertTrue(any(fragment in p for p in problems), f"{fragment!r} not in {problems}")

    def test_archives_as_packed_pass(self):
        self.dist.write()
        self.assertEqual(self.dist.problems(), [])

    def test_a_missing_or_extra_file_is_named(self):
        self.dist.windows["x64/Velmora.pdb"] = b"symbols"
        del self.dist.linux[f"Velmora-{VERSION}-linux-x86_64/INSTALL.txt"]
        self.dist.write()
        self.assertProblem("x64/Velmora.pdb")
        self.assertProblem("INSTALL.txt")

    def test_an_archive_changed_after_its_sum_fails(self):
        linux, _ = self.dist.write()
        with open(self.dist.folder / linux, "ab") as tail:
            tail.write(b"\0")
        self.assertProblem(f"{linux}: sha256")

    def test_a_binary_of_another_version_fails(self):
        self.dist.linux[f"Velmora-{VERSION}-linux-x86_64/Velmora.so"] = fake_so("2.3.3")
        self.dist.windows["x86/Velmora.dll"] = fake_dll(0x14C, resource_version="2.4.0")
        self.dist.write()
        self.assertProblem("Velmora.so: about text says ['2.3.3']")
        self.assertProblem("x86/Velmora.dll version resource")

    def test_swapped_dlls_fail(self):
        windows = self.dist.windows
        windows["x64/Velmora.dll"], windows["x86/Velmora.dll"] = (
            windows["x86/Velmora.dll"],
            windows["x64/Velmora.dll"],
        )
        self.dist.write()
        self.assertProblem("x64/Velmora.dll is not a x64 DLL")
        self.assertProblem("x86/Velmora.dll is not a x86 DLL")

    def test_a_manual_that_is_not_the_committed_one_fails(self):
        older = b"%PDF-1.4 older manual"
        self.dist.linux[f"Velmora-{VERSION}-linux-x86_64/Velmora-Manual.pdf"] = older
        self.dist.windows["x86/Velmora-Manual.pdf"] = older
        linux, _ = self.dist.write()
        self.assertProblem(f"{linux}: the manual is not")
        self.assertProblem("the two manuals differ")


class ArchiveTest(unittest.TestCase):
    def test_same_bytes_whatever_the_files_times_and_order(self):
        with tempfile.TemporaryDirectory() as scratch:
            root = Path(scratch)
            outputs = []
            orders = (["b.txt", "a/z.bin", "a/c.so"], ["a/c.so", "b.txt", "a/z.bin"])
            for run, names in enumerate(orders):
                stage = root / f"stage{run}"
                for index, name in enumerate(names):
                    path = stage / name
                    path.parent.mkdir(parents=True, exist_ok=True)
                    path.write_bytes(name.encode())
                    path.chmod(0o700 if name.endswith(".so") else 0o600)
                    os.utime(path, (MTIME + run * 1000 + index, MTIME + run * 1000 + index))
                for suffix in (".tar.gz", ".zip"):
                    out = root / f"out{run}{suffix}"
                    archive.main(["archive.py", str(out), str(stage), str(MTIME)])
                    outputs.append(out.read_bytes())
            self.assertEqual(outputs[0], outputs[2], "tar.gz differs between runs")
            self.assertEqual(outputs[1], outputs[3], "zip differs between runs")

            with tarfile.open(root / "out0.tar.gz") as tar:
                members = tar.getmembers()
            self.assertEqual([m.name for m in members], ["a/c.so", "a/z.bin", "b.txt"])
            self.assertEqual([m.mode for m in members], [0o755, 0o644, 0o644])
            self.assertEqual({(m.mtime, m.uid, m.uname) for m in members}, {(MTIME, 0, "")})
            with zipfile.ZipFile(root / "out0.zip") as packed:
                modes = [(i.filename, i.external_attr >> 16 & 0o777) for i in packed.infolist()]
            self.assertEqual(modes, [("a/c.so", 0o755), ("a/z.bin", 0o644), ("b.txt", 0o644)])


if __name__ == "__main__":
    unittest.main()
