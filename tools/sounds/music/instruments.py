"""The theme's instruments: single-cycle wavetables for the pitched parts and
synthesised drum hits. The OGG rendering plays them directly; the tracker
module stores them as its 8-bit samples."""

import math
import random

TWO_PI = 2.0 * math.pi


def harmonic_cycle(amplitudes, size):
    """One cycle of a waveform given its harmonics' amplitudes, peak 1."""
    out = [sum(a * math.sin(TWO_PI * (k + 1) * i / size) for k, a in enumerate(amplitudes) if a)
           for i in range(size)]
    top = max(abs(v) for v in out)
    return [v / top for v in out]


def saw_harmonics(count, brightness=1.0):
    return [(1.0 / k) * math.exp(-(k - 1) * (1.0 - brightness) * 0.25) for k in range(1, count + 1)]


def pulse_harmonics(count, duty):
    return [(2.0 / (math.pi * k)) * math.sin(math.pi * k * duty) for k in range(1, count + 1)]


def bass_harmonics():
    """A round saw with a strong fundamental and a sub octave feel."""
    h = saw_harmonics(24, brightness=0.6)
    h[0] *= 1.6
    return h


def arpeggio_harmonics():
    return pulse_harmonics(14, 0.25)


def lead_harmonics():
    return saw_harmonics(18, brightness=0.85)


def kick(rate):
    n = int(0.26 * rate)
    out, phase = [], 0.0
    for i in range(n):
        t = i / rate
        phase += TWO_PI * (45.0 + 110.0 * math.exp(-t * 28.0)) / rate
        out.append(math.sin(phase) * math.exp(-t * 11.0) + 0.3 * math.exp(-t * 400.0))
    ramp = max(1, int(0.001 * rate))           # a millisecond's attack: a thump, not a click
    return [v * min(1.0, i / ramp) for i, v in enumerate(out)]


def snare(rate):
    rng = random.Random(51)
    n = int(0.2 * rate)
    out, last = [], 0.0
    for i in range(n):
        t = i / rate
        white = rng.uniform(-1.0, 1.0)
        bright, last = white - 0.6 * last, white      # tilt the noise towards the highs
        body = math.sin(TWO_PI * 190.0 * t) * math.exp(-t * 35.0)
        out.append(0.75 * bright * math.exp(-t * 22.0) + 0.6 * body)
    return out


def hat(rate):
    rng = random.Random(53)
    n = int(0.06 * rate)
    out, a, b = [], 0.0, 0.0
    for i in range(n):
        white = rng.uniform(-1.0, 1.0)
        hp = white - 2 * a + b                          # second difference: only the sizzle is left
        a, b = white, a
        out.append(0.4 * hp * math.exp(-i / rate * 70.0))
    return out
