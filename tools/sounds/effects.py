"""Aircraft, weapon, impact and interface sounds, synthesised from seeded
noise and oscillators and shaped with sox."""

import math
import random

from dsp import EFFECT_RATE as RATE, sox, envelope, fade_in, fade_out, loop_crossfade, mix_into, normalize

TWO_PI = 2.0 * math.pi


def noise(rng, n):
    return [rng.uniform(-1.0, 1.0) for _ in range(n)]


def sweep(n, f_start, f_end, shape=math.sin, curve=1.0):
    """An oscillator gliding exponentially from f_start to f_end over n samples."""
    out, phase = [], 0.0
    for i in range(n):
        t = (i / n) ** curve
        phase += TWO_PI * f_start * (f_end / f_start) ** t / RATE
        out.append(shape(phase))
    return out


def saw(phase):
    return (phase / math.pi) % 2.0 - 1.0


def engine():
    """A nine-cylinder radial at 1200 rpm turning a three-blade propeller.

    The loop is exactly 2 s: every rate below (firing 90 Hz, crank cycle 10 Hz,
    blade pass 60 Hz) is a whole multiple of 0.5 Hz, and the noise is folded
    back over the start so the loop has no seam."""
    rng = random.Random(3)
    loop = 2 * RATE
    overlap = RATE // 4
    n = loop + overlap
    firing_hz, blades_hz = 90.0, 60.0
    cylinder_gain = [rng.uniform(0.45, 1.0) for _ in range(9)]
    out = [0.0] * n
    period = RATE / firing_hz
    pulse_len = int(period * 1.6)
    k = 0
    while k * period < n:
        start = int(round(k * period))
        g = cylinder_gain[k % 9] * rng.uniform(0.9, 1.1)
        for j in range(min(pulse_len, n - start)):
            e = math.exp(-j / (period * 0.3))
            out[start + j] += g * e * (rng.uniform(-1, 1) + 0.6 * math.sin(TWO_PI * 110.0 * j / RATE))
        k += 1
    for i in range(n):
        t = i / RATE
        blade = 0.5 + 0.5 * math.cos(TWO_PI * blades_hz * t)
        out[i] = out[i] * (0.75 + 0.25 * blade) + 0.25 * blade * rng.uniform(-1, 1)
    out = sox(out, RATE, ["lowpass", "1400", "bass", "+5", "90", "overdrive", "6", "20",
                          "lowpass", "2500", "highpass", "30"])
    return loop_crossfade(out, loop, overlap)


def railgun():
    """A charged electric shot: a bright crack and a low boom under a falling
    zap, then a metallic ring that hums away; over by 0.7 s (the rail gun
    recharges in 0.8 s)."""
    rng = random.Random(11)
    n = int(0.7 * RATE)
    crack = sox([v * e for v, e in zip(noise(rng, n), envelope(n, RATE, 0.001, 0.06))], RATE,
                ["highpass", "2500"])
    boom = [v * e for v, e in zip(sweep(n, 130.0, 40.0, curve=0.5), envelope(n, RATE, 0.003, 0.35))]
    zap = [v * e for v, e in zip(sweep(n, 2600.0, 250.0, saw, curve=0.6), envelope(n, RATE, 0.002, 0.3))]
    ring = [0.0] * n
    for partial, level in [(1730.0, 1.0), (2617.0, 0.7), (3911.0, 0.5), (5213.0, 0.3)]:
        mix_into(ring, sweep(n, partial, partial * 0.88), 0, level)
    hum = [0.6 + 0.4 * math.sin(TWO_PI * 28.0 * i / RATE) for i in range(n)]
    tail = envelope(n, RATE, 0.01, 0.7)
    out = [0.7 * c + 0.9 * b + 0.45 * z + 0.22 * r * h * t
           for c, b, z, r, h, t in zip(crack, boom, zap, ring, hum, tail)]
    out = sox(out, RATE, ["lowpass", "7000", "pad", "0", "0.3",
                          "reverb", "30", "50", "60", "100", "0", "trim", "0", "0.7"])
    return fade_out(out, RATE, 0.12)


def plasma():
    """A short rising-then-falling 'pew' with a bubbly FM edge, 0.17 s (recharge 0.2 s)."""
    n = int(0.17 * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / n
        f = 900.0 * (1.0 + 1.4 * math.exp(-t * 9.0)) * (1.0 - 0.55 * t)
        phase += TWO_PI * f * (1.0 + 0.25 * math.sin(TWO_PI * 70.0 * i / RATE)) / RATE
        out.append(0.6 * math.sin(phase) + 0.4 * saw(phase * 0.5))
    out = [v * e for v, e in zip(out, envelope(n, RATE, 0.003, 0.17))]
    out = sox(out, RATE, ["lowpass", "5000", "equalizer", "1200", "1q", "+4"])
    return fade_out(out, RATE, 0.02)


def pulse():
    """A dry machine-gun report: noise crack over a low thump, 0.09 s (recharge 0.1 s)."""
    rng = random.Random(17)
    n = int(0.09 * RATE)
    thump = sweep(n, 190.0, 70.0)
    crack = noise(rng, n)
    out = [1.1 * c * math.exp(-i / (0.02 * RATE)) + 0.8 * t * math.exp(-i / (0.025 * RATE))
           for i, (c, t) in enumerate(zip(crack, thump))]
    out = sox(out, RATE, ["lowpass", "4500", "bass", "+4", "120", "overdrive", "8", "20"])
    return fade_out(fade_in(out, RATE, 0.001), RATE, 0.015)


def hit():
    """A shot ploughing into the ground: a thud and a spray of dirt."""
    rng = random.Random(23)
    n = int(0.8 * RATE)
    thud = [v * e for v, e in zip(sweep(n, 110.0, 38.0, curve=0.6), envelope(n, RATE, 0.003, 0.5))]
    dirt = sox([v * e for v, e in zip(noise(rng, n), envelope(n, RATE, 0.006, 0.6))], RATE,
               ["lowpass", "900", "highpass", "80"])
    grit = sox([v * e * (1.0 if rng.random() < 0.15 else 0.2) for v, e in
                zip(noise(rng, n), envelope(n, RATE, 0.01, 0.35))], RATE, ["bandpass", "2500", "1.5q"])
    out = [1.0 * a + 1.6 * b + 0.5 * c for a, b, c in zip(thud, dirt, grit)]
    out = sox(out, RATE, ["overdrive", "4", "20", "lowpass", "5000"])
    return fade_out(out, RATE, 0.1)


def splash():
    """A shot striking the water: a hissing splash and a few bubbles."""
    rng = random.Random(29)
    n = int(0.9 * RATE)
    hiss = sox([v * e for v, e in zip(noise(rng, n), envelope(n, RATE, 0.015, 0.55))], RATE,
               ["highpass", "700", "lowpass", "7000", "equalizer", "2200", "0.8q", "+5"])
    plop = [v * e for v, e in zip(sweep(n, 140.0, 320.0, curve=0.4), envelope(n, RATE, 0.004, 0.2))]
    out = [0.8 * h + 0.7 * p for h, p in zip(hiss, plop)]
    for _ in range(9):                           # bubbles: short upward chirps
        m = int(rng.uniform(0.02, 0.05) * RATE)
        f = rng.uniform(500.0, 1400.0)
        bubble = [v * e for v, e in zip(sweep(m, f, f * 1.8), envelope(m, RATE, 0.002, m / RATE))]
        mix_into(out, bubble, int(rng.uniform(0.08, 0.6) * RATE), rng.uniform(0.15, 0.35))
    return fade_out(out[:n], RATE, 0.1)


def boom(seconds, low_hz, seed):
    """An explosion: a sharp blast over a deep falling thump, then a rumble
    that rolls away through a long reverb; larger blasts last longer and sit
    lower."""
    rng = random.Random(seed)
    n = int(seconds * RATE)
    blast = sox([v * e for v, e in zip(noise(rng, n), envelope(n, RATE, 0.002, 0.12 * seconds))], RATE,
                ["lowpass", "3500"])
    thump = [v * e for v, e in zip(sweep(n, low_hz * 2.2, low_hz * 0.6, curve=0.4),
                                   envelope(n, RATE, 0.004, 0.45 * seconds))]
    rumble = sox([v * e for v, e in zip(noise(rng, n), envelope(n, RATE, 0.03, 0.8 * seconds))], RATE,
                 ["lowpass", str(int(low_hz * 4)), "lowpass", str(int(low_hz * 4))])
    out = [0.8 * b + 1.2 * t + 2.5 * r for b, t, r in zip(blast, thump, rumble)]
    out = sox(out, RATE, ["overdrive", "10", "20", "bass", "+6", str(int(low_hz)),
                          "reverb", "40", "50", "90", "100", "10", "trim", "0", str(seconds)])
    return fade_out(out, RATE, 0.25 * seconds)


def click():
    """A crisp interface click, 30 ms."""
    rng = random.Random(31)
    n = int(0.03 * RATE)
    out = [0.7 * math.sin(TWO_PI * 1900.0 * i / RATE) * math.exp(-i / (0.004 * RATE))
           + 0.5 * rng.uniform(-1, 1) * math.exp(-i / (0.0015 * RATE)) for i in range(n)]
    out = sox(out, RATE, ["highpass", "300"])
    return fade_out(out, RATE, 0.01)


def generate(sounds_dir, write):
    write(sounds_dir / "BigEngine3.wav", normalize(engine(), -3.0), RATE)
    weapons = sounds_dir / "Weapons"
    # Each shot ends before its gun can fire again (recharge 0.8, 0.2, 0.1 s).
    write(weapons / "railgun.wav", normalize(railgun(), -1.0), RATE, max_seconds=0.8)
    write(weapons / "plasma.wav", normalize(plasma(), -1.5), RATE, max_seconds=0.2)
    write(weapons / "pulse.wav", normalize(pulse(), -1.5), RATE, max_seconds=0.1)
    write(sounds_dir / "hit.wav", normalize(hit(), -1.0), RATE)
    write(sounds_dir / "splash_sml.wav", normalize(splash(), -1.5), RATE)
    # Explosions by size: a shot's, a heavy shot's, an aircraft's.
    booms = sounds_dir / "Explosions"
    write(booms / "boom_small.wav", normalize(boom(1.0, 70.0, 41), -9.0), RATE)
    write(booms / "boom_medium.wav", normalize(boom(1.8, 55.0, 43), -5.0), RATE)
    write(booms / "boom_large.wav", normalize(boom(3.0, 40.0, 47), -1.0), RATE)
    write(sounds_dir / "Interface" / "click.wav", normalize(click(), -3.0), RATE)
