"""The deathmatch's own sounds: an aircraft taking a hit (a metallic clang
with rattling debris), a credits coin being collected (a bright two-note
chime) and the warning of an enemy on the player's tail (two quick high-low
beeps)."""

import math
import random

from dsp import EFFECT_RATE as RATE, sox, envelope, fade_out, normalize
from effects import TWO_PI, noise


def damage():
    """A shot tearing into an airframe: a ringing clang and a rattle."""
    rng = random.Random(37)
    n = int(0.45 * RATE)
    # Inharmonic partials of a struck panel, each dying away at its own rate.
    partials = [(410.0, 0.09), (1130.0, 0.05), (1870.0, 0.03), (2960.0, 0.02)]
    clang = [sum(math.sin(TWO_PI * f * i / RATE) * math.exp(-i / (d * RATE)) for f, d in partials)
             for i in range(n)]
    rattle = sox([v * e * (1.0 if rng.random() < 0.1 else 0.15) for v, e in
                  zip(noise(rng, n), envelope(n, RATE, 0.002, 0.25))], RATE, ["bandpass", "3200", "1q"])
    out = [0.8 * c + 0.6 * r for c, r in zip(clang, rattle)]
    out = sox(out, RATE, ["overdrive", "6", "20", "lowpass", "6500"])
    return fade_out(out, RATE, 0.05)


def pickup():
    """A coin collected: two quick rising bell notes."""
    n = int(0.35 * RATE)
    out = [0.0] * n
    for start, f in [(0.0, 1318.5), (0.07, 1975.5)]:
        s = int(start * RATE)
        for i in range(n - s):
            t = i / RATE
            out[s + i] += (math.sin(TWO_PI * f * t) + 0.3 * math.sin(TWO_PI * 2 * f * t)) * math.exp(-t / 0.09)
    return fade_out(sox(out, RATE, ["highpass", "400"]), RATE, 0.03)


def tail_warning():
    """An enemy on the tail: two high-low beep pairs, hard-edged like a
    cockpit warning but short enough to repeat while the danger lasts."""
    beep = 0.08
    n = int(0.5 * RATE)
    out = [0.0] * n
    for k, f in enumerate([1568.0, 1175.0, 1568.0, 1175.0]):
        s = int(k * (beep + 0.04) * RATE)
        m = int(beep * RATE)
        for i in range(min(m, n - s)):
            # Soft edges of 4 ms keep the beeps from clicking.
            edge = min(1.0, i / (0.004 * RATE), (m - i) / (0.004 * RATE))
            t = i / RATE
            out[s + i] += edge * (math.sin(TWO_PI * f * t) + 0.25 * math.sin(TWO_PI * 3 * f * t))
    return fade_out(sox(out, RATE, ["highpass", "300"]), RATE, 0.02)


def generate(sounds_dir, write):
    write(sounds_dir / "damage.wav", normalize(damage(), -2.0), RATE)
    write(sounds_dir / "pickup.wav", normalize(pickup(), -3.0), RATE)
    write(sounds_dir / "tail_warning.wav", normalize(tail_warning(), -4.0), RATE)
