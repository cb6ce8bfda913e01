#!/usr/bin/env python3
"""Writes the GUI's textures into Data/Interface/Textures: the console's
translucent panel and text bar, window body, caption and resize grip, the
three push-button looks, the input line, the plain panel and the three soft
mouse cursors. 32-bit BMPs (alpha in the fourth byte), power-of-two sizes.

    python3 tools/makeguitextures.py
"""
import math
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "Data" / "Interface" / "Textures"


def write_bmp(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a) in 0..1, y = 0 at the top."""
    rows = []
    for y in range(height - 1, -1, -1):  # BMP rows bottom first
        row = bytearray()
        for x in range(width):
            r, g, b, a = (max(0, min(255, round(c * 255))) for c in pixel(x, y))
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(data), 2835, 2835, 0, 0)
    (OUT / name).write_bytes(header + info + data)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def vertical(top, bottom, height):
    return lambda x, y: mix(top, bottom, y / max(1, height - 1))


def console(x, y):
    # Deep blue-grey, darker at the bottom, with a faint scanline texture.
    r, g, b, a = mix((0.10, 0.14, 0.22, 0.78), (0.03, 0.05, 0.09, 0.86), y / 63)
    shade = 0.92 if y % 2 else 1.0
    return (r * shade, g * shade, b * shade, a)


def textbar(x, y):
    edge = y in (0, 15)
    return (0.30, 0.42, 0.58, 0.95) if edge else mix((0.12, 0.18, 0.28, 0.92), (0.08, 0.12, 0.20, 0.92), y / 15)


def grip(x, y):
    # Three diagonal ridges in the bottom-right corner.
    d = x + y
    on = d >= 15 and (d - 15) % 5 in (0, 1)
    return (0.85, 0.78, 0.62, 0.9 if on else 0.0)


def button(top, bottom):
    def pixel(x, y):
        edge = x in (0, 63) or y in (0, 31)
        c = mix(top, bottom, y / 31)
        return mix(c, (0.2, 0.2, 0.2, 1.0), 0.5) if edge else c
    return pixel


def inside_polygon(px, py, points):
    inside = False
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def cursor(points):
    """White shape with a black outline; points in 32 x 32 pixels."""
    def pixel(x, y):
        cx, cy = x + 0.5, y + 0.5
        if inside_polygon(cx, cy, points):
            near_edge = any(not inside_polygon(cx + dx, cy + dy, points)
                            for dx, dy in ((1.2, 0), (-1.2, 0), (0, 1.2), (0, -1.2)))
            return (0, 0, 0, 1) if near_edge else (1, 1, 1, 1)
        return (0, 0, 0, 0)
    return pixel


def rotated(points, angle, cx=16, cy=16):
    c, s = math.cos(angle), math.sin(angle)
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c) for x, y in points]


ARROW = [(1, 1), (1, 24), (7, 18), (11, 28), (15, 26), (11, 17), (19, 17)]
# A double-headed arrow from the top-left to the bottom-right corner.
DOUBLE = [(3, 3), (13, 3), (9.5, 7), (25, 22.5), (29, 19), (29, 29), (19, 29), (22.5, 25), (7, 9.5), (3, 13)]
# Four arrow heads on a cross.
CROSS = [(16, 1), (22, 8), (18, 8), (18, 14), (24, 14), (24, 10), (31, 16), (24, 22), (24, 18), (18, 18),
         (18, 24), (22, 24), (16, 31), (10, 24), (14, 24), (14, 18), (8, 18), (8, 22), (1, 16), (8, 10),
         (8, 14), (14, 14), (14, 8), (10, 8)]


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    write_bmp("console.bmp", 64, 64, console)
    write_bmp("console_textbar.bmp", 64, 16, textbar)
    write_bmp("window.bmp", 64, 64, vertical((0.16, 0.20, 0.27, 0.92), (0.09, 0.11, 0.16, 0.94), 64))
    write_bmp("caption.bmp", 64, 16, vertical((0.30, 0.45, 0.66, 1.0), (0.16, 0.26, 0.42, 1.0), 16))
    write_bmp("grip.bmp", 16, 16, grip)
    write_bmp("panel.bmp", 64, 64, vertical((0.20, 0.22, 0.26, 0.85), (0.12, 0.13, 0.16, 0.88), 64))
    write_bmp("button.bmp", 64, 32, button((0.93, 0.88, 0.76, 1), (0.72, 0.66, 0.54, 1)))
    write_bmp("button_selected.bmp", 64, 32, button((1.0, 0.95, 0.70, 1), (0.90, 0.76, 0.40, 1)))
    write_bmp("button_pushed.bmp", 64, 32, button((0.62, 0.56, 0.44, 1), (0.80, 0.74, 0.60, 1)))
    write_bmp("inputline.bmp", 64, 16, vertical((0.04, 0.05, 0.08, 0.95), (0.10, 0.12, 0.17, 0.95), 16))
    write_bmp("cursor_arrow.bmp", 32, 32, cursor(ARROW))
    write_bmp("cursor_move.bmp", 32, 32, cursor(CROSS))
    write_bmp("cursor_resize.bmp", 32, 32, cursor(DOUBLE))


if __name__ == "__main__":
    main()
