#!/usr/bin/env python3
"""Pictures of the shipped flight at fixed updates, made by a given build.

Replays Data/Demos/island.dem with TimeDemo, takes a screenshot after each
update listed in tests/integration/flightshots/shots.txt and writes each shot
shrunk by four in both directions (the mean of every 4 x 4 block, rounded) as
a binary PPM: the flight-pictures test compares the current build's shots with
these. Run from the repository root:

    tools/flights/flightshots.py BUILD_DIR [OUT_DIR]

OUT_DIR defaults to tests/integration/flightshots. The build that makes the
committed pictures is the one whose frame every later one must look like.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

SHOTS_DIR = "tests/integration/flightshots"
SHRINK = 4


def read_shots(path):
    """(update, name) pairs and the updates a frame, from shots.txt."""
    shots, stride = [], None
    for line in open(path):
        words = line.split("#")[0].split()
        if not words:
            continue
        if words[0] == "stride":
            stride = int(words[1])
        else:
            shots.append((int(words[0]), words[1]))
    return shots, stride


def read_bmp(path):
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    bits, = struct.unpack_from("<H", data, 28)
    assert data[:2] == b"BM" and bits == 24, path
    row_bytes = (width * 3 + 3) // 4 * 4
    rows = [data[offset + row_bytes * (height - 1 - y):][:width * 3] for y in range(height)]  # top-down, BGR
    return width, height, rows


def shrink(width, height, rows):
    """RGB bytes of the picture shrunk by SHRINK, each pixel its block's rounded mean."""
    w, h, n = width // SHRINK, height // SHRINK, SHRINK * SHRINK
    out = bytearray(w * h * 3)
    for y in range(h):
        block_rows = rows[y * SHRINK:(y + 1) * SHRINK]
        for x in range(w):
            for c in range(3):
                total = 0
                for row in block_rows:
                    base = x * SHRINK * 3 + (2 - c)
                    total += row[base] + row[base + 3] + row[base + 6] + row[base + 9]
                out[(y * w + x) * 3 + c] = (total + n // 2) // n
    return w, h, bytes(out)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    game = os.path.abspath(os.path.join(sys.argv[1], "halvardine"))
    out_dir = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else SHOTS_DIR)
    shots, stride = read_shots(os.path.join(SHOTS_DIR, "shots.txt"))
    seconds = (max(t for t, _ in shots) + 2 * stride) / 100
    work = tempfile.mkdtemp()
    try:
        shutil.copytree("Data", os.path.join(work, "Data"))
        args = ["+Set TimeDemoUpdates %d" % stride, "+Set TimeDemoQuit True"]
        args += ["+ReplayShot %d %s.bmp" % (t, name) for t, name in shots]
        args += ["+TimeDemo island %g" % seconds]
        env = dict(os.environ, ALSOFT_DRIVERS="null", SDL_AUDIODRIVER="dummy")
        subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", game, "--no-menu"] + args,
                       cwd=work, env=env, check=True, stdout=subprocess.DEVNULL)
        os.makedirs(out_dir, exist_ok=True)
        for _, name in shots:
            w, h, rgb = shrink(*read_bmp(os.path.join(work, "Data", "ScreenShots", name + ".bmp")))
            with open(os.path.join(out_dir, name + ".ppm"), "wb") as f:
                f.write(b"P6\n%d %d\n255\n" % (w, h) + rgb)
            print("wrote", os.path.join(out_dir, name + ".ppm"))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
