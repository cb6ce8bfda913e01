"""Signal helpers shared by the sound generators: sample buffers are plain
lists of floats in -1..1; filtering, reverb and dynamics are left to sox."""

import math
import subprocess
import sys
import wave
from array import array

VOICE_RATE = 22050
EFFECT_RATE = 22050
MUSIC_RATE = 44100


# Every sox run: `-R` seeds sox's own random generators (noise, dither) so
# that each run writes the same bytes; `-V1` keeps it quiet but for failures.
SOX = ["sox", "-R", "-V1"]


def _raw_floats(rate, channels):
    """sox's description of a headerless 32-bit float stream on a pipe."""
    return ["-t", "raw", "-e", "floating-point", "-b", "32", "-c", str(channels), "-r", str(rate), "-"]


def _run(cmd, samples=None):
    data = array("f", samples).tobytes() if samples is not None else None
    result = subprocess.run([str(c) for c in cmd], input=data, capture_output=True)
    if result.returncode != 0:
        raise RuntimeError(" ".join(map(str, cmd[:12])) + " ...: " + result.stderr.decode(errors="replace"))
    return list(array("f", result.stdout))


def sox(samples, rate, effects, channels=1):
    """Runs a float buffer through a sox effects chain and returns the result."""
    return _run(SOX + _raw_floats(rate, channels) + _raw_floats(rate, channels) + effects, samples)


def sox_file(path, rate, effects, channels=1):
    """Reads any file sox understands into a float buffer at `rate`."""
    return _run(SOX + [path] + _raw_floats(rate, channels) + effects)


def sox_write(path, samples, rate, channels=1, options=()):
    """Encodes a float buffer into a file whose type sox takes from its name."""
    path.parent.mkdir(parents=True, exist_ok=True)
    _run(SOX + _raw_floats(rate, channels) + list(options) + [path], samples)


def mix_into(dest, src, start=0, gain=1.0):
    """Adds `src` into `dest` from sample `start`, growing `dest` as needed."""
    end = start + len(src)
    if end > len(dest):
        dest.extend([0.0] * (end - len(dest)))
    for i, v in enumerate(src):
        dest[start + i] += v * gain


def mix_circular(dest, src, start, gain=1.0):
    """Adds `src` into `dest` wrapping around its end: keeps a loop seamless."""
    n = len(dest)
    for i, v in enumerate(src):
        dest[(start + i) % n] += v * gain


def envelope(n, rate, attack, decay_time):
    """Linear attack then exponential decay to -60 dB after `decay_time` s."""
    a = max(1, int(attack * rate))
    k = math.log(1000.0) / max(decay_time * rate, 1.0)
    return [i / a if i < a else math.exp(-k * (i - a)) for i in range(n)]


def fade_in(samples, rate, seconds):
    n = min(len(samples), max(1, int(seconds * rate)))
    for i in range(n):
        samples[i] *= 0.5 - 0.5 * math.cos(math.pi * i / n)
    return samples


def fade_out(samples, rate, seconds):
    n = min(len(samples), int(seconds * rate))
    for i in range(n):
        samples[len(samples) - n + i] *= 0.5 + 0.5 * math.cos(math.pi * (i + 1) / n)
    return samples


def loop_crossfade(samples, loop_length, overlap):
    """Folds the material after `loop_length` back over the start with an
    equal-power crossfade, so that the last sample runs into the first."""
    assert len(samples) >= loop_length + overlap
    out = samples[:loop_length]
    for i in range(overlap):
        t = (i + 0.5) / overlap
        rise, fall = math.sin(0.5 * math.pi * t), math.cos(0.5 * math.pi * t)
        out[i] = samples[i] * rise + samples[loop_length + i] * fall
    return out


def peak(samples):
    return max((abs(v) for v in samples), default=0.0)


def normalize(samples, peak_db):
    p = peak(samples)
    g = 10 ** (peak_db / 20.0) / p if p > 0 else 0.0
    return [v * g for v in samples]


def write_wav(path, samples, rate, channels=1):
    """Writes 16-bit PCM with the canonical 44-byte header (Python's wave
    module writes exactly RIFF, a 16-byte "fmt " chunk and "data")."""
    pcm = array("h", (max(-32767, min(32767, int(round(v * 32767.0)))) for v in samples))
    if pcm.itemsize != 2:
        raise RuntimeError("16-bit array type expected")
    if sys.byteorder == "big":
        pcm.byteswap()
    path.parent.mkdir(parents=True, exist_ok=True)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(pcm.tobytes())
