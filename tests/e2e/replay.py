#!/usr/bin/env python3
"""A committed play replayed by the real game, as fast as it goes: every checkpoint must match,
and the pictures kept beside it must show again. --spoilt: a checkpoint changed diverges (exit 3)
once its block's check is made anew; without that the file is damaged (exit 1).

Usage: replay.py BINARY DATA_DIR PLAY.demo [--spoilt]
"""
import glob
import os
import subprocess
import sys
import struct
import tempfile
import zlib

import numpy
from PIL import Image

# 4x4-pixel block averages: another driver's rounding moves a block a few levels, a sprite moved
# changes whole blocks. On a level frame: noise of +-3, 3; 80x140 px moved by one, 42; 1 s on, 160.
SCALE, MOST_BLOCK_DIFFERENCE = 4, 24


def blocks(path):
    image = Image.open(path).convert("RGB")
    return image.resize((image.width // SCALE, image.height // SCALE), Image.BOX)


# A player's own settings, other keys than any play's: a replay neither reads nor writes them.
OWN = "format = 1\nleft_key = a\nright_key = d\njump_key = w\nspray_key = left ctrl\n"


def replay(binary, data_dir, demo, shots):
    own = os.path.join(shots, "tolvek", "settings.ini")
    os.makedirs(os.path.dirname(own), exist_ok=True)
    open(own, "w").write(OWN)
    run = subprocess.run([binary, "--replay", demo, "--fast", "--shots", shots], cwd=data_dir,
                         capture_output=True, text=True, timeout=300,
                         env=dict(os.environ, XDG_CONFIG_HOME=shots))
    print(run.stdout + run.stderr, end="")
    if open(own).read() != OWN:
        run.returncode = 5
        print("the player's settings changed")
    return run


def spoilt(demo, path, recheck):
    """The play with its first checkpoint's lives changed; the block it is in."""
    data = bytearray(open(demo, "rb").read())
    at, start = data.index(b"lives=3"), data.index(b"\n\n") + 2
    data[at + 6] = ord("2")
    while start + 5 + struct.unpack_from("<I", data, start + 1)[0] < at:
        start += 9 + struct.unpack_from("<I", data, start + 1)[0]
    end = start + 5 + struct.unpack_from("<I", data, start + 1)[0]
    if recheck:
        struct.pack_into("<I", data, end, zlib.crc32(data[start:end]))
    open(path, "wb").write(data)
    return start


def main(binary, data_dir, demo, mode=None):
    with tempfile.TemporaryDirectory(prefix="tolvek-replay-") as shots:
        if mode == "--spoilt":
            path, failed = os.path.join(shots, "play.demo"), 0
            for recheck, code, said in (
                    (True, 3, 'replay diverges at frame 60: lives "2" vs "3"'),
                    (False, 1, "damaged: the block at byte %d fails its check")):
                start = spoilt(demo, path, recheck)
                run = replay(binary, data_dir, path, shots)
                expected = "tolvek: %s: %s\n" % (path, said.replace("%d", str(start)))
                failed |= run.returncode != code or run.stderr != expected
            return 1 if failed else 0
        run, pictures = replay(binary, data_dir, demo, shots), demo[:-len(".demo")]
        failed = run.returncode != 0 or run.stderr != ""
        kept = glob.glob(pictures + "-frame-*.png")
        assert kept, "no picture is kept beside " + demo
        for picture in kept:
            shot = os.path.join(shots, picture[len(pictures) + 1:-4] + ".bmp")
            seen = blocks(shot) if os.path.exists(shot) else [[[999] * 3]]  # none: unlike all
            difference = numpy.abs(numpy.asarray(seen, dtype=int) - numpy.asarray(
                Image.open(picture).convert("RGB"), dtype=int)).max()
            print("%s: largest block difference %d" % (os.path.basename(picture), difference))
            failed |= difference > MOST_BLOCK_DIFFERENCE
        return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
