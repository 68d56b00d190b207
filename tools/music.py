"""The game's four pieces, in A minor, written out bar by bar.

Bar lengths are whole numbers of samples (21000 samples a beat at 126 bpm,
26460 at 100 bpm, 29400 at 90 bpm) so a loop of whole bars closes exactly.
"""
import numpy as np

import synth as S
from synth import midi

SR = S.SR

# chord -> (bass root, pad voicing)
CHORDS = {
    "Am": ("A2", ["A3", "C4", "E4"]),
    "F": ("F2", ["A3", "C4", "F4"]),
    "C": ("C3", ["G3", "C4", "E4"]),
    "G": ("G2", ["G3", "B3", "D4"]),
    "Em": ("E2", ["G3", "B3", "E4"]),
    "Dm": ("D3", ["A3", "D4", "F4"]),
    "Fmaj7": ("F2", ["A3", "C4", "E4"]),
    "Em7": ("E2", ["G3", "B3", "D4"]),
    "A": ("A2", ["A3", "C#4", "E4"]),
}

VERSE = ["Am", "F", "C", "G"] * 2
CHORUS = ["F", "G", "Em", "Am", "F", "G", "Am", "Am"]

# Melodies: one string per bar, note:eighths, r = rest.
MEL_A = [
    "A4:1 C5:1 E5:2 D5:1 C5:1 E5:2",
    "F5:3 E5:1 C5:2 A4:2",
    "G4:1 C5:1 E5:2 G5:2 E5:2",
    "D5:4 B4:2 r:2",
    "A4:1 C5:1 E5:2 A5:2 G5:1 E5:1",
    "F5:2 A5:2 G5:1 F5:1 E5:2",
    "E5:2 G5:2 C6:2 B5:1 G5:1",
    "A5:4 G5:2 D5:2",
]
MEL_B = [
    "C6:2 A5:2 F5:2 A5:2",
    "B5:2 G5:2 D5:2 B5:2",
    "B5:3 A5:1 G5:2 E5:2",
    "A5:6 r:2",
    "A5:1 G5:1 F5:2 A5:2 C6:2",
    "D6:2 B5:2 G5:2 D6:2",
    "C6:2 B5:1 A5:1 E5:2 C5:2",
    "A5:6 r:2",
]
MEL_C = [
    "E5:2 r:1 E5:1 D5:1 C5:1 D5:2",
    "C5:2 A4:2 r:2 C5:1 D5:1",
    "E5:2 G5:1 E5:1 D5:2 C5:2",
    "B4:2 D5:2 G5:4",
    "A5:2 r:1 A5:1 G5:1 E5:1 G5:2",
    "F5:2 E5:1 D5:1 C5:2 A4:2",
    "G4:1 C5:1 E5:1 G5:1 C6:2 B5:2",
    "B5:2 A5:1 G5:1 D5:4",
]
MEL_MENU = [
    "E5:4 C5:2 A4:2", "D5:4 B4:2 G4:2", "B4:3 C5:1 D5:2 E5:2", "C5:8",
    "E5:4 G5:2 E5:2", "D5:4 G5:2 D5:2", "B4:2 G4:2 B4:2 D5:2", "C5:6 r:2",
]
MEL_CREDITS = [
    "E5:2 A5:2 G5:2 E5:2", "F5:4 C5:4", "E5:2 G5:2 C6:2 G5:2", "D5:6 r:2",
    "E5:2 A5:2 B5:2 C6:2", "A5:4 F5:4", "G5:2 E5:2 C5:2 E5:2", "D5:6 r:2",
    "C5:2 F5:2 A5:4", "B4:2 D5:2 G5:4", "C5:2 E5:2 A5:4", "A5:8",
]


def parse_bar(s):
    """-> list of (start eighth, length eighths, midi or None)."""
    out, pos = [], 0
    for tok in s.split():
        name, ln = tok.split(":")
        ln = int(ln)
        out.append((pos, ln, None if name == "r" else midi(name)))
        pos += ln
    assert pos == 8, s
    return out


class Track:
    def __init__(self, bpm, bars, loop, tail=0):
        self.beat = int(round(SR * 60.0 / bpm))
        self.bar = 4 * self.beat
        self.n = bars * self.bar + tail
        self.mix = S.Mix(self.n, loop)

    def at(self, bar, beats=0.0):
        return bar * self.bar + int(round(beats * self.beat))

    def sec(self, beats):
        return beats * self.beat / SR

    def melody(self, bar, s, voice, bus="lead", gain=1.0, pan=0.0, transpose=0, legato=0.9):
        for pos, ln, m in parse_bar(s):
            if m is not None:
                self.mix.add(bus, voice(m + transpose, self.sec(ln / 2.0) * legato),
                             self.at(bar, pos / 2.0), gain, pan)

    def pad(self, bar, chord, gain=1.0, bars=1):
        for i, name in enumerate(CHORDS[chord][1]):
            self.mix.add("pad", S.pad(midi(name), self.sec(4 * bars) * 0.96), self.at(bar),
                         gain, pan=(-0.5, 0.0, 0.5)[i])

    def arp(self, bar, chord, gain=1.0, step=0.25, pattern=(0, 1, 2, 3, 2, 1, 2, 3), voice=None):
        notes = [midi(n) + 12 for n in CHORDS[chord][1]]
        notes.append(notes[0] + 12)
        voice = voice or S.pluck
        k = 0
        b = 0.0
        while b < 3.999:
            m = notes[pattern[k % len(pattern)]]
            self.mix.add("arp", voice(m, self.sec(step)), self.at(bar, b), gain * (1.0 if k % 2 == 0 else 0.75),
                         pan=0.35 if k % 2 else -0.35)
            b += step
            k += 1

    def bass(self, bar, chord, style="drive", gain=1.0):
        root = midi(CHORDS[chord][0])
        if style == "drive":
            hits = [(0, root), (0.5, root), (1, root + 12), (1.5, root), (2, root), (2.5, root),
                    (3, root + 12), (3.5, root + 7)]
            ln = 0.42
        elif style == "half":
            hits = [(0, root), (2, root), (3.5, root + 7)]
            ln = 1.6
        else:  # whole
            hits = [(0, root)]
            ln = 3.8
        for b, m in hits:
            l = ln if b + ln <= 4 else 0.4
            self.mix.add("bass", S.bass(m, self.sec(l)), self.at(bar, b), gain)

    def drums(self, bar, style="full", gain=1.0):
        m = self.mix
        if style == "none":
            return
        if style in ("full", "fill", "four", "break"):
            kicks = {"full": [0, 2, 2.75], "fill": [0, 2], "four": [0, 1, 2, 3], "break": [0, 1.75, 2.5]}[style]
            for b in kicks:
                m.add("drums", S.kick(), self.at(bar, b), gain)
            snares = {"full": [1, 3], "fill": [1, 3, 3.25, 3.5, 3.75], "four": [1, 3], "break": [1, 3, 3.5]}[style]
            for b in snares:
                m.add("drums", S.snare(), self.at(bar, b), gain * (0.7 if b % 1 else 1.0), pan=0.1)
        if style == "soft":
            for b in (0, 2):
                m.add("drums", S.kick(), self.at(bar, b), gain * 0.7)
            for b in (1, 3):
                m.add("drums", S.shaker(), self.at(bar, b), gain * 1.2, pan=-0.2)
        for i in range(8):
            b = i * 0.5
            if style in ("fill",) and b >= 3:
                break
            open_ = (i == 7 and style in ("full", "four"))
            acc = 1.0 if i % 2 else 0.6
            m.add("drums", S.hat(open_), self.at(bar, b), gain * acc * 0.9, pan=-0.3)

    def crash(self, bar, gain=1.0):
        self.mix.add("drums", 2.2 * S.hat(True), self.at(bar), gain, pan=0.3)
        self.mix.add("drums", 1.5 * S.hat(True), self.at(bar, 0.02), gain, pan=-0.3)


def _finish(tr, fade=0.0, delay_beats=0.75):
    m = tr.mix
    m.echo("lead", tr.sec(delay_beats), 0.33, taps=4)
    m.room("lead", 0.18)
    m.room("pad", 0.3)
    m.echo("arp", tr.sec(0.75), 0.25, taps=2)
    m.room("drums", 0.08)
    # balance between the buses
    for bus, g in (("lead", 1.15), ("pad", 0.9), ("arp", 0.6), ("bass", 0.6), ("drums", 0.7)):
        if bus in m.buses:
            m.buses[bus] *= g
    return m.master(peak=0.85, fade_out=fade)


INTRO_MS = 106718


def ingame_intro():
    """56 bars at 126 bpm (106.667 s) and a short ring-out to 106.718 s."""
    bars = 56
    n_total = int(round(INTRO_MS * SR / 1000.0))
    tr = Track(126, bars, loop=False)
    tail = n_total - tr.n
    tr = Track(126, bars, loop=False, tail=tail)
    plan = []          # (chords, melody, drum style, bass style, lead voice)
    plan += [(VERSE[:4], None, "none", None, None)]
    plan += [(VERSE[:4], None, "hats", "half", None)]
    plan += [(VERSE, MEL_A, "full", "drive", S.lead)]
    plan += [(CHORUS, MEL_B, "full", "drive", S.lead)]
    plan += [(VERSE, MEL_C, "full", "drive", S.lead)]
    plan += [(VERSE[:4], MEL_A[:4], "none", "whole", S.bell)]
    plan += [(VERSE[:4], None, "four", "drive", None)]
    plan += [(CHORUS, MEL_B, "full", "drive", S.lead)]
    plan += [(VERSE, MEL_A, "full", "drive", S.lead)]
    bar = 0
    for chords, mel, drums, bass_style, voice in plan:
        for i, ch in enumerate(chords):
            tr.pad(bar, ch)
            tr.arp(bar, ch, gain=0.8 if drums == "none" else 1.0)
            if bass_style:
                tr.bass(bar, ch, bass_style)
            last = (i == len(chords) - 1)
            style = drums
            if drums == "hats":
                style = "hatsonly"
            if last and drums in ("full", "four"):
                style = "fill"
            tr.drums(bar, style)
            if mel:
                tr.melody(bar, mel[i], voice, gain=1.0 if voice is S.lead else 1.3)
                if voice is S.bell:
                    tr.melody(bar, mel[i], S.bell, gain=0.5, transpose=-12, pan=-0.3)
            if i == 0 and drums in ("full", "four") and bar > 0:
                tr.crash(bar)
            bar += 1
    assert bar == bars
    tr.crash(bars - 1, 0.6)
    return _finish(tr, fade=0.03)


def ingame_loop():
    """32 bars at 126 bpm that close on themselves (60.95 s)."""
    tr = Track(126, 32, loop=True)
    plan = [(VERSE, MEL_C, "full", S.lead), (CHORUS, MEL_B, "full", S.lead),
            (VERSE, None, "break", None), (CHORUS, MEL_A, "full", S.bell)]
    bar = 0
    for chords, mel, drums, voice in plan:
        for i, ch in enumerate(chords):
            tr.pad(bar, ch)
            tr.arp(bar, ch, pattern=(0, 2, 1, 3, 2, 1, 0, 2) if mel is None else (0, 1, 2, 3, 2, 1, 2, 3))
            tr.bass(bar, ch, "drive")
            style = "fill" if i == len(chords) - 1 else drums
            tr.drums(bar, style)
            if i == 0:
                tr.crash(bar, 0.8)
            if mel:
                if voice is S.bell:
                    tr.melody(bar, mel[i], S.bell, gain=1.3, transpose=0)
                    tr.melody(bar, mel[i], S.lead, gain=0.45, transpose=-12, pan=0.2)
                else:
                    tr.melody(bar, mel[i], voice)
            bar += 1
    return _finish(tr)


def menu_loop():
    """16 bars at 100 bpm, calm, closing on itself (38.4 s)."""
    tr = Track(100, 16, loop=True)
    prog = ["Fmaj7", "G", "Em7", "Am"] * 4
    for bar, ch in enumerate(prog):
        tr.pad(bar, ch, gain=1.2)
        tr.arp(bar, ch, step=0.5, pattern=(0, 2, 1, 3, 2, 1, 3, 2), gain=1.1)
        tr.bass(bar, ch, "half", gain=0.9)
        if bar >= 4:
            tr.drums(bar, "soft")
        if bar >= 8:
            tr.melody(bar, MEL_MENU[bar - 8], S.bell, gain=1.4)
            tr.melody(bar, MEL_MENU[bar - 8], S.bell, gain=0.5, transpose=12, pan=0.4)
    return _finish(tr, delay_beats=1.5)


def credits_piece():
    """12 bars at 90 bpm and a final A major chord left to ring (about 35 s)."""
    prog = ["Am", "F", "C", "G", "Am", "F", "C", "G", "F", "G", "Am", "A"]
    tail = 4 * 29400
    tr = Track(90, len(prog), loop=False, tail=tail)
    for bar, ch in enumerate(prog):
        last = bar == len(prog) - 1
        tr.pad(bar, ch, gain=1.2, bars=2 if last else 1)
        if not last:
            tr.arp(bar, ch, step=0.5, pattern=(0, 1, 2, 3, 2, 1, 2, 1))
            tr.bass(bar, ch, "half")
        else:
            tr.bass(bar, ch, "whole")
            for k, name in enumerate(CHORDS["A"][1]):
                tr.mix.add("lead", S.bell(midi(name) + 12, 3.0), tr.at(bar, 0.15 * k), 1.0)
        if 2 <= bar:
            tr.drums(bar, "soft", gain=0.7 if bar < len(prog) - 1 else 0.0)
        tr.melody(bar, MEL_CREDITS[bar], S.bell, gain=1.4)
    return _finish(tr, fade=1.5, delay_beats=1.5)
