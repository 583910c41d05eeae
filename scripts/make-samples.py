#!/usr/bin/env python3
"""Writes one made-up settings file of each driver version into a folder.

The records are synthetic: a device-mode header naming a fictional engraver,
two short texts, a few entries and some plain values, laid out as each
version stores them. No real user file is shipped with the project.

    scripts/make-samples.py FOLDER
"""
import pathlib
import struct
import sys

VERSIONS = [  # (name, record length, older family?)
    ("6.04", 1472, True),
    ("7.00-7.04", 1480, True),
    ("7.05", 1852, False),
    ("7.07", 1856, False),
    ("8.00", 2888, False),
    ("8.02", 2892, False),
]


def put_text(record, offset, text):
    units = text.encode("utf-16-le") + b"\0\0"
    record[offset:offset + len(units)] = units


def sample(length, older):
    record = bytearray(length)
    put_text(record, 0, "Fictional Laser Engraver")  # dmDeviceName
    struct.pack_into("<HHHH", record, 64, 0x0401, 0x0100, 220, length - 220)  # dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra
    struct.pack_into("<III", record, 220, 600, 600, 1)
    put_text(record, 276, "C:\\Users\\engraver\\Documents\\plates\\nameplate.svg")
    struct.pack_into("<IIII", record, 788, 1, 0, 0, 3)  # 800: three entries in use
    struct.pack_into("<IIIIIIIII", record, 828, 40, 80, 1000, 2, 0, 4, 7, 0, 0)  # 848 holds 4
    put_text(record, 864, "Walnut veneer, two passes")
    stride = 6 if older else 28
    for i in range(3):
        entry = 1376 + stride * i
        record[entry:entry + 5] = bytes([i + 1, 10 * (i + 1), 50, 100, 1])
        if not older:
            struct.pack_into("<IIII", record, entry + 8, 1200, 1, 1, 0)
    if length >= 1856:
        struct.pack_into("<I", record, 1852, 3)
    if length >= 2888:
        put_text(record, 1856, "trevak\\engraving_setting")
        struct.pack_into("<II", record, 2368, 1, 0)
        put_text(record, 2376, "trevak\\jobs")
    if length >= 2892:
        struct.pack_into("<I", record, 2888, 1)
    return bytes(record)


def main():
    if len(sys.argv) != 2 or sys.argv[1].startswith("-"):
        sys.exit(__doc__)
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, length, older in VERSIONS:
        path = folder / f"engraver-{name}.dat"
        path.write_bytes(sample(length, older))
        print(path)


if __name__ == "__main__":
    main()
