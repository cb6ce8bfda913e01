"""The arena announcer: espeak-ng speaks each line, sox makes it a deep,
compressed, slightly reverberant stadium voice."""

import subprocess
import tempfile
from pathlib import Path

from dsp import VOICE_RATE, fade_in, fade_out, normalize, sox_file

# (file under Sounds/Announcer, text, words per minute, longest it may last).
# The countdown says one line a second, so each has to end well inside its
# second; "lost" plays alone for the 2.5 s before the countdown's first line.
LINES = [
    ("lost.wav", "You have lost the match!", 150, 2.3),
    ("new round in.wav", "New round in", 195, 0.95),
    ("seven.wav", "Seven", 165, 0.9),
    ("six.wav", "Six", 165, 0.9),
    ("five.wav", "Five", 165, 0.9),
    ("four.wav", "Four", 165, 0.9),
    ("three.wav", "Three", 165, 0.9),
    ("two.wav", "Two", 165, 0.9),
    ("one.wav", "One", 165, 0.9),
    ("play.wav", "Play!", 160, 0.9),
    ("win.wav", "You win!", 150, 2.3),
    ("lose.wav", "You lose!", 150, 2.3),
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
    "equalizer", "6300", "2q", "-10",    # espeak's buzzy upper formant
    "lowpass", "7000",
] + TRIM


def speak(text, words_per_minute):
    with tempfile.TemporaryDirectory() as tmp:
        raw = Path(tmp) / "voice.wav"
        subprocess.run(["espeak-ng", "-v", VOICE, "-p", str(PITCH), "-s", str(words_per_minute),
                        "-w", str(raw), text], check=True)
        voice = sox_file(raw, VOICE_RATE, CHAIN)
    # The trims cut into the signal: ease in and out so neither end clicks.
    return fade_out(fade_in(voice, VOICE_RATE, 0.004), VOICE_RATE, 0.03)


def generate(out_dir, write):
    for name, text, wpm, longest in LINES:
        write(out_dir / name, normalize(speak(text, wpm), -1.0), VOICE_RATE, max_seconds=longest)
