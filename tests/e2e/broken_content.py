#!/usr/bin/env python3
"""Runs the real game on broken copies of its content, each under a private
X server. A broken file must either leave the game playable (driven a few
seconds with keys, then ended through the credits with exit code 0 and
nothing on standard error) or end it with exit code 1 and exactly one line
on standard error naming the file. A signal, a sanitizer report or a hang
fails the case.

Usage: broken_content.py BINARY DATA_DIR [--jobs N] [CASE_SUBSTRING ...]
"""
import os
import queue
import re
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

from PIL import Image

from gamedriver import (SANITIZER_MARKS, Content, Display, Game, LevelFile, Menu, SpotWatch,
                        file_lines, rms)

HERO = "Levels/Heros.ini"
LEVEL = "Levels/Niveau1.ini"
MENU = "Levels/Menu.ini"
LAYOUTS = "Levels/Layouts.ini"
LAYOUT = "Levels/Layout1.ini"
VIEWPORT = "Levels/Viewport.xml"
LONG = "x" * 200
SPOT_LINES = 9  # picture, x, y, heading, picture, x, y, heading, outline
# A broken image is reported by the PNG library itself; the game goes on.
LIBRARY_LINE = re.compile(r"libpng (error|warning): ")


# Edits shared by several cases.

def one_hazard_spot_under_the_hero(content):
    """Keeps the first spot only and starts the hero on it, so waves hit him."""
    def change(lines):
        first = lines.index(next(l for l in lines if l.startswith("Hazards")))
        lines[first] = "Hazards count:1"
        del lines[first + 1 + SPOT_LINES:first + 1 + SPOT_LINES * 9]
    content.edit(LEVEL, change)
    content.replace(HERO, "x:40 y:100", "x:200 y:100")


def waves_line(lines):
    return next(i for i, line in enumerate(lines) if line.startswith("Waves"))


def pools(content, counts):
    def change(lines):
        for i, count in zip(range(len(lines) - 4, len(lines)), counts):
            heading, rest = lines[i].split(" count:", 1)
            lines[i] = "%s count:%d" % (heading, count)
    content.edit(HERO, change)


def only_first_layout(content):
    content.write(LAYOUTS, "Target layouts count:1 %s\n" % LAYOUT)


def palette_png(content, rel):
    image = Image.open(content.path(rel)).convert("RGBA")
    os.unlink(content.path(rel))
    image.convert("P", palette=Image.ADAPTIVE, colors=255).save(content.path(rel))


# Ways to play a case that is expected to run.

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
    background = LevelFile(game.data_dir).render()
    game.key("Return")
    first, _ = game.wait_for(lambda shot: rms(shot, background) < 40, 10, "the level")
    watch = SpotWatch(LevelFile(game.data_dir), first)
    game.wait_for(lambda shot: any(watch.phases(shot)), 9, "a wave")
    game.key("Control_L")
    game.hold("space", 1.0)


def menu_drawn_as_its_file_says(game):
    """The menu on screen matches the pictures where the menu file puts them."""
    menu = Menu(game.data_dir)
    game.wait_for(lambda shot: rms(shot, menu.render(0)) < 6, 10, "the menu as its file says")
    explore(game, 1.0)


class Case:
    def __init__(self, name, edit, refuses=None, play=explore):
        self.name, self.edit, self.refuses, self.play = name, edit, refuses, play


def cut_cases(data_dir, rel, prepare=None):
    """The file cut before every line, and inside every line of several tokens."""
    lines = file_lines(os.path.join(data_dir, rel))
    cases = []
    for k, line in enumerate(lines):
        kept = "".join(lines[:k])
        cases.append((rel, k, "", kept))
        tokens = line.split()
        if len(tokens) >= 2:
            cases.append((rel, k, "mid", kept + " ".join(tokens[:len(tokens) // 2])))

    def make(k, where, text):
        def edit(content):
            if prepare:
                prepare(content)
            content.write(rel, text)
        label = "cut %s at line %d%s" % (rel, k + 1, " (mid-line)" if where else "")
        return Case(label, edit, refuses=re.escape(rel))

    return [make(k, where, text) for rel, k, where, text in cases]


def all_cases(data_dir):
    missing = [Case("missing " + rel, lambda c, rel=rel: c.remove(rel), refuses=re.escape(rel))
               for rel in (VIEWPORT, MENU, HERO, LEVEL, LAYOUTS)]
    missing.append(Case("missing every layout", lambda c: [
        c.remove("Levels/Layout%d.ini" % n) for n in (1, 2, 3)], refuses=r"Levels/Layout\d\.ini"))

    viewport = [
        Case("viewport not XML", lambda c: c.write(VIEWPORT, "width 1024 height 768\n"),
             refuses=re.escape(VIEWPORT)),
        Case("viewport width 0", lambda c: c.replace(VIEWPORT, 'width="1024"', 'width="0"'),
             refuses=re.escape(VIEWPORT)),
        Case("viewport without a height",
             lambda c: c.replace(VIEWPORT, ' height="768"', ""), refuses=re.escape(VIEWPORT)),
    ]

    huge = [
        Case("huge platform count", lambda c: c.replace(LEVEL, "count:8", "count:2000000000"),
             refuses=re.escape(LEVEL)),
        Case("huge hazard count", lambda c: c.replace(LEVEL, "Hazards count:9",
                                                      "Hazards count:2147483647"),
             refuses=re.escape(LEVEL)),
        Case("huge frame count", lambda c: c.replace(HERO, "frames:8 8", "frames:2000000000 8"),
             refuses=re.escape(HERO)),
        Case("huge sound pool", lambda c: c.replace(HERO, "Landing count:1",
                                                    "Landing count:99999999999"),
             refuses=re.escape(HERO)),
        Case("huge layout list", lambda c: c.replace(LAYOUTS, "count:3", "count:1000000000"),
             refuses=re.escape(LAYOUTS)),
        Case("huge target count",
             lambda c: (only_first_layout(c), c.replace(LAYOUT, "count:5", "count:500000000")),
             refuses=re.escape(LAYOUT)),
    ]

    def no_colons(c):
        c.replace(MENU, "x:352 y:330", "x352 y:330")
        c.replace(HERO, "step:3", "step3")
        c.replace(LEVEL, "x:40 y:180", "x40 y180")
        c.replace(LEVEL, "Targets dx:24", "Targets dx24")

    def negative_counts(c):
        def change(lines):
            platforms = lines.index("count:8")
            lines[platforms] = "count:-3"
            del lines[platforms + 1:platforms + 9]
            lines[waves_line(lines)] = "Waves count:-2"
        c.edit(LEVEL, change)
        pools(c, (-1, -5, -1, -2147483648))

    def long_tokens(c):
        c.replace(MENU, "x:352 y:330", LONG + ":352 y:330")
        c.replace(HERO, "Sounds/jump-a.ogg", "Sounds/" + LONG + ".ogg")
        c.replace(LEVEL, "Images/platform.png", "Images/" + LONG + ".png")
        c.replace(LEVEL, "warning x:212", "warning " + LONG + ":212")

    def missing_images(c):
        for name in ("hero-walk", "hero-air", "platform", "steam", "warn-water", "tag-tolvek",
                     "mural-sun", "menu-play-on", "level1-background", "credits"):
            c.remove("Images/%s.png" % name)

    def not_png(c):
        c.write("Images/level1-background.png", "this is not a picture\n")
        c.write("Images/hero-stand.png", bytes(range(256)) * 8)
        c.write("Images/platform.png", b"")
        c.write("Images/menu-title.png", b"\x89PNG\r\n\x1a\n" + b"\0" * 20)  # header only

    def palettes(c):
        for name in ("menu-title", "menu-play-on", "menu-credits-off", "hero-stand",
                     "hero-walk", "level1-background", "mural-sun"):
            palette_png(c, "Images/%s.png" % name)

    def empty_pools(c):
        one_hazard_spot_under_the_hero(c)
        pools(c, (0, 0, 0, 0))

    safe = [
        Case("labels without a colon", no_colons),
        Case("negative counts", negative_counts),
        Case("200-character tokens", long_tokens, play=menu_drawn_as_its_file_says),
        Case("missing images", missing_images),
        Case("missing sounds", lambda c: (c.remove("Sounds"), c.remove("Sound"))),
        Case("images that are not PNG", not_png),
        Case("palette PNGs", palettes, play=menu_drawn_as_its_file_says),
        Case("empty layout list", lambda c: c.write(LAYOUTS, "Target layouts count:0\n")),
        Case("layout with no targets",
             lambda c: (only_first_layout(c), c.write(LAYOUT, "Targets count:0\n"))),
        Case("fewer hazard spots than a wave", one_hazard_spot_under_the_hero,
             play=stand_and_wait),
        Case("no wave sounds",
             lambda c: c.edit(LEVEL, lambda lines: lines.__setitem__(waves_line(lines),
                                                                     "Waves count:0")),
             play=stand_and_wait),
        Case("empty sound pools", empty_pools, play=stand_and_wait),
    ]

    cuts = [case for rel in (VIEWPORT, MENU, HERO, LEVEL, LAYOUTS)
            for case in cut_cases(data_dir, rel)]
    cuts += cut_cases(data_dir, LAYOUT, prepare=only_first_layout)
    return missing + viewport + huge + safe + cuts


def sanitizer_report(text):
    return any(mark in text for mark in SANITIZER_MARKS)


def run_case(case, binary, data_dir, display):
    content = Content(data_dir)
    try:
        case.edit(content)
        game = Game(binary, content.dir, display)
        try:
            return judge(case, game)
        finally:
            game.stop()
    finally:
        content.close()


def judge(case, game):
    if case.refuses:
        code = game.exit_code(timeout=30)
        err = game.stderr_text()
        lines = err.splitlines()
        if code < 0:
            raise AssertionError("killed by signal %d: %r" % (-code, err[-2000:]))
        if sanitizer_report(err):
            raise AssertionError("sanitizer report: %s" % err[-3000:])
        named = len(lines) == 1 and re.match(r"tolvek: (\./)?%s: " % case.refuses, lines[0])
        if code != 1 or not named:
            raise AssertionError("expected exit 1 and one line naming the file; got exit %d, "
                                 "stderr %r" % (code, err[-2000:]))
        return lines[0]

    if game.wait_window(timeout=30) is None:
        game.exit_code()
        raise AssertionError("ended at start-up: exit %d, %r" % (game.proc.returncode,
                                                               game.stderr_text()[-2000:]))
    case.play(game)
    if game.proc.poll() is not None:
        game.exit_code()
        raise AssertionError("ended while playing: exit %d, %r" % (game.proc.returncode,
                                                                 game.stderr_text()[-2000:]))
    code = game.leave_level()
    err = game.stderr_text()
    if code != 0 or any(not LIBRARY_LINE.match(line) for line in err.splitlines()):
        raise AssertionError("expected a clean end; got exit %d, stderr %r" % (code, err[-3000:]))
    return "played and left cleanly"


def main():
    args = sys.argv[1:]
    jobs = 2
    if "--jobs" in args:
        at = args.index("--jobs")
        jobs = int(args[at + 1])
        del args[at:at + 2]
    binary = os.path.abspath(args[0])
    data_dir = os.path.abspath(args[1])
    cases = [c for c in all_cases(data_dir) if not args[2:] or any(a in c.name for a in args[2:])]

    displays = queue.Queue()
    opened = [Display() for _ in range(min(jobs, len(cases)))]
    for display in opened:
        displays.put(display)

    def attempt(case):
        display = displays.get()
        started = time.time()
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
                print("%s %s (%.1f s): %s" % ("PASS" if passed else "FAIL", case.name, seconds,
                                             detail), flush=True)
    finally:
        for display in opened:
            display.close()
    print("%d of %d broken-content cases passed" % (len(cases) - failed, len(cases)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
