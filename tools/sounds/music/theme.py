"""The theme: twelve bars of driving A minor at 125 beats a minute, one
sixteenth note per tracker row, 23.04 s, written to loop back to its start.

Each part is a list of `Note`s; times and lengths are in rows (sixteenths)."""

from dataclasses import dataclass

BPM = 125
ROWS_PER_BAR = 16
BARS = 12
ROWS = BARS * ROWS_PER_BAR
SECONDS_PER_ROW = 60.0 / BPM / 4
LENGTH_SECONDS = ROWS * SECONDS_PER_ROW

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}

# Drum voices (the MIDI note numbers of the General MIDI drum map).
KICK, SNARE, HAT = 36, 38, 42


@dataclass(frozen=True)
class Note:
    row: int
    pitch: int        # MIDI note number
    length: int       # rows
    velocity: int     # 1..127


def pitch(name):
    """'A4', 'G#5' -> MIDI note number (A4 = 69)."""
    octave = int(name[-1])
    semitone = NOTE_NAMES[name[0]] + (1 if "#" in name else 0)
    return 12 * (octave + 1) + semitone


# Chords of the twelve bars: root for the bass, four tones for the arpeggio.
CHORDS = {
    "Am": ("A1", ["A4", "C5", "E5", "A5"]),
    "F":  ("F1", ["F4", "A4", "C5", "F5"]),
    "C":  ("C2", ["G4", "C5", "E5", "G5"]),
    "G":  ("G1", ["G4", "B4", "D5", "G5"]),
    "Dm": ("D2", ["A4", "D5", "F5", "A5"]),
    "E":  ("E1", ["G#4", "B4", "E5", "G#5"]),
}
PROGRESSION = ["Am", "Am", "F", "G",
               "Am", "F", "C", "G",
               "Dm", "F", "G", "E"]

# The lead, bar by bar: "name:rows", "-" is a rest. The first three bars
# leave room for the groove; the fourth climbs into the tune.
MELODY = [
    "-:16", "-:16", "-:16", "-:8 G4:2 B4:2 D5:2 E5:2",
    "E5:3 D5:1 C5:2 E5:2 A5:4 G5:2 E5:2",
    "F5:3 E5:1 C5:2 A4:2 C5:4 -:2 A4:2",
    "G5:3 E5:1 C5:2 G5:2 E5:4 D5:2 C5:2",
    "D5:6 B4:2 G4:4 B4:2 D5:2",
    "D5:2 F5:2 A5:4 G5:2 F5:2 E5:2 D5:2",
    "C5:2 F5:2 A5:6 G5:2 F5:4",
    "G5:3 F5:1 D5:2 B4:2 D5:4 G5:4",
    "B4:2 E5:2 G#5:4 B5:6 -:2",
]

ARPEGGIO_ORDER = [0, 1, 2, 3, 2, 1, 2, 1]


def lead():
    notes = []
    for bar, text in enumerate(MELODY):
        row = bar * ROWS_PER_BAR
        for item in text.split():
            name, rows = item.split(":")
            if name != "-":
                notes.append(Note(row, pitch(name), int(rows), 100 if row % 4 == 0 else 88))
            row += int(rows)
        assert row == (bar + 1) * ROWS_PER_BAR, f"bar {bar + 1} does not add up to a bar"
    return notes


def bass():
    """Eighth notes on the root, jumping an octave on the off-beats of 2 and 4."""
    notes = []
    for bar, chord in enumerate(PROGRESSION):
        root = pitch(CHORDS[chord][0])
        for eighth in range(8):
            octave = 12 if eighth in (3, 7) else 0
            notes.append(Note(bar * ROWS_PER_BAR + eighth * 2, root + octave, 2, 110 if eighth % 2 == 0 else 92))
    return notes


def arpeggio():
    notes = []
    for bar, chord in enumerate(PROGRESSION):
        tones = [pitch(n) for n in CHORDS[chord][1]]
        for step in range(ROWS_PER_BAR):
            tone = tones[ARPEGGIO_ORDER[step % len(ARPEGGIO_ORDER)]]
            notes.append(Note(bar * ROWS_PER_BAR + step, tone, 1, 84 if step % 4 == 0 else 66))
    return notes


def drums():
    """Kick on 1 and 3 (and a push before 3 in every other bar), snare on 2
    and 4, hats between; the last bar ends in a snare roll back to the top."""
    notes = []
    for bar in range(BARS):
        base = bar * ROWS_PER_BAR
        hits = {0: KICK, 2: HAT, 4: SNARE, 6: HAT, 8: KICK, 10: HAT, 12: SNARE, 14: HAT}
        if bar % 2 == 1:
            hits[7] = KICK
        if bar == BARS - 1:
            hits.update({13: SNARE, 14: SNARE, 15: SNARE})
        for row, drum in sorted(hits.items()):
            velocity = {KICK: 120, SNARE: 110, HAT: 70}[drum]
            if bar == BARS - 1 and row > 12:
                velocity = 80 + 10 * (row - 12)
            notes.append(Note(base + row, drum, 1, velocity))
    return notes


PARTS = {"drums": drums(), "bass": bass(), "arpeggio": arpeggio(), "lead": lead()}
