#!/usr/bin/env python3
"""Runs the real game on broken copies of its content, each under a private
X server. A broken file must either leave the game playable (driven a few
seconds with keys, then ended through the credits with exit code 0 and
nothing on standard error) or end it with exit code 1 and exactly one line
on standard error naming the file. A signal, a sanitizer report or a hang
fails the case.

Usage: broken_content.py BINARY DATA_DIR [--jobs N] [CASE_SUBSTRING ...]
"""
import argparse
import os
import queue
import re
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

from PIL import Image

from gamedriver import (Content, Display, Game, LevelFile, Menu, SpotWatch,
                        file_lines, rms)

HERO, LEVEL, MENU = "Levels/Heros.ini", "Levels/Niveau1.ini", "Levels/Menu.ini"
LAYOUTS, LAYOUT, VIEWPORT = "Levels/Layouts.ini", "Levels/Layout1.ini", "Levels/Viewport.xml"
LONG = "x" * 200
# A broken image is reported by the PNG library itself; the game goes on.
LIBRARY_LINE = re.compile(r"libpng (error|warning): ")
SANITIZER = re.compile("Sanitizer|runtime error:|SUMMARY:")


def one_spot_under_the_hero(c):
    """Keeps the first hazard spot only and starts the hero on it, so waves hit him."""
    def change(lines):
        first = next(i for i, line in enumerate(lines) if line.startswith("Hazards"))
        lines[first] = "Hazards count:1"
        del lines[first + 1 + LevelFile.SPOT_LINES:first + 1 + LevelFile.SPOT_LINES * 9]
    c.edit(LEVEL, change)
    c.replace(HERO, "x:40 y:100", "x:200 y:100")


def pools(*counts):
    """The hero's four sound pools given these counts, their sounds left as they are."""
    def change(lines):
        for i, count in zip(range(len(lines) - 4, len(lines)), counts):
            lines[i] = "%s count:%d" % (lines[i].split(" count:", 1)[0], count)
    return lambda c: c.edit(HERO, change)


def waves(count):
    def change(lines):
        lines[next(i for i, line in enumerate(lines) if line.startswith("Waves"))] = count
    return lambda c: c.edit(LEVEL, change)


def no_platforms(c):
    def change(lines):
        platforms = lines.index("count:8")
        lines[platforms:platforms + 9] = ["count:-3"]
    c.edit(LEVEL, change)


def palettes(c):
    for name in ("menu-title", "menu-play-on", "menu-credits-off", "hero-stand", "hero-walk",
                 "level1-background", "mural-sun"):
        rel = "Images/%s.png" % name
        image = Image.open(c.path(rel)).convert("RGBA")
        os.unlink(c.path(rel))
        image.convert("P", palette=Image.ADAPTIVE, colors=255).save(c.path(rel))


def explore(game, seconds=4.0):
    game.key("Return")
    time.sleep(2.5)  # menu delay and the hand-over
    start = time.time()
    game.hold("Right", 0.8)
    game.key("Control_L")
    time.sleep(0.6)
    game.hold("space", 1.0)
    game.hold("Left", 0.6)
    game.key("Control_L")
    time.sleep(max(0.0, seconds - (time.time() - start)))


def stand_and_wait(game):
    """Stays in place until a wave strikes (they come at most 6 s apart)."""
    watch = SpotWatch(LevelFile(game.data_dir), game.enter_level()[0])
    game.wait_for(lambda shot: any(watch.phases(shot)), 9, "a wave")
    game.key("Control_L")
    game.hold("space", 1.0)


def menu_as_its_file_says(game):
    menu = Menu(game.data_dir).render(0)
    game.wait_for(lambda shot: rms(shot, menu) < 6, 10, "the menu as its file says")
    explore(game, 1.0)


ONLY_FIRST_LAYOUT = ("write", LAYOUTS, "Target layouts count:1 %s\n" % LAYOUT)
GONE = [("remove", "Images/%s.png" % name) for name in (
    "hero-walk", "hero-air", "platform", "steam", "warn-water", "tag-tolvek", "mural-sun",
    "menu-play-on", "level1-background", "credits")]

# (name, the file the game must name as it refuses (a path, or a pattern of
#  paths), or None when it plays on,
#  edits: (Content method, arguments...) or a function of the content, how to play)
CASES = [("missing " + rel, rel, [("remove", rel)]) for rel in (VIEWPORT, MENU, HERO, LEVEL,
                                                                LAYOUTS)] + [
    ("missing every layout", re.compile(r"Levels/Layout\d\.ini"),
     [("remove", "Levels/Layout%d.ini" % n) for n in (1, 2, 3)]),
    ("viewport not XML", VIEWPORT, [("write", VIEWPORT, "width 1024 height 768\n")]),
    ("viewport width 0", VIEWPORT, [("replace", VIEWPORT, 'width="1024"', 'width="0"')]),
    ("viewport without a height", VIEWPORT, [("replace", VIEWPORT, ' height="768"', "")]),
    ("huge platform count", LEVEL, [("replace", LEVEL, "count:8", "count:2000000000")]),
    ("huge hazard count", LEVEL,
     [("replace", LEVEL, "Hazards count:9", "Hazards count:2147483647")]),
    ("huge frame count", HERO, [("replace", HERO, "frames:8 8", "frames:2000000000 8")]),
    ("huge sound pool", HERO, [("replace", HERO, "Landing count:1", "Landing count:99999999999")]),
    ("huge layout list", LAYOUTS, [("replace", LAYOUTS, "count:3", "count:1000000000")]),
    ("huge target count", LAYOUT, [ONLY_FIRST_LAYOUT,
                                   ("replace", LAYOUT, "count:5", "count:500000000")]),
    ("labels without a colon", None, [
        ("replace", MENU, "x:352 y:330", "x352 y:330"), ("replace", HERO, "step:3", "step3"),
        ("replace", LEVEL, "x:40 y:180", "x40 y180"),
        ("replace", LEVEL, "Targets dx:24", "Targets dx24")]),
    ("negative counts", None,
     [no_platforms, waves("Waves count:-2"), pools(-1, -5, -1, -2147483648)]),
    ("200-character tokens", None, [
        ("replace", MENU, "x:352 y:330", LONG + ":352 y:330"),
        ("replace", HERO, "Sounds/jump-a.ogg", "Sounds/" + LONG + ".ogg"),
        ("replace", LEVEL, "Images/platform.png", "Images/" + LONG + ".png"),
        ("replace", LEVEL, "warning x:212", "warning " + LONG + ":212")], menu_as_its_file_says),
    ("missing images", None, GONE),
    ("missing sounds", None, [("remove", "Sounds"), ("remove", "Sound")]),
    ("images that are not PNG", None, [
        ("write", "Images/level1-background.png", "this is not a picture\n"),
        ("write", "Images/hero-stand.png", bytes(range(256)) * 8),
        ("write", "Images/platform.png", b""),
        ("write", "Images/menu-title.png", b"\x89PNG\r\n\x1a\n" + b"\0" * 20)]),  # header only
    ("palette PNGs", None, [palettes], menu_as_its_file_says),
    ("empty layout list", None, [("write", LAYOUTS, "Target layouts count:0\n")]),
    ("layout with no targets", None, [ONLY_FIRST_LAYOUT, ("write", LAYOUT, "Targets count:0\n")]),
    ("fewer hazard spots than a wave", None, [one_spot_under_the_hero], stand_and_wait),
    ("no wave sounds", None, [waves("Waves count:0")], stand_and_wait),
    ("empty sound pools", None, [one_spot_under_the_hero, pools(0, 0, 0, 0)], stand_and_wait),
]


def cut_cases(data_dir, rel, *prepare):
    """The file cut before every line, and inside every line of several tokens."""
    lines = file_lines(os.path.join(data_dir, rel))
    for k, line in enumerate(lines):
        kept, tokens = "".join(lines[:k]), line.split()
        yield ("cut %s at line %d" % (rel, k + 1), rel, list(prepare) + [("write", rel, kept)])
        if len(tokens) >= 2:
            yield ("cut %s at line %d (mid-line)" % (rel, k + 1), rel,
                   list(prepare) + [("write", rel, kept + " ".join(tokens[:len(tokens) // 2]))])


def all_cases(data_dir):
    cuts = [case for rel in (VIEWPORT, MENU, HERO, LEVEL, LAYOUTS)
            for case in cut_cases(data_dir, rel)]
    return CASES + cuts + list(cut_cases(data_dir, LAYOUT, ONLY_FIRST_LAYOUT))


def run_case(case, binary, data_dir, display):
    name, refuses, edits, play = (case + (explore,))[:4]
    content = Content(data_dir)
    try:
        for edit in edits:
            edit(content) if callable(edit) else getattr(content, edit[0])(*edit[1:])
        game = Game(binary, content.dir, display)
        try:
            return judge(game, refuses, play)
        finally:
            game.stop()
    finally:
        content.close()


def judge(game, refuses, play):
    if refuses:
        code = game.exit_code(timeout=30)
        err = game.stderr_text()
        lines = err.splitlines()
        if code < 0 or SANITIZER.search(err):
            raise AssertionError("exit %d (signal or sanitizer report): %r"
                                 % (code, err[-3000:]))
        path = refuses.pattern if isinstance(refuses, re.Pattern) else re.escape(refuses)
        named = len(lines) == 1 and re.match(r"tolvek: (\./)?%s: " % path, lines[0])
        if code != 1 or not named:
            raise AssertionError("expected exit 1 and one line naming the file; got exit %d, "
                                 "stderr %r" % (code, err[-2000:]))
        return lines[0]
    if game.wait_window(timeout=30) is not None:
        play(game)
    if game.proc.poll() is not None:
        game.exit_code()
        raise AssertionError("ended early: exit %d, %r" % (game.proc.returncode,
                                                           game.stderr_text()[-2000:]))
    game.key("Escape")  # to the credits, and any key there
    time.sleep(1.0)
    game.key("a")
    code, err = game.exit_code(timeout=20), game.stderr_text()
    if code != 0 or any(not LIBRARY_LINE.match(line) for line in err.splitlines()):
        raise AssertionError("expected a clean end; got exit %d, stderr %r" % (code, err[-3000:]))
    return "played and left cleanly"


def main():
    options = argparse.ArgumentParser()
    options.add_argument("binary", type=os.path.abspath)
    options.add_argument("data_dir", type=os.path.abspath)
    options.add_argument("--jobs", type=int, default=2)
    options.add_argument("only", nargs="*", help="run the cases whose names hold one of these")
    args = options.parse_intermixed_args()
    binary, data_dir = args.binary, args.data_dir
    cases = [c for c in all_cases(data_dir) if not args.only or any(a in c[0] for a in args.only)]
    displays = queue.Queue()
    opened = [Display() for _ in range(min(args.jobs, len(cases)))]
    for display in opened:
        displays.put(display)

    def attempt(case):
        display, started = displays.get(), time.time()
        try:
            return case, True, run_case(case, binary, data_dir, display), time.time() - started
        except (AssertionError, subprocess.CalledProcessError) as error:
            return case, False, str(error), time.time() - started
        finally:
            displays.put(display)

    failed = 0
    try:
        with ThreadPoolExecutor(max_workers=len(opened)) as pool:
            for case, passed, detail, seconds in pool.map(attempt, cases):
                failed += not passed
                print("%s %s (%.1f s): %s" % ("PASS" if passed else "FAIL", case[0], seconds,
                                             detail), flush=True)
    finally:
        for display in opened:
            display.close()
    print("%d of %d broken-content cases passed" % (len(cases) - failed, len(cases)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
