"""The arena announcer: espeak-ng speaks each line, sox makes it a deep,
compressed, slightly reverberant stadium voice."""

import subprocess
import tempfile
from pathlib import Path

from dsp import VOICE_RATE, sox_file, normalize

# (file under Sounds/Announcer, text, words per minute). The countdown says one
# number a second, so every number has to finish well inside that second.
LINES = [
    ("lost.wav", "You have lost the match!", 150),
    ("new round in.wav", "New round in", 195),
    ("seven.wav", "Seven", 165),
    ("six.wav", "Six", 165),
    ("five.wav", "Five", 165),
    ("four.wav", "Four", 165),
    ("three.wav", "Three", 165),
    ("two.wav", "Two", 165),
    ("one.wav", "One", 165),
    ("play.wav", "Play!", 160),
]

VOICE = "en-us+m3"
PITCH = 22          # espeak's 0..99 scale; low for a big voice

# Trim leading/trailing silence, darken and thicken, squash the dynamics like
# a broadcast voice, then a short hall so it sounds like an arena.
TRIM = ["silence", "1", "0.01", "0.3%", "reverse", "silence", "1", "0.01", "0.3%", "reverse"]
CHAIN = TRIM + [
    "pitch", "-180",
    "highpass", "70",
    "bass", "+6", "140",
    "equalizer", "2800", "1.2q", "+4",
    "compand", "0.004,0.12", "6:-70,-70,-40,-18,-20,-9,0,-5", "-3", "-20", "0.005",
    "overdrive", "2", "10",
    "pad", "0", "0.35",
    "reverb", "35", "40", "55", "60", "8",
    "lowpass", "7000",
] + TRIM


def speak(text, words_per_minute):
    with tempfile.TemporaryDirectory() as tmp:
        raw = Path(tmp) / "voice.wav"
        subprocess.run(["espeak-ng", "-v", VOICE, "-p", str(PITCH), "-s", str(words_per_minute),
                        "-w", str(raw), text], check=True)
        return sox_file(raw, VOICE_RATE, CHAIN)


def generate(out_dir, write):
    for name, text, wpm in LINES:
        write(out_dir / name, normalize(speak(text, wpm), -1.0), VOICE_RATE)
