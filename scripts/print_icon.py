#!/usr/bin/env python3
"""Draws the print button's own picture (used where the desktop theme has no
"document-print" icon): a printer with a sheet going in at the top and a
printed sheet coming out. Writes icons/actions/print-16.png and print-32.png.
Plain Python, no imaging library: the picture is a few rectangles."""
import os
import struct
import zlib

# (left, top, right, bottom) on a 32-unit grid, colour (RGBA), drawn in order.
SHAPES = [
    ((8, 3, 24, 14), (0x50, 0x50, 0x50, 255)),   # sheet going in: outline
    ((9, 4, 23, 14), (0xFF, 0xFF, 0xFF, 255)),   # sheet going in
    ((3, 12, 29, 25), (0x3A, 0x3F, 0x45, 255)),  # body: outline
    ((4, 13, 28, 24), (0x8A, 0x91, 0x99, 255)),  # body
    ((6, 15, 9, 17), (0x7E, 0xD9, 0x57, 255)),   # power lamp
    ((8, 20, 24, 30), (0x50, 0x50, 0x50, 255)),  # printed sheet: outline
    ((9, 21, 23, 29), (0xFF, 0xFF, 0xFF, 255)),  # printed sheet
    ((11, 23, 21, 24), (0x20, 0x20, 0x20, 255)),  # printed lines
    ((11, 26, 18, 27), (0x20, 0x20, 0x20, 255)),
]


def render(size):
    # Each pixel averages 4 × 4 samples, so the small size keeps its shapes.
    samples = 4
    scale = 32 / (size * samples)
    rows = []
    for y in range(size):
        row = bytearray([0])  # filter: none
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    px = (x * samples + sx + 0.5) * scale
                    py = (y * samples + sy + 0.5) * scale
                    colour = (0, 0, 0, 0)
                    for (l, t, r, b), c in SHAPES:
                        if l <= px < r and t <= py < b:
                            colour = c
                    alpha = colour[3]
                    for i in range(3):
                        acc[i] += colour[i] * alpha
                    acc[3] += alpha
            n = samples * samples
            a = acc[3]
            rgb = [round(acc[i] / a) if a else 0 for i in range(3)]
            row += bytes(rgb + [round(a / n)])
        rows.append(bytes(row))
    return bytes().join(rows)


def png(size, pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b"")


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "icons", "actions")
    os.makedirs(root, exist_ok=True)
    for size in (16, 32):
        with open(os.path.join(root, "print-%d.png" % size), "wb") as f:
            f.write(png(size, render(size)))


if __name__ == "__main__":
    main()
