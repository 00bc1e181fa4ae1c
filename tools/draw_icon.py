#!/usr/bin/env python3
"""Draws the program icon: a page with lines of text and a round "T" badge.

One drawing, given in a 32 x 32 unit square, becomes src/app/icons/tessary-32.png,
tessary-16.png (the same shapes at half scale) and tessary.svg. The PNGs are
rasterised here with 8 x 8 samples per pixel, so the script needs nothing beyond
Python's standard library, and its output is the same on every run.

    tools/draw_icon.py            # rewrites the three files
    tools/draw_icon.py --check    # exit 1 if the committed files differ
"""

import argparse
import pathlib
import struct
import sys
import zlib

OUT_DIR = pathlib.Path(__file__).resolve().parent.parent / "src" / "app" / "icons"
SAMPLES = 8  # per pixel and axis

INK = (0x33, 0x41, 0x55)      # page outline
PAPER = (0xFF, 0xFF, 0xFF)
FOLD = (0xB8, 0xC4, 0xD2)     # the turned-down corner
TEXT = (0x2F, 0x6D, 0xB5)     # lines of text
BADGE = (0xD9, 0x53, 0x1E)
BADGE_INK = (0xFF, 0xFF, 0xFF)

# Shapes in painting order: ("polygon", colour, points) or ("circle", colour,
# (cx, cy, r)). Edges lie on even units, so they fall on pixel edges at 16 px too.
SHAPES = [
    ("polygon", INK, [(4, 2), (20, 2), (28, 10), (28, 30), (4, 30)]),
    ("polygon", PAPER, [(6, 4), (19, 4), (26, 11), (26, 28), (6, 28)]),
    ("polygon", FOLD, [(19, 4), (19, 11), (26, 11)]),
    ("polygon", INK, [(18, 2), (20, 2), (20, 10), (28, 10), (28, 12), (18, 12)]),
]
for top, right in [(6, 16), (10, 24), (14, 24), (18, 14), (22, 12)]:
    SHAPES.append(("polygon", TEXT, [(8, top), (right, top), (right, top + 2), (8, top + 2)]))
SHAPES += [
    ("circle", BADGE, (22, 22, 9)),
    ("polygon", BADGE_INK, [(16, 16), (28, 16), (28, 20), (16, 20)]),
    ("polygon", BADGE_INK, [(20, 16), (24, 16), (24, 28), (20, 28)]),
]

def inside_polygon(x, y, points):
    inside = False
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def colour_at(x, y):
    """The colour of the topmost shape at (x, y) in units, or None."""
    for kind, colour, geometry in reversed(SHAPES):
        if kind == "polygon" and inside_polygon(x, y, geometry):
            return colour
        if kind == "circle":
            cx, cy, r = geometry
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                return colour
    return None


def rasterise(size):
    scale = 32 / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) * scale,
                                  (py + (sy + 0.5) / SAMPLES) * scale)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += c[i]
            if covered:
                row += bytes(round(t / covered) for t in total)
                row.append(round(255 * covered / SAMPLES ** 2))
            else:
                row += b"\0\0\0\0"
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg():
    def hex_colour(c):
        return "#%02x%02x%02x" % c
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">']
    for kind, colour, geometry in SHAPES:
        if kind == "polygon":
            points = " ".join("%g,%g" % p for p in geometry)
            parts.append('  <polygon fill="%s" points="%s"/>' % (hex_colour(colour), points))
        else:
            parts.append('  <circle fill="%s" cx="%g" cy="%g" r="%g"/>' %
                         (hex_colour(colour), *geometry))
    parts.append("</svg>")
    return ("\n".join(parts) + "\n").encode()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--out-dir", type=pathlib.Path, default=OUT_DIR)
    args = parser.parse_args()
    files = {
        "tessary-32.png": png(32, rasterise(32)),
        "tessary-16.png": png(16, rasterise(16)),
        "tessary.svg": svg(),
    }
    stale = []
    for name, data in files.items():
        path = args.out_dir / name
        if args.check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
