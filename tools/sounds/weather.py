"""Storm sounds: a seamless rain loop and close and distant thunder."""

import math
import random

from dsp import EFFECT_RATE as RATE, MUSIC_RATE
from dsp import envelope, fade_out, loop_crossfade, mix_circular, normalize, sox
from effects import noise


# Rain is nearly all hiss and patter above 5 kHz: it gets the full rate so
# the mixer has no band edge to mirror into the highs.
RAIN_RATE = MUSIC_RATE


def smooth_random(rng, n, control_hz, low=0.0, high=1.0, rate=RATE):
    """Random values at `control_hz` joined by cosine interpolation: a slowly
    wandering level for rumbles and gusts."""
    step = rate / control_hz
    points = [rng.uniform(low, high) for _ in range(int(n / step) + 2)]
    out = []
    for i in range(n):
        k, frac = divmod(i / step, 1.0)
        a, b = points[int(k)], points[int(k) + 1]
        w = 0.5 - 0.5 * math.cos(math.pi * frac)
        out.append(a + (b - a) * w)
    return out


def rain():
    """Six seconds of steady rain: a hiss bed that swells a little, with
    hundreds of drops scattered over it. Drops that would run past the end
    wrap round to the start and the bed is crossfaded, so the loop has no seam."""
    rng = random.Random(41)
    rate = RAIN_RATE
    loop = 6 * rate
    overlap = rate // 2
    n = loop + overlap
    swell = smooth_random(rng, n, 1.5, 0.75, 1.0, rate)
    bed = sox([v * s for v, s in zip(noise(rng, n), swell)], rate,
              ["highpass", "350", "lowpass", "-1", "2500", "lowpass", "13000"])
    bed = loop_crossfade(bed, loop, overlap)
    # Each drop is a tiny damped ping at its own pitch with a click on top;
    # drops that would run past the end wrap round to the start.
    drops = [0.0] * loop
    for _ in range(1400):
        m = int(0.02 * rate)
        f = rng.uniform(1800.0, 6000.0)
        decay = rng.uniform(0.002, 0.006) * rate
        click = 0.0004 * rate
        ping = [(math.sin(2.0 * math.pi * f * i / rate) + 0.5 * rng.uniform(-1, 1) * math.exp(-i / click))
                * math.exp(-i / decay) for i in range(m)]
        mix_circular(drops, ping, rng.randrange(loop), rng.uniform(0.05, 1.0) ** 2)
    return [0.6 * b + 0.6 * d for b, d in zip(bed, drops)]


def thunder(seed, distant):
    """One thunder clap. Close: a tearing crack then a heavy rolling rumble.
    Distant: no crack, a slow swelling low rumble, the highs eaten by the air."""
    rng = random.Random(seed)
    seconds = 5.5 if distant else 4.5
    n = int(seconds * RATE)
    roll = smooth_random(rng, n, 6.0 if distant else 9.0, 0.15, 1.0)
    attack = 0.6 if distant else 0.12
    body = envelope(n, RATE, attack, seconds * 1.4)
    rumble = sox([v * r * e for v, r, e in zip(noise(rng, n), roll, body)], RATE,
                 ["lowpass", "300" if distant else "700", "lowpass", "500" if distant else "1200",
                  "bass", "+8", "60"])
    out = rumble
    if not distant:
        crack = [0.0] * n
        t = 0
        for _ in range(rng.randint(5, 8)):        # a few jagged bursts make the tear
            t += int(rng.uniform(0.01, 0.06) * RATE)
            m = int(rng.uniform(0.03, 0.12) * RATE)
            level = rng.uniform(0.5, 1.0)
            for i, v in enumerate(noise(rng, m)):
                if t + i < n:
                    crack[t + i] += level * v * math.exp(-i / (0.03 * RATE))
        crack = sox(crack, RATE, ["highpass", "150", "lowpass", "7000"])
        out = [3.0 * r + 0.8 * c for r, c in zip(rumble, crack)]
    out = sox(out + [0.0] * RATE, RATE, ["reverb", "60", "50", "100", "100", "20",
                                        "trim", "0", str(seconds)])
    return fade_out(out, RATE, 0.6)


def generate(env_dir, write):
    write(env_dir / "rain.wav", normalize(rain(), -3.0), RAIN_RATE)
    for i, name in enumerate(["thndr_cls.wav", "thndr_cls2.wav", "thndr_cls3.wav"]):
        write(env_dir / name, normalize(thunder(100 + i, distant=False), -1.0), RATE)
    for i, name in enumerate(["thndr_far.wav", "thndr_far2.wav", "thndr_far3.wav"]):
        write(env_dir / name, normalize(thunder(200 + i, distant=True), -3.0), RATE)
