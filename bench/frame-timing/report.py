"""Frame period figures from the stamps written by swap_hook.c, and where
each frame's time went."""
import sys

exec_ns = int(open(sys.argv[1]).read())
level_ns = int(open(sys.argv[2]).read())
lines = open(sys.argv[3]).read().split("\n")
frames = [list(map(int, line.split())) for line in lines[1:] if line.strip()]
CLEAR, SWAP_START, SWAP_END, DELAY_START, DELAY_END, ASKED = range(6)
target = 1000.0 / 60.0


def ms(a, b):
    return (b - a) / 1e6


def percentiles(values):
    s = sorted(values)
    return s[len(s) // 2], s[len(s) * 99 // 100], s[-1]


print("first frame %.1f ms after exec" % (ms(exec_ns, frames[0][SWAP_END])))
level = [f for f in frames if f[SWAP_END] >= level_ns]
periods = [ms(a[SWAP_END], b[SWAP_END]) for a, b in zip(level, level[1:])]
mean = sum(periods) / len(periods)
print("level frames %d, mean period %.4f ms (%.3f %% from %.4f)"
      % (len(periods), mean, 100 * (mean - target) / target, target))
print("deviation from 16.667 ms: p50 %.3f ms, p99 %.3f ms, max %.3f ms"
      % percentiles([abs(p - target) for p in periods]))
print("frames over 25 ms: %d" % sum(1 for p in periods if p > 25))

# A frame's period is its budget plus the change in the time its swap took
# and in the wait's error, so these tell which part jitters.
waited = [f for f in level if f[DELAY_START]]
parts = [
    ("clear to swap (the update: drawing submitted)", [ms(f[CLEAR], f[SWAP_START]) for f in level]),
    ("inside the swap (rasterising and presenting)", [ms(f[SWAP_START], f[SWAP_END]) for f in level]),
    ("swap to wait (sound update)", [ms(f[SWAP_END], f[DELAY_START]) for f in waited]),
    ("wait longer than asked", [ms(f[DELAY_START], f[DELAY_END]) - f[ASKED] for f in waited]),
]
print("where the time went, ms (p50 / p99 / max):")
for name, values in parts:
    if values:
        print("  %-50s %6.3f / %6.3f / %6.3f" % ((name,) + percentiles(values)))
