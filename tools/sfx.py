"""Sound effects, mono. Pitch sweeps, shaped noise and short chimes."""
import numpy as np

import synth as S

SR = S.SR


def _t(sec):
    return np.arange(int(sec * SR)) / SR


def _sweep(f0, f1, sec, shape="square", curve=1.0):
    t = _t(sec)
    u = (t / sec) ** curve
    f = f0 * (f1 / f0) ** u
    ph = 2 * np.pi * np.cumsum(f) / SR
    if shape == "sine":
        return np.sin(ph)
    if shape == "tri":
        return sum(((-1) ** k) * np.sin((2 * k + 1) * ph) / (2 * k + 1) ** 2 for k in range(5)) * 0.8
    # soft square: odd harmonics, few enough to stay below the Nyquist limit
    return sum(np.sin((2 * k + 1) * ph) / (2 * k + 1) for k in range(6)) * 0.8


def _env(n, attack=0.005, decay=8.0):
    t = np.arange(n) / SR
    return np.clip(t / attack, 0, 1) * np.exp(-t * decay)


def _noise(n, seed):
    return np.random.default_rng(seed).standard_normal(n)


def _lowpass(x, k):
    return np.convolve(x, np.ones(k) / k, mode="same")


def _norm(x, peak=0.85):
    x = x - np.mean(x)
    fade = min(len(x), int(0.004 * SR))
    x[-fade:] *= np.linspace(1, 0, fade)
    return x * (peak / max(1e-9, np.max(np.abs(x))))


def jump(variant):
    f0, f1 = (260, 720) if variant == 0 else (330, 880)
    shape = "square" if variant == 0 else "tri"
    x = _sweep(f0, f1, 0.18, shape, curve=0.7)
    return _norm(x * _env(len(x), 0.003, 9.0), 0.7)


def land():
    n = int(0.16 * SR)
    body = _sweep(140, 45, 0.16, "sine") * _env(n, 0.002, 22)
    dust = _lowpass(_noise(n, 7), 12) * _env(n, 0.001, 40) * 2.0
    return _norm(body + dust, 0.8)


def spray():
    """One second of hiss that repeats without a seam: built in the frequency
    domain, so it is periodic in its own length; the flutter cycles 6 times."""
    n = SR
    rng = np.random.default_rng(9)
    bins = rng.standard_normal(n // 2 + 1) + 1j * rng.standard_normal(n // 2 + 1)
    f = np.fft.rfftfreq(n, 1.0 / SR)
    shape = np.exp(-((f - 6000.0) / 3500.0) ** 2) + 0.25 * np.exp(-((f - 1800.0) / 900.0) ** 2)
    bins[0] = 0.0
    x = np.fft.irfft(bins * shape, n)
    t = np.arange(n) / SR
    x *= 1.0 + 0.18 * np.sin(2 * np.pi * 6 * t) + 0.08 * np.sin(2 * np.pi * 17 * t)
    return x * (0.6 / np.max(np.abs(x)))


def hurt(variant):
    if variant == 0:
        x = _sweep(520, 170, 0.32, "square", curve=0.8)
        t = _t(0.32)
        x *= 1 + 0.3 * np.sin(2 * np.pi * 30 * t)
        x = x * _env(len(x), 0.003, 6.0)
    else:
        a = _sweep(420, 300, 0.12, "square")
        b = _sweep(300, 160, 0.22, "square")
        x = np.concatenate([a * _env(len(a), 0.002, 4), b * _env(len(b), 0.002, 8)])
    n = len(x)
    x += _lowpass(_noise(n, 10 + variant), 6) * _env(n, 0.001, 30) * 0.6
    return _norm(x, 0.8)


def _chime(freqs, step, ring):
    out = np.zeros(int((step * len(freqs) + ring) * SR))
    for i, f in enumerate(freqs):
        t = _t(ring)
        tone = (np.sin(2 * np.pi * f * t) + 0.3 * np.sin(4 * np.pi * f * t)) * _env(len(t), 0.002, 7)
        s = int(i * step * SR)
        out[s:s + len(tone)] += tone
    return out


def menu_move():
    x = _chime([880, 1320], 0.035, 0.09)
    return _norm(x, 0.6)


def menu_ok():
    x = _chime([660, 880, 1320, 1760], 0.07, 0.45)
    return _norm(x, 0.75)


def wave_alarm():
    parts = []
    for k in range(4):
        f = 740 if k % 2 == 0 else 988
        tone = _sweep(f, f * 1.02, 0.2, "square")
        parts.append(tone * _env(len(tone), 0.01, 3.0))
    x = np.concatenate(parts)
    return _norm(x, 0.7)


def wave_hit(level):
    """Danger burst when the hazards show; bigger for stronger waves (1 to 4)."""
    sec = 0.35 + 0.18 * level
    n = int(sec * SR)
    t = np.arange(n) / SR
    hiss = (_noise(n, 20 + level) - _lowpass(_noise(n, 20 + level), 5)) * _env(n, 0.01, 5.0 / sec)
    zap = _sweep(1400 - 150 * level, 300, sec, "square", curve=0.5) * _env(n, 0.002, 6.0 / sec) * 0.4
    x = hiss + zap
    if level >= 2:
        crack = np.zeros(n)
        rng = np.random.default_rng(30 + level)
        for _ in range(6 * level):
            s = rng.integers(0, n - 400)
            crack[s:s + 300] += rng.standard_normal(300) * np.exp(-np.arange(300) / 50.0)
        x += crack * 0.5
    if level >= 3:
        boom = _sweep(90, 35, sec, "sine") * _env(n, 0.004, 3.0 / sec) * (1.0 + 0.6 * (level - 3))
        x += boom * 1.4
    return _norm(x, 0.6 + 0.08 * level)
