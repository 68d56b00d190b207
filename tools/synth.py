"""A tiny additive synthesizer: a few voices, drums, a mixer with echo.

Everything is numpy arrays of float samples at 44.1 kHz. Looping tracks
are mixed on a circle: whatever rings past the end is added back at the
start, so the last sample leads straight into the first.
"""
import numpy as np

SR = 44100


def hz(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


NOTE = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def midi(name):
    """'A4' -> 69, 'C#5' -> 73, 'Bb3' -> 58."""
    n = NOTE[name[0]]
    i = 1
    if name[i] == "#":
        n, i = n + 1, i + 1
    elif name[i] == "b":
        n, i = n - 1, i + 1
    return 12 * (int(name[i:]) + 1) + n


def _t(n):
    return np.arange(n) / SR


def adsr(n_on, a, d, s, r):
    """Envelope for a note held n_on samples, followed by its release."""
    na, nd, nr = max(1, int(a * SR)), max(1, int(d * SR)), max(1, int(r * SR))
    env = np.empty(n_on + nr)
    k = np.arange(n_on)
    env[:n_on] = np.where(k < na, k / na, s + (1 - s) * np.exp(-(k - na) / nd))
    last = env[n_on - 1] if n_on else 0.0
    env[n_on:] = last * np.exp(-np.arange(nr) / (nr / 5.0))
    return env


def additive(freq, n, partials, vib=0.0, vib_rate=5.5, vib_delay=0.15):
    """Sum of harmonics k*freq with the given amplitudes, kept below 16 kHz."""
    t = _t(n)
    f = np.full(n, freq)
    if vib:
        ramp = np.clip((t - vib_delay) / 0.2, 0, 1)
        f = f * (1 + vib * ramp * np.sin(2 * np.pi * vib_rate * t))
    phase = 2 * np.pi * np.cumsum(f) / SR
    out = np.zeros(n)
    for k, amp in partials:
        if amp and k * freq < 16000:
            out += amp * np.sin(k * phase)
    return out


_cache = {}


def _cached(key, fn):
    if key not in _cache:
        _cache[key] = fn()
    return _cache[key]


# ---- voices: (midi note, length in seconds) -> samples -----------------

def lead(m, dur):
    def make():
        n = int(dur * SR)
        env = adsr(n, 0.012, 0.15, 0.6, 0.12)
        parts = [(k, (1.0 if k % 2 else 0.45) / k * 0.86 ** k) for k in range(1, 14)]
        return 0.32 * env * additive(hz(m), len(env), parts, vib=0.004)
    return _cached(("lead", m, dur), make)


def bell(m, dur):
    def make():
        n = int((dur + 1.2) * SR)
        t = _t(n)
        f = hz(m)
        out = np.zeros(n)
        for ratio, amp, dec in ((1, 1.0, 2.2), (2.0, 0.35, 3.5), (3.01, 0.18, 5.0), (4.2, 0.10, 7.0)):
            if ratio * f < 16000:
                out += amp * np.exp(-t * dec) * np.sin(2 * np.pi * ratio * f * t)
        att = np.clip(t / 0.004, 0, 1)
        return 0.28 * att * out
    return _cached(("bell", m, dur), make)


def pluck(m, dur):
    def make():
        n = int((dur + 0.35) * SR)
        t = _t(n)
        f = hz(m)
        out = np.zeros(n)
        for k in range(1, 11):
            if k * f < 16000:
                out += (1.0 / k) * np.exp(-t * (3.0 + 2.2 * k)) * np.sin(2 * np.pi * k * f * t)
        att = np.clip(t / 0.002, 0, 1)
        return 0.22 * att * out
    return _cached(("pluck", m, dur), make)


def bass(m, dur):
    def make():
        n = int(dur * SR)
        env = adsr(n, 0.005, 0.2, 0.55, 0.05)
        parts = [(k, 0.9 ** k / k) for k in range(1, 15)]
        body = additive(hz(m), len(env), parts)
        sub = np.sin(2 * np.pi * hz(m) * _t(len(env)))
        return 0.30 * env * (body + 0.6 * sub)
    return _cached(("bass", m, dur), make)


def pad(m, dur):
    def make():
        n = int(dur * SR)
        env = adsr(n, 0.35, 0.8, 0.8, 0.6)
        out = np.zeros(len(env))
        parts = [(k, (1.0 / (k * k)) if k % 2 else 0.12 / k) for k in range(1, 8)]
        for cents in (-7, 0, 7):
            out += additive(hz(m) * 2 ** (cents / 1200.0), len(env), parts)
        return 0.07 * env * out
    return _cached(("pad", m, dur), make)


# ---- drums --------------------------------------------------------------

def _noise(n, seed):
    return np.random.default_rng(seed).standard_normal(n)


def _smooth(x, k):
    return np.convolve(x, np.ones(k) / k, mode="same")


def kick():
    def make():
        n = int(0.4 * SR)
        t = _t(n)
        f = 48 + 115 * np.exp(-t * 28)
        body = np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-t * 8)
        click = _smooth(_noise(n, 1), 3) * np.exp(-t * 250) * 0.25
        return 0.9 * (body + click)
    return _cached("kick", make)


def snare():
    def make():
        n = int(0.3 * SR)
        t = _t(n)
        nz = _noise(n, 2)
        band = _smooth(nz - _smooth(nz, 9), 2)
        tone = np.sin(2 * np.pi * 185 * t) * np.exp(-t * 30)
        return 0.55 * (band * np.exp(-t * 17) * 0.9 + 0.5 * tone)
    return _cached("snare", make)


def hat(open_=False):
    def make():
        n = int((0.35 if open_ else 0.06) * SR)
        t = _t(n)
        nz = _noise(n, 3 if open_ else 4)
        hi = nz - _smooth(nz, 3)
        return 0.16 * hi * np.exp(-t * (9 if open_ else 70))
    return _cached(("hat", open_), make)


def shaker():
    def make():
        n = int(0.08 * SR)
        t = _t(n)
        nz = _noise(n, 5)
        hi = nz - _smooth(nz, 4)
        env = np.clip(t / 0.01, 0, 1) * np.exp(-t * 45)
        return 0.08 * hi * env
    return _cached("shaker", make)


# ---- mixing -------------------------------------------------------------

class Mix:
    """Stereo buses of fixed length; loop=True wraps tails to the start."""

    def __init__(self, n, loop):
        self.n, self.loop = n, loop
        self.buses = {}

    def add(self, bus, x, start, gain=1.0, pan=0.0):
        buf = self.buses.setdefault(bus, np.zeros((2, self.n)))
        l, r = np.cos((pan + 1) * np.pi / 4), np.sin((pan + 1) * np.pi / 4)
        start = int(start)
        gl, gr = gain * l * 1.41421356, gain * r * 1.41421356
        pos = 0
        while pos < len(x):
            at = start + pos
            if self.loop:
                at %= self.n
            elif at >= self.n:
                break
            m = min(len(x) - pos, self.n - at)
            buf[0, at:at + m] += x[pos:pos + m] * gl
            buf[1, at:at + m] += x[pos:pos + m] * gr
            pos += m

    def _shift(self, x, d):
        if self.loop:
            return np.roll(x, d, axis=1)
        y = np.zeros_like(x)
        y[:, d:] = x[:, :-d]
        return y

    def echo(self, bus, delay_s, feedback, taps=4, spread=True):
        """Tapped echo, ping-ponged between the channels."""
        x = self.buses.get(bus)
        if x is None:
            return
        d = int(delay_s * SR)
        out = x.copy()
        g = 1.0
        for i in range(1, taps + 1):
            g *= feedback
            y = self._shift(x, d * i) * g
            if spread and i % 2:
                y = y[::-1]
            out += y
        self.buses[bus] = out

    def room(self, bus, amount=0.25):
        """A cheap room: a cluster of short decaying reflections."""
        x = self.buses.get(bus)
        if x is None:
            return
        out = x.copy()
        for i, ms in enumerate((23, 31, 41, 53, 67, 83, 101, 127)):
            y = self._shift(x, int(ms * SR / 1000)) * amount * (0.82 ** i)
            out += y[::-1] if i % 2 else y
        self.buses[bus] = out

    def master(self, peak=0.89, fade_out=0.0):
        total = sum(self.buses.values())
        m = np.max(np.abs(total))
        if m > 0:
            total = np.tanh(total * (1.3 / m))     # gentle peak rounding

        if fade_out:
            k = int(fade_out * SR)
            total[:, -k:] *= np.linspace(1, 0, k) ** 2
        m = np.max(np.abs(total))
        if m > 0:
            total *= peak / m
        return total
