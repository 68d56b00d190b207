#!/usr/bin/env python3
"""The browser build in headless Chromium (browse.mjs drives it).

replay PLAY.demo: the committed play replays to its end with every checkpoint matched, and the
    pictures kept beside it show again, as on the desktop (replay.py's measure).
live: a play with keys, recorded in the browser: the menu shows, Return starts the level, Right
    walks the hero, the sound's buffers are played through, Escape and a key end the game; the
    recording then replays on the desktop to its end. (Headless Chromium lets sound play before
    any key, whatever its autoplay policy says, so the wait for a key is not shown here.)

keeps, pad: below.

Usage: web_tests.py PAGE_DIR DESKTOP_BINARY DATA_DIR replay PLAY.demo | live | keeps | pad
"""
import glob
import json
import os
import re
import subprocess
import sys
import tempfile

import numpy
from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from replay import MOST_BLOCK_DIFFERENCE, blocks  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPLAYS = os.path.join(HERE, "..", "replays")
ENDED = "Module.exitCode !== null"


def browse(page, out, query, steps):
    run = subprocess.run(["node", "--single-threaded", os.path.join(HERE, "browse.mjs"), page, REPLAYS, out, query,
                          json.dumps(steps)], capture_output=True, text=True, timeout=900)
    lines = open(os.path.join(out, "lines.txt")).read()
    print(lines + run.stdout + run.stderr, end="")
    return run.returncode, lines


def kept(out, name):
    return json.load(open(os.path.join(out, name)))


def differs(shot, picture):
    seen = numpy.asarray(blocks(shot), dtype=int)
    want = numpy.asarray(Image.open(picture).convert("RGB"), dtype=int)
    return numpy.abs(seen - want).max() if seen.shape == want.shape else 999


def replay(page, out, demo):
    name = os.path.basename(demo)
    pictures = sorted(glob.glob(demo[:-len(".demo")] + "-frame-*.png"))
    frames = [re.search(r"-(frame-\d+)\.png$", p).group(1) for p in pictures]
    steps = [{"until": ENDED, "limit": 600}, {"keep": "Module.exitCode", "as": "code"}]
    steps += [{"save": "/shots/%s.bmp" % f, "as": f + ".bmp"} for f in frames]
    code, lines = browse(page, out, "?replay=replays/%s&fast&shots" % name, steps)
    failed = code != 0 or kept(out, "code") != 0 or "tolvek:" in lines
    for frame, picture in zip(frames, pictures):
        difference = differs(os.path.join(out, frame + ".bmp"), picture)
        print("%s: largest block difference %d" % (os.path.basename(picture), difference))
        failed |= difference > MOST_BLOCK_DIFFERENCE
    return failed


def after(frames):
    """A wait for that many more frames of the game, counted from the step before it."""
    return [{"run": "window.mark = Module.framesPlayed()"},
            {"until": "Module.framesPlayed() - window.mark >= %d" % frames}]


def live(page, out, binary, data):
    sound = "Module.soundState()"
    steps = [{"until": "Module.framesPlayed() > 30"}, {"shot": "menu"}, {"press": "Enter"}] + after(120) + [{"down": "ArrowRight"}] + after(90) + [
        {"up": "ArrowRight"}, {"shot": "level"},
        {"until": sound + ".state == 'running' && " + sound + ".buffersPlayed > 4"},
        {"press": "Escape"}] + after(30) + [
        {"press": "Space"}, {"until": ENDED}, {"keep": "Module.exitCode", "as": "code"},
        {"save": "/recordings/play.demo", "as": "play.demo"}]
    code, lines = browse(page, out, "?record", steps)
    if code != 0:
        return True
    menu = numpy.asarray(blocks(os.path.join(out, "menu.png")), dtype=int)
    print("exit %d, brightest menu block %d" % (kept(out, "code"), menu.max()))
    failed = kept(out, "code") != 0 or menu.max() < 64  # something is drawn
    play = open(os.path.join(out, "play.demo"), "rb").read()
    heroes = [int(x) for x in re.findall(rb"hero=(-?\d+),", play)]
    print("hero x at the checkpoints:", heroes)
    failed |= not heroes or max(heroes) <= heroes[0] + 20
    desktop = subprocess.run([os.path.abspath(binary), "--replay", os.path.join(out, "play.demo"), "--fast"],
                             cwd=data, capture_output=True, text=True, timeout=300,
                             env=dict(os.environ, XDG_CONFIG_HOME=out))
    print("desktop replay of the browser's play: exit %d %s" % (desktop.returncode,
                                                              desktop.stderr.strip()))
    return failed or desktop.returncode != 0


SETTINGS = "/home/web_user/.config/tolvek/settings.ini"
# A standard-mapping pad whose buttons the steps press: window.pad.buttons[N].pressed.
PAD = """window.pad = {id: 'test pad', index: 0, connected: true, mapping: 'standard',
  timestamp: 0, axes: [0, 0, 0, 0],
  buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
navigator.getGamepads = () => [window.pad];"""


def press(button, down):
    return {"run": "window.pad.buttons[%d].pressed = %s" % (button, str(down).lower())}


def keeps(page, out):
    """Settings kept in the browser's storage come back after a reload, a key captured there
    is kept by the desktop's name and place (z, X key code 52); F11 asks for full screen and
    a second F11 leaves it."""
    text = "Module.FS.readFile('%s', {encoding: 'utf8'})" % SETTINGS
    steps = [{"until": "Module.framesPlayed() > 30"}, {"press": "o"}, {"press": "ArrowLeft"},
             {"until": "Module.settingsKept > 0"}] + [{"press": "ArrowDown"}] * 5 + [
        {"press": "Enter"}, {"press": "z"}, {"until": "Module.settingsKept > 1"},
        {"press": "Escape"}, {"reload": True},
             {"until": "Module.framesPlayed() > 30"}, {"keep": text, "as": "settings"},
             {"press": "F11"}, {"until": "document.fullscreenElement !== null"},
             {"press": "F11"}, {"until": "document.fullscreenElement === null"}]
    code, _ = browse(page, out, "", steps)
    return code != 0 or not {"music_volume = 9", "jump_key = z@52"} <= set(
        kept(out, "settings").split("\n"))


def pad(page, out):
    """The browser's pad: A starts the level, the D-pad's right walks, Back leaves it."""
    steps = [{"init": PAD}, {"until": "Module.framesPlayed() > 30"}, press(0, True)] + after(
        5) + [press(0, False)] + after(120) + [press(15, True)] + after(90) + [
        press(15, False), press(8, True)] + after(5) + [press(8, False)] + after(30) + [
        {"press": "Space"}, {"until": ENDED}, {"save": "/recordings/play.demo", "as": "play.demo"}]
    code, _ = browse(page, out, "?record", steps)
    heroes = [int(x) for x in re.findall(rb"hero=(-?\d+),", open(os.path.join(out, "play.demo"),
                                                                "rb").read())] if code == 0 else []
    print("hero x at the checkpoints:", heroes)
    return not heroes or max(heroes) <= heroes[0] + 20


def main(page, binary, data, scenario, demo=None):
    if not os.path.exists(os.path.join(page, "tolvek.wasm")):
        print("no browser build in %s (scripts/build-web)" % page)
        return 1
    with tempfile.TemporaryDirectory(prefix="tolvek-web-") as out:
        failed = {"replay": lambda: replay(page, out, demo),
                  "live": lambda: live(page, out, binary, data),
                  "keeps": lambda: keeps(page, out), "pad": lambda: pad(page, out)}[scenario]()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
