"""Frame period figures from the swap stamps written by swap_hook.c."""
import sys

exec_ns = int(open(sys.argv[1]).read())
level_ns = int(open(sys.argv[2]).read())
stamps = [int(line) for line in open(sys.argv[3])]
frames = stamps[1:]
target = 1000.0 / 60.0
print("first frame %.1f ms after exec" % ((frames[0] - exec_ns) / 1e6))
level = [t for t in frames if t >= level_ns]
periods = [(b - a) / 1e6 for a, b in zip(level, level[1:])]
deviation = sorted(abs(p - target) for p in periods)
mean = sum(periods) / len(periods)
print("level frames %d, mean period %.4f ms (%.3f %% from %.4f)"
      % (len(periods), mean, 100 * (mean - target) / target, target))
print("deviation from 16.667 ms: p50 %.3f ms, p99 %.3f ms, max %.3f ms"
      % (deviation[len(deviation) // 2], deviation[len(deviation) * 99 // 100], deviation[-1]))
print("frames over 25 ms: %d" % sum(1 for p in periods if p > 25))
