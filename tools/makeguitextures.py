#!/usr/bin/env python3
"""Writes the GUI's textures into Data/Interface/Textures: the console's
translucent panel and text bar, window body, caption and resize grip, the
three push-button looks, the input line, the plain panel, the three soft
mouse cursors and the widgets' pieces (check box, radio, gauge, scroller,
spin box, list, combo arrow, border, focus frame, splitter bar, the aircraft
icons). 32-bit BMPs (alpha in the fourth byte), power-of-two sizes. The
widgets' surface shaders go to Data/Interface/Shaders.

    python3 tools/makeguitextures.py
"""
import math
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "Data" / "Interface" / "Textures"
SHADERS = OUT.parent / "Shaders"


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


def write_shader(name, comment):
    """An orthographic, alpha-blended GUI shader over Textures/<name>.bmp."""
    (SHADERS / (name + ".shader")).write_text(
        "!!ZSS1.1\n; " + comment + "\nSurfaceShader\n{\n  Projection ZPR_ORTHOGRAPHIC\n  Texture0\n  {\n"
        "    File Interface\\Textures\\" + name + ".bmp\n  }\n  Blend\n  {\n"
        "    BlendFunc GL_SRC_ALPHA GL_ONE_MINUS_SRC_ALPHA\n  }\n  Enable\n  {\n    ColorWrites\n  }\n}\n")


FRAME = (0.55, 0.62, 0.72, 1.0)
DARK = (0.05, 0.06, 0.09, 0.92)
AMBER = (1.0, 0.78, 0.30, 1.0)


def box(inner, edge=FRAME, size=16):
    def pixel(x, y):
        return edge if x in (0, size - 1) or y in (0, size - 1) else inner(x, y)
    return pixel


def check_mark(x, y):
    # Two strokes: down from (3, 8) to (6, 12), up to (13, 4).
    cx, cy = x + 0.5, y + 0.5
    d1 = abs((cy - 8) - (cx - 3) * 4 / 3) if 3 <= cx <= 6.5 else 9
    d2 = abs((cy - 12) + (cx - 6) * 8 / 7) if 6 <= cx <= 13 else 9
    return AMBER if min(d1, d2) < 1.3 else DARK


def ring(filled):
    def pixel(x, y):
        r = math.hypot(x + 0.5 - 8, y + 0.5 - 8)
        if 5.5 <= r <= 7.5:
            return FRAME
        if r < 5.5:
            return AMBER if filled and r < 3.5 else DARK
        return (0, 0, 0, 0)
    return pixel


def triangle(points, colour=AMBER, back=(0.22, 0.26, 0.34, 1.0)):
    def pixel(x, y):
        if x in (0, 15) or y in (0, 15):
            return FRAME
        return colour if inside_polygon(x + 0.5, y + 0.5, points) else back
    return pixel


def ridges(x, y):
    on = (y // 2) % 3 == 0 and 2 <= x <= 5
    return (0.75, 0.70, 0.56, 1.0) if on else (0.30, 0.36, 0.46, 1.0)


def plane(wings):
    """A top view of an aircraft on a round badge; wings: spans (y, half width, depth)."""
    def pixel(x, y):
        cx, cy = x + 0.5, y + 0.5
        r = math.hypot(cx - 32, cy - 32)
        if r > 31:
            return (0, 0, 0, 0)
        body = abs(cx - 32) < 3.5 and 10 <= cy <= 54
        tail = abs(cx - 32) < 10 and 48 <= cy <= 53
        wing = any(abs(cx - 32) < hw and wy <= cy <= wy + d for wy, hw, d in wings)
        if body or tail or wing:
            return (0.95, 0.90, 0.78, 1.0)
        return mix((0.20, 0.32, 0.50, 1.0), (0.08, 0.12, 0.22, 1.0), r / 31) if r < 29.5 else FRAME
    return pixel


def widgets():
    write_bmp("checkbox.bmp", 16, 16, box(lambda x, y: DARK))
    write_bmp("checkbox_on.bmp", 16, 16, box(check_mark))
    write_bmp("radio.bmp", 16, 16, ring(False))
    write_bmp("radio_on.bmp", 16, 16, ring(True))
    write_bmp("gauge.bmp", 64, 16, lambda x, y: FRAME if x in (0, 63) or y in (0, 15) else DARK)
    write_bmp("gauge_fill.bmp", 64, 16, vertical((1.0, 0.86, 0.45, 0.95), (0.85, 0.52, 0.12, 0.95), 16))
    write_bmp("scroller.bmp", 16, 64, lambda x, y: FRAME if x in (0, 15) else DARK)
    write_bmp("scroller_thumb.bmp", 16, 16, box(lambda x, y: (0.85, 0.72, 0.42, 1.0)))
    write_bmp("spinbox.bmp", 64, 16, lambda x, y: FRAME if y in (0, 15) or x in (0, 63) else DARK)
    write_bmp("spin_down.bmp", 16, 16, triangle([(10, 4), (10, 12), (5, 8)]))
    write_bmp("spin_up.bmp", 16, 16, triangle([(6, 4), (6, 12), (11, 8)]))
    # Stretched over whole lists: no frame, which would blur into a gradient.
    write_bmp("list.bmp", 64, 64, vertical((0.06, 0.08, 0.12, 0.92), (0.03, 0.04, 0.07, 0.94), 64))
    write_bmp("list_selection.bmp", 64, 16, vertical((0.30, 0.45, 0.66, 0.95), (0.18, 0.28, 0.46, 0.95), 16))
    write_bmp("combo_arrow.bmp", 16, 16, triangle([(4, 6), (12, 6), (8, 11)]))
    write_bmp("border.bmp", 8, 8, lambda x, y: FRAME)
    write_bmp("focus.bmp", 8, 8, lambda x, y: AMBER)
    write_bmp("splitter.bmp", 8, 64, ridges)
    # The biplane: two long wings; the pursuit plane: one swept-looking pair.
    write_bmp("icon_biplane.bmp", 64, 64, plane([(20, 26, 6), (30, 24, 5)]))
    write_bmp("icon_pursuit.bmp", 64, 64, plane([(24, 22, 9)]))
    for name, comment in [
            ("checkbox", "A check box, not ticked."), ("checkbox_on", "A ticked check box."),
            ("radio", "A radio button, not chosen."), ("radio_on", "A chosen radio button."),
            ("gauge", "A gauge's track."), ("gauge_fill", "The filled part of a gauge."),
            ("scroller", "A vertical scroller's track."), ("scroller_thumb", "A vertical scroller's thumb."),
            ("spinbox", "A spin box's value field."), ("spin_down", "A spin box's step-down arrow."),
            ("spin_up", "A spin box's step-up arrow."), ("list", "A list's backdrop."),
            ("list_selection", "The chosen row of a list."), ("combo_arrow", "A combo box's drop-down arrow."),
            ("border", "A border panel's frame."), ("focus", "The frame around the focused widget."),
            ("splitter", "A splitter's bar."), ("icon_biplane", "The biplane's icon."),
            ("icon_pursuit", "The pursuit plane's icon.")]:
        write_shader(name, comment)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    SHADERS.mkdir(parents=True, exist_ok=True)
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
    widgets()


if __name__ == "__main__":
    main()
