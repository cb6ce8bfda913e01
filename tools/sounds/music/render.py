"""Plays the score through the instruments into a stereo OGG Vorbis file.

Every part is mixed into a buffer exactly one loop long; whatever rings past
the end (note releases, echoes, reverb) wraps round to the start, so the file
loops without a gap or a click."""

import math

from dsp import MUSIC_RATE as RATE, mix_circular, sox, sox_write

from . import instruments, theme

TABLE_SIZE = 2048
LOOP = int(round(theme.LENGTH_SECONDS * RATE))
ROW = theme.SECONDS_PER_ROW


def frequency(midi_pitch):
    return 440.0 * 2.0 ** ((midi_pitch - 69) / 12.0)


def oscillator(table, hz, n, vibrato_hz=0.0, vibrato_semitones=0.0, vibrato_delay=0.0):
    size = len(table)
    out, phase = [], 0.0
    step = hz * size / RATE
    for i in range(n):
        t = i / RATE
        s = step
        if vibrato_semitones and t > vibrato_delay:
            depth = vibrato_semitones * min(1.0, (t - vibrato_delay) / 0.2)
            s *= 2.0 ** (depth * math.sin(2.0 * math.pi * vibrato_hz * t) / 12.0)
        k = int(phase)
        frac = phase - k
        a = table[k % size]
        out.append(a + (table[(k + 1) % size] - a) * frac)
        phase += s
    return out


def adsr(n, held, attack, decay, sustain, release):
    """Envelope over n samples for a note held for `held` samples."""
    a, d, r = max(1, int(attack * RATE)), max(1, int(decay * RATE)), max(1, int(release * RATE))
    out = []
    for i in range(n):
        if i < a:
            level = i / a
        elif i < held:
            level = sustain + (1.0 - sustain) * math.exp(-(i - a) / d)
        else:
            at_release = sustain + (1.0 - sustain) * math.exp(-(held - a) / d) if held > a else 1.0
            level = at_release * max(0.0, 1.0 - (i - held) / r)
        out.append(level)
    return out


def pitched_part(notes, table, gain, attack, decay, sustain, release,
                 hold=1.0, detune_cents=0.0, vibrato=0.0):
    out = [0.0] * LOOP
    for note in notes:
        held = int(note.length * ROW * hold * RATE)
        n = held + int(release * RATE)
        hz = frequency(note.pitch)
        wave = oscillator(table, hz, n, 5.5, vibrato, 0.18)
        if detune_cents:
            other = oscillator(table, hz * 2.0 ** (detune_cents / 1200.0), n, 5.5, vibrato, 0.18)
            wave = [0.5 * (x + y) for x, y in zip(wave, other)]
        env = adsr(n, held, attack, decay, sustain, release)
        g = gain * note.velocity / 127.0
        mix_circular(out, [w * e for w, e in zip(wave, env)], int(round(note.row * ROW * RATE)), g)
    return out


def drum_part(notes):
    hits = {theme.KICK: instruments.kick(RATE), theme.SNARE: instruments.snare(RATE),
            theme.HAT: instruments.hat(RATE)}
    gains = {theme.KICK: 0.9, theme.SNARE: 0.55, theme.HAT: 0.35}
    out = [0.0] * LOOP
    for note in notes:
        gain = gains[note.pitch] * note.velocity / 127.0
        mix_circular(out, hits[note.pitch], int(round(note.row * ROW * RATE)), gain)
    return out


def echo(part, delay_rows, feedback, repeats):
    out = list(part)
    shift = int(round(delay_rows * ROW * RATE))
    for k in range(1, repeats + 1):
        g = feedback ** k
        for i, v in enumerate(part):
            out[(i + k * shift) % LOOP] += g * v
    return out


def circular_effect(part, effects):
    """Runs a sox chain over the loop as if it had been playing forever: the
    chain sees the loop twice and the second pass, already settled, is kept."""
    return sox(part + part, RATE, effects)[LOOP:2 * LOOP]


def pan(part, position):
    """position -1 (left) .. 1 (right), equal power."""
    angle = (position + 1.0) * math.pi / 4.0
    return math.cos(angle), math.sin(angle)


def render(path):
    parts = theme.PARTS
    bass_table = instruments.harmonic_cycle(instruments.bass_harmonics(), TABLE_SIZE)
    arp_table = instruments.harmonic_cycle(instruments.arpeggio_harmonics(), TABLE_SIZE)
    lead_table = instruments.harmonic_cycle(instruments.lead_harmonics(), TABLE_SIZE)

    bass = pitched_part(parts["bass"], bass_table, 0.55, 0.004, 0.12, 0.6, 0.03, hold=0.75)
    bass = circular_effect(bass, ["lowpass", "1200", "bass", "+3", "80"])
    arp = pitched_part(parts["arpeggio"], arp_table, 0.2, 0.002, 0.07, 0.0, 0.05)
    arp = echo(arp, 3, 0.35, 4)
    lead = pitched_part(parts["lead"], lead_table, 0.34, 0.015, 0.4, 0.75, 0.08, hold=0.95,
                        detune_cents=7.0, vibrato=0.2)
    lead = circular_effect(lead, ["lowpass", "5000", "reverb", "40", "50", "70", "100", "15"])
    drums = drum_part(parts["drums"])

    mix = [(bass, 0.0), (arp, -0.45), (lead, 0.25), (drums, 0.0)]
    stereo = [0.0] * (2 * LOOP)
    for part, position in mix:
        left, right = pan(part, position)
        for i, v in enumerate(part):
            stereo[2 * i] += v * left
            stereo[2 * i + 1] += v * right
    top = max(abs(v) for v in stereo)
    g = 10 ** (-1.0 / 20.0) / top
    sox_write(path, [v * g for v in stereo], RATE, channels=2, options=["-C", "4"])
