#!/usr/bin/env python3
"""Writes the game's icon into Data/Icons/hicolor/NxN/apps/halvardine.png at
the sizes desktops look for (the hicolor theme's 16 ... 256): an amber
aircraft seen from above, banking over the sea and the island under a sky
gradient, on a rounded square. The same PNG bytes on every run.

    python3 tools/makeicon.py
"""
import math
import struct
import zlib
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "Data" / "Icons" / "hicolor"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

SKY_TOP = (0.10, 0.27, 0.62)
SKY_LOW = (0.55, 0.78, 0.95)
SEA = (0.07, 0.33, 0.47)
ISLAND = (0.22, 0.52, 0.22)
PLANE = (0.98, 0.62, 0.12)
SHADOW = (0.04, 0.10, 0.20)
CORNER = 0.2  # of the side
HORIZON = 0.74
BANK = math.radians(-35)

# The aircraft from above, nose up, in a unit square around (0.5, 0.5):
# rectangles (centre x, centre y, half width, half height).
AIRCRAFT = (
    (0.50, 0.50, 0.05, 0.33),  # fuselage
    (0.50, 0.36, 0.38, 0.075),  # wing
    (0.50, 0.78, 0.16, 0.045),  # tail plane
    (0.50, 0.16, 0.10, 0.012),  # propeller
)


def rounded_square(x, y):
    """True inside the icon's rounded square (unit coordinates)."""
    dx = max(CORNER - x, 0.0, x - (1 - CORNER))
    dy = max(CORNER - y, 0.0, y - (1 - CORNER))
    return dx * dx + dy * dy <= CORNER * CORNER


def in_aircraft(x, y):
    # Turned by the bank around the centre, then tested unturned.
    c, s = math.cos(BANK), math.sin(BANK)
    u = 0.5 + c * (x - 0.5) + s * (y - 0.5)
    v = 0.5 - s * (x - 0.5) + c * (y - 0.5)
    return any(abs(u - cx) <= hw and abs(v - cy) <= hh for cx, cy, hw, hh in AIRCRAFT)


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def colour(x, y):
    """(r, g, b, a) of one sample."""
    if not rounded_square(x, y):
        return (0.0, 0.0, 0.0, 0.0)
    if in_aircraft(x, y):
        return PLANE + (1.0,)
    if in_aircraft(x - 0.04, y - 0.05):
        base = colour_of_ground(x, y)
        return mix(base, SHADOW, 0.45) + (1.0,)
    return colour_of_ground(x, y) + (1.0,)


def colour_of_ground(x, y):
    if y < HORIZON:
        return mix(SKY_TOP, SKY_LOW, y / HORIZON)
    # The island: a hump rising out of the sea on the left.
    hill = HORIZON + 0.05 + 3.0 * (x - 0.25) ** 2
    return ISLAND if y > hill else SEA


def render(size):
    samples = 4 if size <= 64 else 2
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter: none
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = colour((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (samples * samples)
            rgb = [c / acc[3] if acc[3] else 0.0 for c in acc[:3]]
            row += bytes(max(0, min(255, round(c * 255))) for c in rgb + [alpha])
        rows.append(bytes(row))
    return png(size, size, b"".join(rows))


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, raw):
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    for size in SIZES:
        path = OUT / f"{size}x{size}" / "apps" / "halvardine.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(render(size))
        print(path.relative_to(OUT.parent.parent.parent))


if __name__ == "__main__":
    main()
