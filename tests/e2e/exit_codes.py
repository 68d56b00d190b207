#!/usr/bin/env python3
"""The real game's exit codes and one-line refusals: a start that cannot work says so before
its first frame and leaves the recording it would replace whole; an interrupted replay fails.

Usage: exit_codes.py BINARY DATA_DIR REPLAYS_DIR   (needs DISPLAY)
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

from gamedriver import Display, check, poll

ENV = dict(os.environ, LP_NUM_THREADS="0")


def main():
    binary, data_dir, replays = (os.path.abspath(a) for a in sys.argv[1:4])
    walk, copy = os.path.join(replays, "walk.demo"), tempfile.mkdtemp() + "/walk.demo"
    shutil.copy(walk, copy)
    no_gl, shown, none = Display(glx=False), ENV["DISPLAY"], None
    for args, display, code, says in [  # on which display, exit code, what it says
            (["--replay", walk, "--fast", "--shots", "/nonexistent/dir"], shown, 1,
             r"^tolvek: /nonexistent/dir: cannot write pictures there: No such file"),
            (["--record", "--window"], shown, 2, r"^tolvek: option '--record' needs a file\n"),
            (["--record", "/dev/full"], shown, 1, r"^tolvek: /dev/full: cannot write: No space"),
            ([], none, 1, r"(?m)^tolvek: no display to show the game on"),
            (["--replay", walk, "--fast"], none, 0, r"^764 frames in "),
            (["--replay", copy, "--record", copy], none, 1, r"(?m)^tolvek: no display"),
            (["--replay", copy, "--record", copy], no_gl.name, 1,
             r"\Atolvek: cannot open an OpenGL window: \S[^\n]*\n\Z")]:
        env = {k: v for k, v in dict(ENV, DISPLAY=display).items() if v is not None}
        done = subprocess.run([binary] + args, cwd=data_dir, env=env, capture_output=True,
                              text=True, timeout=300)
        check(done.returncode == code and re.search(says, done.stdout + done.stderr),
              "%s: exit %d, said %r" % (args, done.returncode, done.stdout + done.stderr))
    check(open(copy, "rb").read() == open(walk, "rb").read() and
          os.listdir(os.path.dirname(copy)) == ["walk.demo"], "a failed start touched the play")
    shutil.rmtree(os.path.dirname(copy))
    no_gl.close()

    for sig in (signal.SIGINT, signal.SIGTERM):
        game = subprocess.Popen([binary, "--replay", os.path.join(replays, "hits.demo")],
                                cwd=data_dir, env=ENV, stderr=subprocess.PIPE, text=True)
        # Its own window: other tests' games may share the display.
        own = ["xdotool", "search", "--all", "--pid", str(game.pid), "--name", "VELM Tolvek"]
        poll(lambda: subprocess.run(own, capture_output=True).stdout, 60, "no replay window",
             proc=game)
        game.send_signal(sig)
        err = game.communicate(timeout=60)[1]
        check(game.returncode == 4 and "interrupted at frame" in err,
              "replay ended by %s: exit %d, said %r" % (sig.name, game.returncode, err))
    print("exit codes: as documented")


if __name__ == "__main__":
    try:
        main()
    except AssertionError as failure:
        sys.exit("FAIL %s" % failure)
