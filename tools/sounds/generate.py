#!/usr/bin/env python3
"""Writes the game's sounds and music into Data/ (see tools/README.md)."""

import math
import sys
import wave
from array import array
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

import dsp  # noqa: E402
from music import midifile, modfile, render  # noqa: E402
import effects  # noqa: E402
import matchsounds  # noqa: E402
import voices  # noqa: E402
import weather  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
DATA = ROOT / "Data"
written = []


def write(path, samples, rate, channels=1, max_seconds=None):
    """Writes one WAV; `max_seconds` is a limit the game relies on (a gun's
    recharge time, a countdown's second), so going over it stops the run."""
    seconds = len(samples) / channels / rate
    if max_seconds is not None and seconds >= max_seconds:
        sys.exit(f"{path.name}: {seconds:.3f} s, must stay under {max_seconds} s")
    dsp.write_wav(path, samples, rate, channels)
    written.append(path)


def report():
    for path in written:
        if path.suffix != ".wav":
            print(f"{str(path.relative_to(ROOT)):45s}          {path.stat().st_size:8d} bytes")
            continue
        with wave.open(str(path)) as w:
            seconds = w.getnframes() / w.getframerate()
            frames = array("h", w.readframes(w.getnframes()))
        if sys.byteorder == "big":
            frames.byteswap()
        peak_db = 20 * math.log10(max(1, max(map(abs, frames))) / 32768)
        print(f"{str(path.relative_to(ROOT)):45s} {seconds:6.3f} s {path.stat().st_size:8d} bytes"
              f"  peak {peak_db:5.1f} dBFS")


def main(parts):
    sounds = DATA / "Sounds"
    if not parts or "voices" in parts:
        voices.generate(sounds / "Announcer", write)
    if not parts or "effects" in parts:
        effects.generate(sounds, write)
    if not parts or "match" in parts:
        matchsounds.generate(sounds, write)
    if not parts or "weather" in parts:
        weather.generate(sounds / "Environment", write)
    if not parts or "music" in parts:
        music = DATA / "Music"
        for path, writer in [(music / "theme.mod", modfile.write), (music / "theme.mid", midifile.write),
                             (music / "theme.ogg", render.render)]:
            writer(path)
            written.append(path)
    report()


if __name__ == "__main__":
    main(sys.argv[1:])
