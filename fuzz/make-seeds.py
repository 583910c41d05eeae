#!/usr/bin/env python3
"""Writes a small synthetic seed corpus for each fuzz target.

Usage: make-seeds.py OUTPUT_FOLDER
Creates OUTPUT_FOLDER/{converters,output_path,merge}. Every record is built
here from the layout's offsets; no real settings file is involved.
"""

import pathlib
import struct
import sys

LENGTHS = [1472, 1480, 1852, 1856, 2888, 2892]
SUFFIX_COUNT = 6
NEWER_ENTRY_STRIDE = 28
OLDER_ENTRY_STRIDE = 6


def u32(record, offset, value):
    record[offset:offset + 4] = struct.pack("<I", value)


def text(record, offset, value, terminated=True):
    units = value.encode("utf-16-le") + (b"\0\0" if terminated else b"")
    record[offset:offset + len(units)] = units


def record(length, variant):
    """A record of `length` bytes in one of a few shapes that reach the
    converters' branches: entry counts, unterminated slots, remapped values."""
    rec = bytearray(length)
    struct.pack_into("<H", rec, 70, length - 220)
    text(rec, 0, "Engraver", terminated=True)
    stride = OLDER_ENTRY_STRIDE if length <= 1480 else NEWER_ENTRY_STRIDE
    capacity = 16 if length == 1472 else 17
    if variant == 0:  # an ordinary record
        text(rec, 276, "Studio A")
        text(rec, 864, "C:\\engrave\\jobs")
        u32(rec, 800, 3)
        u32(rec, 836, 1000)
    elif variant == 1:  # full tables, values the rules remap
        u32(rec, 800, 17)
        u32(rec, 788, 9)
        u32(rec, 848, 3)
        u32(rec, 852, 7)
        for i in range(capacity):
            at = 1376 + stride * i
            rec[at:at + stride] = bytes((i + k) & 0xFF for k in range(stride))
        if length >= 1856:
            u32(rec, 1852, 3)
    else:  # slots without a zero unit, an absurd entry count
        rec[276:788] = b"\x41\x00" * 256
        rec[864:1376] = b"\xff\xff" * 256
        u32(rec, 800, 0xFFFFFFFF)
        if length >= 2888:
            rec[1856:2368] = b"\x42\x00" * 256
            rec[2376:2888] = b"\x43\x00" * 256
    return bytes(rec)


def converter_seeds():
    pairs = [(s, t) for s in range(6) for t in range(6) if s != t]
    for index, (source, _target) in enumerate(pairs):
        for variant in range(3):
            yield f"pair{index:02d}-v{variant}", bytes([index]) + record(LENGTHS[source], variant)


def output_path_seeds():
    paths = [
        "D:\\cfg\\laser.dat", "/home/user/laser.dat", "D:\\a\\config", "abc", "", "C:", "C:x",
        "/", "a/b", "dir/.dat", "Ordner/Grüße.dat", "/tmp/ñandú€.dat", "x/😀😀.dat",
        "\\\\server\\share\\file.DAT", "c:/mixed\\sep/name.dat",
        # Drives behind the platform's prefixes, and colons that name a data stream.
        "\\\\?\\D:\\cfg\\laser.dat", "//./D:x", "\\\\?\\UNC\\srv\\share\\a.dat",
        "D:\\cfg\\laser.dat:s", "laser.dat::$DATA", "\\\\?\\D:a:b", "1:ab",
    ]
    for index, path in enumerate(paths):
        yield f"path{index:02d}", bytes([index % SUFFIX_COUNT]) + path.encode("utf-8")
    # Bytes that are not UTF-8: a lone continuation byte and a cut sequence.
    yield "bad-utf8-1", b"\x05dir/\x80\x80ab"
    yield "bad-utf8-2", b"\x02dir/name\xe2\x82"


def merge_seeds():
    # byte 0: chooser (bits 0-2) and a second file (bit 3); then two lengths.
    pattern = record(2892, 1)
    chooser_and_lengths = [
        (5, 1472, 0), (0, 2892, 0), (3, 1852, 0), (2, 1480, 0), (4, 1856, 0), (1, 2888, 0),
        (5, 2892, 0), (6, 1472, 0), (7, 1480, 0), (5, 0, 0), (5, 1473, 0), (5, 4000, 0),
        (5, 4001, 0), (0x8 | 2, 2892, 1472), (0x8 | 4, 1480, 1856), (0x8 | 0, 1852, 2888),
    ]
    for index, (head, first, second) in enumerate(chooser_and_lengths):
        yield f"merge{index:02d}", bytes([head]) + struct.pack("<HH", first, second) + pattern


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    root = pathlib.Path(sys.argv[1])
    for name, seeds in (("converters", converter_seeds()), ("output_path", output_path_seeds()),
                        ("merge", merge_seeds())):
        folder = root / name
        folder.mkdir(parents=True, exist_ok=True)
        for seed_name, data in seeds:
            (folder / seed_name).write_bytes(data)


if __name__ == "__main__":
    main()
