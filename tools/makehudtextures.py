#!/usr/bin/env python3
"""Writes the head-up display's flat colours into Data/Interface/Textures
(hud_*.bmp, 8 x 8, one colour each with its alpha) and the surface shaders
that draw them in window pixels (Data/Interface/Shaders/hud_*.shader).

    python3 tools/makehudtextures.py
"""
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__


from makeguitextures import OUT, write_bmp  # noqa: E402

SHADERS = Path(__file__).resolve().parent.parent / "Data" / "Interface" / "Shaders"

# name: (r, g, b, a), what it is drawn for
COLOURS = {
    "back": ((0.02, 0.03, 0.05, 0.55), "the panels under the instruments and the scoreboard"),
    "white": ((0.95, 0.97, 1.0, 0.9), "the speed bar and the crosshair"),
    "green": ((0.35, 0.95, 0.40, 0.9), "health"),
    "amber": ((1.0, 0.75, 0.20, 0.9), "the gun's recharge"),
    "red": ((1.0, 0.25, 0.20, 0.95), "enemy markers, the arrow to the nearest enemy, low health"),
    "flash": ((1.0, 0.10, 0.05, 0.30), "the flash over the whole window when the aircraft is hit"),
}

SHADER = """!!ZSS1.1
; The head-up display: {what}.
SurfaceShader
{{
  Projection ZPR_ORTHOGRAPHIC
  Texture0
  {{
    File Interface\\Textures\\hud_{name}.bmp
  }}
  Blend
  {{
    BlendFunc GL_SRC_ALPHA GL_ONE_MINUS_SRC_ALPHA
  }}
  Enable
  {{
    ColorWrites
  }}
}}
"""


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    SHADERS.mkdir(parents=True, exist_ok=True)
    for name, (colour, what) in COLOURS.items():
        write_bmp(f"hud_{name}.bmp", 8, 8, lambda x, y, c=colour: c)
        (SHADERS / f"hud_{name}.shader").write_text(SHADER.format(name=name, what=what))


if __name__ == "__main__":
    main()
