#!/usr/bin/env python3
"""Draws the program's icons from tallowbrook.svg with nothing but Python.

Writes tallowbrook-16.png, -32.png and -48.png (RGBA, for the window icon and
the desktop) and tallowbrook.ico with the four images the Windows build's
resources carry: 32x32 in 16 colours, 48x48 in 256 colours, 32x32 monochrome
and 16x16 in 16 colours. Only the subset of SVG that tallowbrook.svg uses is
understood: rect (x, y, width, height, rx), circle and polygon, solid fills.

Run it from anywhere after changing the SVG: python3 make-icons.py
"""

import math
import pathlib
import struct
import xml.etree.ElementTree as ET
import zlib

HERE = pathlib.Path(__file__).resolve().parent
SVG = HERE / "tallowbrook.svg"
SAMPLES = 4  # supersamples per pixel and axis


def parse_colour(text):
    text = text.strip().lstrip("#")
    if len(text) == 3:
        text = "".join(c * 2 for c in text)
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def load_shapes(path):
    root = ET.parse(path).getroot()
    box = [float(v) for v in root.get("viewBox").split()]
    shapes = []
    for element in root:
        tag = element.tag.split("}")[-1]
        colour = parse_colour(element.get("fill"))
        get = lambda name, default=0.0: float(element.get(name, default))
        if tag == "rect":
            x, y, w, h, r = get("x"), get("y"), get("width"), get("height"), get("rx")
            shapes.append((colour, rounded_rect(x, y, w, h, r)))
        elif tag == "circle":
            cx, cy, r = get("cx"), get("cy"), get("r")
            shapes.append((colour, lambda px, py, cx=cx, cy=cy, r=r: (px - cx) ** 2 + (py - cy) ** 2 <= r * r))
        elif tag == "polygon":
            numbers = [float(v) for v in element.get("points").replace(",", " ").split()]
            shapes.append((colour, polygon(list(zip(numbers[0::2], numbers[1::2])))))
        else:
            raise SystemExit(f"make-icons.py does not draw <{tag}>")
    return box, shapes


def rounded_rect(x, y, w, h, r):
    def inside(px, py):
        if not (x <= px <= x + w and y <= py <= y + h):
            return False
        cx = min(max(px, x + r), x + w - r)
        cy = min(max(py, y + r), y + h - r)
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(px, py):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def render(box, shapes, size):
    """RGBA rows of `size` x `size` pixels, straight (not premultiplied) alpha."""
    scale = box[2] / size
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = box[0] + (col + (sx + 0.5) / SAMPLES) * scale
                    py = box[1] + (row + (sy + 0.5) / SAMPLES) * scale
                    colour = None
                    for fill, inside in shapes:
                        if inside(px, py):
                            colour = fill  # later shapes paint over earlier ones
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha == 0:
                line.append((0, 0, 0, 0))
            else:
                line.append(tuple(round(c / acc[3]) for c in acc[:3]) + (round(alpha * 255),))
        pixels.append(line)
    return pixels


def png_bytes(pixels):
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(v for p in line for v in p) for line in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]
CUBE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
GREYS = [(v, v, v) for v in (round(i * 255 / 25) for i in range(1, 25))]
PALETTE256 = VGA16 + CUBE + GREYS
MONO = [(0, 0, 0), (255, 255, 255)]


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def row_padded(bits):
    data = bytearray()
    for i in range(0, len(bits), 8):
        byte = 0
        for bit in bits[i:i + 8]:
            byte = (byte << 1) | bit
        data.append(byte << (8 - len(bits[i:i + 8])))
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def pack_indices(indices, depth):
    bits = []
    for index in indices:
        bits.extend((index >> shift) & 1 for shift in range(depth - 1, -1, -1))
    return row_padded(bits)


def dib_bytes(pixels, palette, depth):
    """An icon image: BITMAPINFOHEADER, palette, colour rows and mask rows, bottom-up."""
    size = len(pixels)
    colour_rows = b""
    mask_rows = b""
    for line in reversed(pixels):
        opaque = [p[3] >= 128 for p in line]
        indices = [nearest(palette, p[:3]) if o else 0 for p, o in zip(line, opaque)]
        colour_rows += pack_indices(indices, depth)
        mask_rows += row_padded([0 if o else 1 for o in opaque])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, len(colour_rows) + len(mask_rows),
                         0, 0, len(palette), 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table + colour_rows + mask_rows


def ico_bytes(images):
    """images: (size, colour count as the directory gives it, depth, DIB bytes)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, colours, depth, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, depth, len(data), offset)
        offset += len(data)
        body += data
    return directory + body


def main():
    box, shapes = load_shapes(SVG)
    rendered = {size: render(box, shapes, size) for size in (16, 32, 48)}
    for size, pixels in rendered.items():
        (HERE / f"tallowbrook-{size}.png").write_bytes(png_bytes(pixels))
    images = [
        (32, 16, 4, dib_bytes(rendered[32], VGA16, 4)),
        (48, 0, 8, dib_bytes(rendered[48], PALETTE256, 8)),
        (32, 2, 1, dib_bytes(rendered[32], MONO, 1)),
        (16, 16, 4, dib_bytes(rendered[16], VGA16, 4)),
    ]
    (HERE / "tallowbrook.ico").write_bytes(ico_bytes(images))


if __name__ == "__main__":
    main()
