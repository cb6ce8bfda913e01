"""Writes the theme as a standard MIDI file, type 1: a conductor track with
the tempo, then one track per part on General MIDI instruments."""

import struct

from . import theme

DIVISION = 480                       # ticks per quarter note
TICKS_PER_ROW = DIVISION // 4
END = theme.ROWS * TICKS_PER_ROW

# part: (channel, program or None for drums, volume, pan, sounding rows)
VOICES = {
    "drums": (9, None, 90, 64, lambda n: 0.5),
    "bass": (0, 38, 88, 64, lambda n: n.length * 0.75),         # Synth Bass 1
    "arpeggio": (1, 80, 58, 40, lambda n: n.length * 0.85),      # Lead 1 (square)
    "lead": (2, 81, 84, 84, lambda n: n.length - 0.1),          # Lead 2 (sawtooth)
}


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def track(events):
    """events: (tick, order, bytes); order puts note-offs before note-ons at one tick."""
    body, now = bytearray(), 0
    for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
        body += vlq(tick - now) + data
        now = tick
    body += vlq(END - now) + b"\xFF\x2F\x00"                     # every track ends at the loop point
    return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def meta_text(kind, text):
    data = text.encode("ascii")
    return bytes([0xFF, kind]) + vlq(len(data)) + data


def conductor():
    tempo = round(60_000_000 / theme.BPM)
    return track([
        (0, 0, meta_text(0x03, "Halvardine theme")),
        (0, 1, b"\xFF\x58\x04\x04\x02\x18\x08"),               # 4/4
        (0, 2, b"\xFF\x51\x03" + tempo.to_bytes(3, "big")),
    ])


def part_track(name, notes):
    channel, program, volume, pan, sounding = VOICES[name]
    events = [(0, 0, meta_text(0x03, name)),
              (0, 1, bytes([0xB0 | channel, 7, volume])),
              (0, 2, bytes([0xB0 | channel, 10, pan])),
              (0, 3, bytes([0xB0 | channel, 91, 40]))]             # a little reverb
    if program is not None:
        events.append((0, 4, bytes([0xC0 | channel, program])))
    for note in notes:
        on = note.row * TICKS_PER_ROW
        off = min(END, on + max(1, round(sounding(note) * TICKS_PER_ROW)))
        events.append((on, 6, bytes([0x90 | channel, note.pitch, note.velocity])))
        events.append((off, 5, bytes([0x80 | channel, note.pitch, 0])))
    return track(events)


def write(path):
    tracks = [conductor()] + [part_track(name, notes) for name, notes in theme.PARTS.items()]
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), DIVISION)
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(header + b"".join(tracks))
