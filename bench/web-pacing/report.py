"""The browser's first frame and level frame periods beside the desktop's (bench/frame-timing's
report), as ratios browser / desktop."""
import json
import re
import sys

stamps, level = json.load(open(sys.argv[1]))
desktop = open(sys.argv[2]).read()
target = 1000.0 / 60.0
periods = [b - a for a, b in zip(stamps[level:], stamps[level + 1:])]
deviations = sorted(abs(p - target) for p in periods)
web = {
    "first frame, ms": stamps[0],
    "mean period, ms": sum(periods) / len(periods),
    "p50 deviation, ms": deviations[len(deviations) // 2],
    "p99 deviation, ms": deviations[len(deviations) * 99 // 100],
    "frames over 25 ms": sum(1 for p in periods if p > 25),
}
found = {
    "first frame, ms": r"first frame ([\d.]+) ms",
    "mean period, ms": r"mean period ([\d.]+) ms",
    "p50 deviation, ms": r"p50 ([\d.]+) ms",
    "p99 deviation, ms": r"p99 ([\d.]+) ms",
    "frames over 25 ms": r"frames over 25 ms: (\d+)",
}
print(desktop, end="")
print("%-20s %10s %10s %8s" % ("", "browser", "desktop", "ratio"))
for name, pattern in found.items():
    there = float(re.search(pattern, desktop).group(1))
    ratio = "%.2f" % (web[name] / there) if there else "-"
    print("%-20s %10.3f %10.3f %8s" % (name, web[name], there, ratio))
