#!/usr/bin/env python3
"""Plays the level with random key presses and samples the game's resident
memory every 10 s. Reports the samples and the memory slope after the first
minute; fails when the game ends on its own or the slope is not flat.

Usage: soak.py BINARY DATA_DIR [SECONDS]   (default 600)
"""
import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e"))
from gamedriver import Display, Game  # noqa: E402

KEYS = ["Left", "Right", "Control_L", "space"]
SAMPLE_SECONDS = 10
SETTLE_SECONDS = 60
FLAT_KB_PER_MINUTE = 16


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def slope_per_minute(samples):
    """Least-squares slope of (seconds, kB) in kB per minute."""
    n = len(samples)
    if n < 2:
        return 0.0
    mean_t = sum(t for t, _ in samples) / n
    mean_m = sum(m for _, m in samples) / n
    var = sum((t - mean_t) ** 2 for t, _ in samples)
    cov = sum((t - mean_t) * (m - mean_m) for t, m in samples)
    return cov / var * 60.0 if var else 0.0


def main():
    binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 600.0
    display = Display()
    game = Game(binary, data_dir, display)
    try:
        if game.wait_window(timeout=30) is None:
            print("game ended at start-up:", game.exit_code(), game.err)
            return 1
        game.key("Return")
        time.sleep(2.5)
        random.seed(1)
        start = time.time()
        next_sample = start
        samples = []
        while time.time() - start < seconds:
            if game.proc.poll() is not None:
                print("game ended while playing: exit %d\n%s" % (game.exit_code(),
                                                                game.err[-6000:]))
                return 1
            if time.time() >= next_sample:
                elapsed = time.time() - start
                samples.append((elapsed, resident_kb(game.proc.pid)))
                print("%6.0f s  %8d kB" % samples[-1], flush=True)
                next_sample += SAMPLE_SECONDS
            game.key(random.choice(KEYS), hold=random.uniform(0.05, 1.2))
            time.sleep(random.uniform(0.0, 0.3))
        settled = [s for s in samples if s[0] >= SETTLE_SECONDS]
        slope = slope_per_minute(settled)
        print("resident memory: %d kB at 1 min, %d kB at the end, slope %.2f kB/min after 1 min"
              % (settled[0][1] if settled else 0, samples[-1][1], slope))
        code = game.leave()
        print("exit code %d" % code)
        return 0 if code == 0 and abs(slope) <= FLAT_KB_PER_MINUTE else 1
    finally:
        game.stop()
        display.close()


if __name__ == "__main__":
    sys.exit(main())
