#!/usr/bin/env python3
"""Writes a zip archive whose bytes depend only on the files put into it.

    make-zip.py ARCHIVE FOLDER FILE...

Each FILE is stored as FOLDER/its name, in the order given, compressed, with
one time stamp for all (SOURCE_DATE_EPOCH, else 1980-01-01, the earliest a zip
can hold) and fixed permissions (programs 0755, other files 0644), so that
building the same files twice gives the same archive.
"""
import os
import pathlib
import sys
import time
import zipfile

EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00:00 UTC


def timestamp():
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", EARLIEST_ZIP_TIME))
    return time.gmtime(max(epoch, EARLIEST_ZIP_TIME))[:6]


def main(argv):
    if len(argv) < 4:
        sys.exit("usage: make-zip.py ARCHIVE FOLDER FILE...")
    archive, folder, files = pathlib.Path(argv[1]), argv[2], [pathlib.Path(f) for f in argv[3:]]
    stamp = timestamp()
    partial = archive.with_name(archive.name + ".partial")
    with zipfile.ZipFile(partial, "w") as out:
        for file in files:
            entry = zipfile.ZipInfo(f"{folder}/{file.name}", date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix, so that the permissions below are read back
            mode = 0o755 if file.suffix.lower() == ".exe" else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            out.writestr(entry, file.read_bytes(), compresslevel=9)
    partial.replace(archive)


if __name__ == "__main__":
    main(sys.argv)
