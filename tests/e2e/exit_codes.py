#!/usr/bin/env python3
"""The real game's exit codes and one-line refusals: what a start that cannot work says
before its first frame, a recording never left damaged, a replay that is interrupted.

Usage: exit_codes.py BINARY DATA_DIR REPLAYS_DIR   (needs DISPLAY)
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from gamedriver import check


def run(binary, data_dir, args, display=True):
    env = dict(os.environ, LP_NUM_THREADS="0")
    if not display:
        env.pop("DISPLAY", None)
    return subprocess.run([binary] + args, cwd=data_dir, env=env, capture_output=True, text=True,
                          timeout=300)


def main():
    binary, data_dir, replays = (os.path.abspath(a) for a in sys.argv[1:4])
    scratch = tempfile.mkdtemp(prefix="tolvek-exit-")
    try:
        walk, copy = os.path.join(replays, "walk.demo"), os.path.join(scratch, "walk.demo")
        shutil.copy(walk, copy)
        cases = [  # args, with a display, exit code, what it says (stdout and stderr)
            (["--replay", walk, "--fast", "--shots", "/nonexistent/dir"], True, 1,
             r"^tolvek: /nonexistent/dir: cannot write pictures there: No such file or directory\n$"),
            (["--record", "--window"], True, 2, r"^tolvek: option '--record' needs a file\n"),
            (["--record", "/dev/full"], True, 1, r"^tolvek: /dev/full: cannot write: No space left"),
            ([], False, 1, r"tolvek: no display to show the game on"),
            (["--replay", walk, "--fast"], False, 0, r"^764 frames in "),
            (["--replay", copy, "--record", copy], False, 1, r"tolvek: no display"),
        ]
        for args, display, code, says in cases:
            done = run(binary, data_dir, args, display)
            text = done.stdout + "".join(line + "\n" for line in done.stderr.splitlines()
                                         if "XDG_RUNTIME_DIR" not in line)  # a library's own
            check(done.returncode == code and re.search(says, text),
                  "%s: exit %d, said %r" % (" ".join(args), done.returncode, text))
        check(open(copy, "rb").read() == open(walk, "rb").read() and
              not os.path.exists(copy + ".part"), "a start that failed touched the recording")

        for sig in (signal.SIGINT, signal.SIGTERM):
            game = subprocess.Popen([binary, "--replay", os.path.join(replays, "hits.demo")],
                                    cwd=data_dir, stderr=subprocess.PIPE, text=True,
                                    env=dict(os.environ, LP_NUM_THREADS="0"))
            deadline = time.time() + 60
            # Its own window: other tests' games may share the display.
            own = ["xdotool", "search", "--all", "--pid", str(game.pid), "--name", "VELM Tolvek"]
            while not subprocess.run(own, capture_output=True).stdout:
                check(time.time() < deadline and game.poll() is None, "no replay window")
                time.sleep(0.05)
            game.send_signal(sig)
            err = game.communicate(timeout=60)[1]
            check(game.returncode == 4 and "interrupted at frame" in err,
                  "replay ended by %s: exit %d, said %r" % (sig.name, game.returncode, err))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print("exit codes: all as documented")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except AssertionError as failure:
        print("FAIL", failure)
        sys.exit(1)
