#!/usr/bin/env python3
"""Packs a folder into a .tar.gz or .zip that is the same bytes on every run.

    archive.py OUT.tar.gz|OUT.zip FOLDER MTIME

Every file below FOLDER becomes an entry named by its path relative to FOLDER, in sorted order,
stamped with MTIME (seconds since 1970, UTC), owned by nobody in particular (uid and gid 0, no
names), with mode 0755 when the file is executable and 0644 otherwise. Folders get no entries of
their own; unpacking makes them. Nothing of the packing machine (time, user, file order on disk)
reaches the archive.
"""

import gzip
import os
import stat
import sys
import tarfile
import time
import zipfile
from pathlib import Path


def entries(folder):
    """(archive name, path, mode) of every file below folder, sorted by name."""
    found = []
    for path in folder.rglob("*"):
        if path.is_dir() and not path.is_symlink():
            continue
        if path.is_symlink() or not path.is_file():
            raise SystemExit(f"archive: {path} is neither a plain file nor a folder")
        executable = path.stat().st_mode & stat.S_IXUSR
        found.append((path.relative_to(folder).as_posix(), path, 0o755 if executable else 0o644))
    return sorted(found)


def write_tar_gz(out, files, mtime):
    with open(out, "wb") as raw, gzip.GzipFile(
        filename="", mode="wb", fileobj=raw, compresslevel=9, mtime=mtime
    ) as packed, tarfile.open(fileobj=packed, mode="w", format=tarfile.USTAR_FORMAT) as tar:
        for name, path, mode in files:
            info = tarfile.TarInfo(name)
            info.size = path.stat().st_size
            info.mtime = mtime
            info.mode = mode
            info.uid = info.gid = 0
            info.uname = info.gname = ""
            with open(path, "rb") as data:
                tar.addfile(info, data)


def write_zip(out, files, mtime):
    stamp = time.gmtime(max(mtime, 315532800))[:6]  # zip's clock starts in 1980
    with zipfile.ZipFile(out, "w") as archive:
        for name, path, mode in files:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so unpackers there honour the mode
            info.external_attr = (stat.S_IFREG | mode) << 16
            archive.writestr(info, path.read_bytes(), compresslevel=9)


def main(argv):
    if len(argv) != 4:
        raise SystemExit("usage: archive.py OUT.tar.gz|OUT.zip FOLDER MTIME")
    out, folder, mtime = Path(argv[1]), Path(argv[2]), int(argv[3])
    files = entries(folder)
    if not files:
        raise SystemExit(f"archive: nothing to pack in {folder}")
    if out.name.endswith(".tar.gz"):
        write_tar_gz(out, files, mtime)
    elif out.suffix == ".zip":
        write_zip(out, files, mtime)
    else:
        raise SystemExit(f"archive: {out} is neither .tar.gz nor .zip")


if __name__ == "__main__":
    main(sys.argv)
