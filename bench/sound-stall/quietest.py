"""The stalls of a run of bench/sound-stall/run and the quietest 10 ms
windows of the level's music in what the device wrote."""
import struct
import sys

work = sys.argv[1]
stamp = lambda name: int(open(f"{work}/{name}").read())
start, level, end = stamp("exec"), stamp("level"), stamp("end")
frames = [list(map(int, l.split())) for l in open(f"{work}/frames").read().split("\n")[1:] if l]
stalls = [(f[1] - start) / 1e9 for f in frames if f[1] >= level and f[2] - f[1] > 150e6]
print("swaps over 150 ms in the level: %d, at %s s" % (len(stalls), " ".join("%.1f" % s for s in stalls)))

data = open(f"{work}/heard.wav", "rb").read()
rate, = struct.unpack_from("<I", data, data.index(b"fmt ") + 12)
body = data[data.index(b"data") + 8:]
samples = struct.unpack("<%df" % (len(body) // 4), body[: len(body) // 8 * 8])
# The wave device starts with the game; the second after the level begins
# and before it ends are left out (the menu music's hand-over, the exit).
window = rate // 100
first, last = int((level - start) / 1e9 + 1) * 100, int((end - start) / 1e9 - 1) * 100
rms = []
for w in range(first, min(last, len(samples) // 2 // window)):
    chunk = samples[w * window * 2 : (w + 1) * window * 2]
    rms.append(((sum(x * x for x in chunk) / len(chunk)) ** 0.5, w / 100.0))
print("level music: %.1f s heard at %d Hz, mean RMS %.4f"
      % (len(rms) / 100.0, rate, sum(r for r, _ in rms) / len(rms)))
print("silent 10 ms windows (RMS < 0.001): %d" % sum(1 for r, _ in rms if r < 0.001))
print("quietest 10 ms windows (RMS at s):")
for r, t in sorted(rms)[:10]:
    print("  %.4f at %.2f" % (r, t))
# The device opens a moment after exec, so its time runs a little behind.
quiet = lambda t: min(r for r, at in rms if t - 0.5 <= at < t + 1.0)
print("quietest 10 ms around each stall: " + " ".join("%.4f" % quiet(s) for s in stalls))
