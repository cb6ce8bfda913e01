"""Writes the theme as a 4-channel ProTracker module ("M.K."), byte by byte.

Channel 1 drums, 2 bass, 3 arpeggio, 4 lead (the Amiga pans them left,
right, right, left). Speed 6 and 125 BPM, the format's defaults, make one
row a sixteenth note, so the score's rows are the module's rows."""

import struct

from . import instruments, theme

PAL_CLOCK = 3546894.6
# ProTracker's period table, C-1 .. B-3.
PERIODS = [856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
           428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
           214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113]
C2, C3 = 12, 24                   # indexes into PERIODS
ROWS_PER_PATTERN = 64


class Sample:
    def __init__(self, name, data, volume, looped):
        self.name, self.volume, self.looped = name, volume, looped
        if not looped:
            data = [0.0, 0.0] + data              # the silent word a one-shot sample parks on
        if len(data) % 2:
            data.append(0.0)
        top = max(abs(v) for v in data) or 1.0
        self.data = bytes(max(-127, min(127, round(v / top * 127))) & 0xFF for v in data)

    def header(self):
        words = len(self.data) // 2
        loop_start, loop_words = (0, words) if self.looped else (0, 1)
        name = self.name.encode("ascii")
        return struct.pack(">22sHBBHH", name, words, 0, self.volume, loop_start, loop_words)


def wavetable_loop(harmonics, length, cycles):
    """A loop of `length` samples holding `cycles` whole cycles: at period
    428 it sounds at PAL_CLOCK / 428 * cycles / length Hz."""
    table = instruments.harmonic_cycle(harmonics, 4096)
    return [table[int(i * cycles * 4096 / length) % 4096] for i in range(length)]


def build_samples():
    drum_rate = PAL_CLOCK / PERIODS[C2]
    hat_rate = PAL_CLOCK / PERIODS[C3]
    return [
        Sample("kick", instruments.kick(drum_rate), 64, False),
        Sample("snare", instruments.snare(hat_rate), 52, False),
        Sample("hat", instruments.hat(hat_rate), 30, False),
        # 380 samples, 3 cycles: 65.43 Hz at C-2, the pitch of C2 (MIDI 36).
        Sample("bass", wavetable_loop(instruments.bass_harmonics(), 380, 3), 56, True),
        # 190 samples, 6 cycles: 261.7 Hz at C-2, the pitch of C4 (MIDI 60).
        Sample("arpeggio", wavetable_loop(instruments.arpeggio_harmonics(), 190, 6), 34, True),
        Sample("lead", wavetable_loop(instruments.lead_harmonics(), 190, 6), 44, True),
    ]


KICK, SNARE, HAT, BASS, ARP, LEAD = range(1, 7)        # sample numbers
DRUM_SAMPLES = {theme.KICK: (KICK, C2), theme.SNARE: (SNARE, C3), theme.HAT: (HAT, C3)}
MIDI_AT_C2 = {BASS: 36, ARP: 60, LEAD: 60}


def cell(sample=0, period=0, effect=0, param=0):
    return bytes([(sample & 0xF0) | (period >> 8), period & 0xFF, ((sample & 0x0F) << 4) | effect, param])


def period_for(sample, midi_pitch):
    index = midi_pitch - MIDI_AT_C2[sample] + C2
    if not 0 <= index < len(PERIODS):
        raise ValueError(f"MIDI note {midi_pitch} is outside the module's three octaves")
    return PERIODS[index]


VOLUME, VOLUME_SLIDE, VIBRATO, EXTENDED = 0xC, 0xA, 0x4, 0xE
NOTE_CUT = 0xC0                                   # extended effect ECx: cut at tick x


def build_rows():
    """The grid of cells: rows[r][channel]."""
    rows = [[cell() for _ in range(4)] for _ in range(theme.ROWS)]
    for note in theme.PARTS["drums"]:
        sample, note_index = DRUM_SAMPLES[note.pitch]
        rows[note.row][0] = cell(sample, PERIODS[note_index], VOLUME, round(64 * note.velocity / 127))
    for note in theme.PARTS["bass"]:
        rows[note.row][1] = cell(BASS, period_for(BASS, note.pitch))
        rows[note.row + 1][1] = cell(effect=EXTENDED, param=NOTE_CUT | 3)      # staccato: 9 of 12 ticks
    for note in theme.PARTS["arpeggio"]:
        fall = 0x02 if note.velocity > 80 else 0x05                            # accents ring longer
        rows[note.row][2] = cell(ARP, period_for(ARP, note.pitch), VOLUME_SLIDE, fall)
    for note in theme.PARTS["lead"]:
        rows[note.row][3] = cell(LEAD, period_for(LEAD, note.pitch))
        for r in range(note.row + 2, note.row + note.length):
            rows[r][3] = cell(effect=VIBRATO, param=0x43)                     # long notes sing
        end = note.row + note.length
        if end < theme.ROWS and rows[end][3] == cell():
            rows[end][3] = cell(effect=EXTENDED, param=NOTE_CUT | 0)           # rest: release
    return rows


def write(path):
    samples = build_samples()
    rows = build_rows()
    patterns = len(rows) // ROWS_PER_PATTERN
    out = bytearray(b"halvardine theme".ljust(20, b"\0"))
    for s in samples:
        out += s.header()
    for _ in range(31 - len(samples)):
        out += struct.pack(">22sHBBHH", b"", 0, 0, 0, 0, 1)
    out += bytes([patterns, 127]) + bytes(range(patterns)).ljust(128, b"\0") + b"M.K."
    for row in rows:
        out += b"".join(row)
    for s in samples:
        out += s.data
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(bytes(out))
