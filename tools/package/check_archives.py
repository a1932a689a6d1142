#!/usr/bin/env python3
"""Checks the release archives that scripts/package.sh wrote into a folder.

    check_archives.py DIST [--manual PATH/TO/Velmora-Manual.pdf]

DIST must hold SHA256SUMS naming exactly the Linux and the Windows archive of one version, and
both archives must match their sums. Each archive must hold exactly its files, owned by no one
and stamped with one time; the binaries must be for their machines (the .so for x86_64, the x64
DLL for x86-64, the x86 DLL for i386) and report the version the archive names carry: the about
text in every binary, and the version resource of each DLL. With --manual, the manual in the
archives must be that file. Prints what it checked; exits 1 naming every problem.
"""

import hashlib
import re
import struct
import sys
import tarfile
import zipfile
from pathlib import Path

LINUX = re.compile(r"Velmora-(?P<version>[0-9]+\.[0-9]+\.[0-9]+)-linux-x86_64\.tar\.gz")
WINDOWS = re.compile(r"Velmora-(?P<version>[0-9]+\.[0-9]+\.[0-9]+)-windows\.zip")
MANUAL = "Velmora-Manual.pdf"
NOTE = "INSTALL.txt"
ABOUT_TEXT = re.compile(rb"v\.([0-9]+\.[0-9]+\.[0-9]+)\x00")
ELF_X86_64 = 62
PE_MACHINES = {"x64": 0x8664, "x86": 0x014C}
FIXED_FILE_INFO = struct.pack("<I", 0xFEEF04BD)


def linux_members(version):
    folder = f"Velmora-{version}-linux-x86_64"
    return {f"{folder}/Velmora.so", f"{folder}/{MANUAL}", f"{folder}/{NOTE}"}


def windows_members():
    return {NOTE} | {f"{arch}/{name}" for arch in PE_MACHINES for name in ("Velmora.dll", MANUAL)}


class Report:
    def __init__(self):
        self.problems = []

    def require(self, condition, problem):
        if not condition:
            self.problems.append(problem)
        return condition


def read_sums(dist, report):
    """{archive name: sha256 hex} from SHA256SUMS, in sha256sum's text format."""
    sums = {}
    path = dist / "SHA256SUMS"
    if not report.require(path.is_file(), f"{path} is missing"):
        return sums
    for line in path.read_text().splitlines():
        match = re.fullmatch(r"([0-9a-f]{64})  (\S+)", line)
        if report.require(match, f"SHA256SUMS: not a sha256sum line: {line!r}"):
            sums[match.group(2)] = match.group(1)
    return sums


def about_versions(binary):
    return {found.decode() for found in ABOUT_TEXT.findall(binary)}


def check_about_text(what, binary, version, report):
    found = about_versions(binary)
    report.require(found == {version}, f"{what}: about text says {sorted(found)}, not {version}")


def elf_machine(binary):
    if binary[:4] != b"\x7fELF" or binary[4] != 2:
        return None
    return struct.unpack_from("<H", binary, 18)[0]


def pe_machine(binary):
    if binary[:2] != b"MZ" or len(binary) < 0x40:
        return None
    header = struct.unpack_from("<I", binary, 0x3C)[0]
    if binary[header : header + 4] != b"PE\x00\x00":
        return None
    return struct.unpack_from("<H", binary, header + 4)[0]


def resource_versions(binary):
    """The versions a DLL's version resource states: the fixed numbers and the two texts."""
    found = {}
    at = binary.find(FIXED_FILE_INFO)
    if at >= 0:
        file_ms, file_ls = struct.unpack_from("<II", binary, at + 8)
        found["fixed"] = f"{file_ms >> 16}.{file_ms & 0xFFFF}.{file_ls >> 16}.{file_ls & 0xFFFF}"
    for key in ("FileVersion", "ProductVersion"):
        # The key, its NUL, at most one WORD of padding, then the value and its NUL (UTF-16).
        key_text = re.escape(f"{key}\0".encode("utf-16-le"))
        pattern = key_text + rb"(?:\x00\x00)?((?:[0-9.]\x00)+)\x00\x00"
        match = re.search(pattern, binary)
        if match:
            found[key] = match.group(1).decode("utf-16-le")
    return found


def check_members(what, names, expected, report):
    report.require(
        set(names) == expected and len(names) == len(expected),
        f"{what}: holds {sorted(names)}, expected {sorted(expected)}",
    )
    report.require(names == sorted(names), f"{what}: entries not in sorted order")


def check_linux(path, version, manual, report):
    with tarfile.open(path) as tar:
        members = tar.getmembers()
        check_members(path.name, [m.name for m in members], linux_members(version), report)
        for member in members:
            report.require(
                member.isfile()
                and (member.uid, member.gid, member.uname, member.gname) == (0, 0, "", ""),
                f"{path.name}: {member.name} is not a plain file owned by nobody in particular",
            )
        report.require(len({m.mtime for m in members}) == 1, f"{path.name}: mixed mtimes")
        files = {Path(m.name).name: (m, tar.extractfile(m).read()) for m in members if m.isfile()}
    if "Velmora.so" in files:
        member, binary = files["Velmora.so"]
        report.require(member.mode == 0o755, f"{path.name}: Velmora.so is not mode 0755")
        report.require(
            elf_machine(binary) == ELF_X86_64, f"{path.name}: Velmora.so is no x86_64 ELF"
        )
        check_about_text(f"{path.name}: Velmora.so", binary, version, report)
    check_common(path.name, {n: data for n, (_, data) in files.items()}, version, manual, report)


def check_windows(path, version, manual, report):
    with zipfile.ZipFile(path) as archive:
        infos = archive.infolist()
        check_members(path.name, [i.filename for i in infos], windows_members(), report)
        report.require(len({i.date_time for i in infos}) == 1, f"{path.name}: mixed mtimes")
        contents = {i.filename: archive.read(i) for i in infos}
    for arch, machine in PE_MACHINES.items():
        name = f"{arch}/Velmora.dll"
        if name not in contents:
            continue
        binary = contents[name]
        report.require(pe_machine(binary) == machine, f"{path.name}: {name} is not a {arch} DLL")
        check_about_text(f"{path.name}: {name}", binary, version, report)
        expected = {"fixed": f"{version}.0", "FileVersion": version, "ProductVersion": version}
        stated = resource_versions(binary)
        report.require(
            stated == expected, f"{path.name}: {name} version resource {stated}, not {expected}"
        )
    manuals = {contents.get(f"{arch}/{MANUAL}") for arch in PE_MACHINES}
    report.require(len(manuals) == 1, f"{path.name}: the two manuals differ")
    by_name = {name.split("/")[-1]: data for name, data in contents.items()}
    check_common(path.name, by_name, version, manual, report)


def check_common(what, files, version, manual, report):
    note = files.get(NOTE, b"").decode("utf-8", "replace")
    report.require(
        version in note and "@VERSION@" not in note, f"{what}: {NOTE} does not name {version}"
    )
    if manual is not None and MANUAL in files:
        report.require(files[MANUAL] == manual.read_bytes(), f"{what}: the manual is not {manual}")


def check(dist, manual=None):
    """Every problem found with the archives in dist; an empty list when they are as released."""
    report = Report()
    sums = read_sums(dist, report)
    matches = {
        pattern: [found for found in map(pattern.fullmatch, sums) if found]
        for pattern in (LINUX, WINDOWS)
    }
    report.require(
        len(sums) == 2 and all(len(found) == 1 for found in matches.values()),
        f"SHA256SUMS names {sorted(sums)}, not one Linux and one Windows archive",
    )
    for name, digest in sums.items():
        path = dist / name
        if report.require(path.is_file(), f"{name} is missing"):
            actual = hashlib.sha256(path.read_bytes()).hexdigest()
            report.require(actual == digest, f"{name}: sha256 {actual}, SHA256SUMS says {digest}")
    if report.problems:
        return report.problems
    linux, windows = matches[LINUX][0], matches[WINDOWS][0]
    version = linux["version"]
    report.require(
        windows["version"] == version, f"archive versions differ: {version}, {windows['version']}"
    )
    check_linux(dist / linux.group(0), version, manual, report)
    check_windows(dist / windows.group(0), version, manual, report)
    return report.problems


def main(argv):
    args = argv[1:]
    manual = None
    if len(args) == 3 and args[1] == "--manual":
        manual = Path(args[2])
        args = args[:1]
    if len(args) != 1:
        raise SystemExit("usage: check_archives.py DIST [--manual PATH]")
    problems = check(Path(args[0]), manual)
    for problem in problems:
        print(f"check_archives: {problem}", file=sys.stderr)
    if problems:
        return 1
    print("check_archives: checksums verify; each archive holds exactly its files; "
          "the binaries report the version in the names")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
