#!/usr/bin/env python3
"""The real game on broken copies of its content: it plays on (then leaves through the credits
with 0, stderr quiet) or exits 1 with one line naming the file; never a signal, report or hang.

Usage: broken_content.py BINARY DATA_DIR [CASE_SUBSTRING ...]
"""
import os
import re
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

from PIL import Image

from gamedriver import Content, Display, Game, check, menu_screen, rms

HERO, LEVEL, MENU = "Levels/Heros.ini", "Levels/Niveau1.ini", "Levels/Menu.ini"
LAYOUTS, LAYOUT, VIEWPORT = "Levels/Layouts.ini", "Levels/Layout1.ini", "Levels/Viewport.xml"
LONG, WAVES = "x" * 200, r"(?m)^Waves.*"
# A broken image is reported by the PNG library itself; the game goes on.
LIBRARY_LINE = re.compile(r"libpng (error|warning): ")
SANITIZER = re.compile("Sanitizer|runtime error:|SUMMARY:")


def palettes(c):
    for name in ("menu-title", "menu-play-on", "menu-credits-off", "hero-stand", "hero-walk",
                 "level1-background", "mural-sun"):
        rel = "Images/%s.png" % name
        image = Image.open(c.path(rel)).convert("RGBA")
        os.unlink(c.path(rel))
        image.convert("P", palette=Image.ADAPTIVE, colors=255).save(c.path(rel))


def explore(game):  # the menu as its file says (less pictures it cannot read), then the level
    menu = menu_screen(game.data_dir)
    game.wait_for(lambda shot: rms(shot, menu) < 6, 10, "the menu as its file says")
    game.key("Return")
    game.wait_for(lambda shot: rms(shot, menu) > 20, 10, "the level")
    for key, seconds in (("Right", 0.5), ("Control_L", 0.3), ("space", 0.6), ("Left", 0.3)):
        game.hold(key, seconds)
    game.key("Control_L")


def stand_and_wait(game):  # until the play's record shows a wave (at most 6 s apart)
    game.enter_level()
    game.wait_play(lambda c: c["spots"].strip(".") or "wave-alarm" in c["sounds"], 9, "a wave")
    game.key("Control_L")
    game.hold("space", 1.0)


# The first hazard spot only, with the hero starting on it, so waves hit him.
ONE_SPOT = [("replace", LEVEL, r"Hazards count:9((\n.*){9})(\n.*){72}", r"Hazards count:1\1"),
            ("replace", HERO, "x:40 y:100", "x:200 y:100")]
ONLY_FIRST_LAYOUT = ("write", LAYOUTS, "Target layouts count:1 %s\n" % LAYOUT)

# (name, a pattern of the file the game must name as it refuses, or None when it plays on,
#  edits: (Content method, arguments...) or a function of the content, how to play)
CASES = [("missing " + rel, re.escape(rel), [("remove", rel)]) for rel in (
    VIEWPORT, MENU, HERO, LEVEL, LAYOUTS)] + [
    ("missing every layout", r"Levels/Layout\d\.ini",
     [("remove", "Levels/Layout%d.ini" % n) for n in (1, 2, 3)]),
    ("labels without a colon", None, [
        ("replace", MENU, "x:352 y:330", "x352 y:330"), ("replace", HERO, "step:3", "step3"),
        ("replace", LEVEL, "x:40 y:180", "x40 y180"),
        ("replace", LEVEL, "Targets dx:24", "Targets dx24")]),
    ("negative counts", None,
     [("replace", LEVEL, r"(?m)^count:8(\n.*){8}", "count:-3"),
      ("replace", LEVEL, WAVES, "Waves count:-2"), ("replace", HERO, "count:1.*", "count:-5"),
      ("replace", HERO, "count:2.*", "count:-2147483648")]),
    ("200-character tokens", None, [
        ("replace", MENU, "x:352 y:330", LONG + ":352 y:330"),
        ("replace", HERO, "Sounds/jump-a.ogg", "Sounds/" + LONG + ".ogg"),
        ("replace", LEVEL, "Images/platform.png", "Images/" + LONG + ".png"),
        ("replace", LEVEL, "warning x:212", "warning " + LONG + ":212")]),
    ("missing images", None, [("remove", "Images/%s.png" % name) for name in (
        "hero-walk", "hero-air", "platform", "steam", "warn-water", "tag-tolvek", "mural-sun",
        "menu-play-on", "level1-background", "credits")]),
    ("missing sounds", None, [("remove", "Sounds"), ("remove", "Sound")]),
    ("images that are not PNG", None, [
        ("write", "Images/level1-background.png", "this is not a picture\n"),
        ("write", "Images/hero-stand.png", bytes(range(256)) * 8),
        ("write", "Images/platform.png", b""),
        ("write", "Images/menu-title.png", b"\x89PNG\r\n\x1a\n" + b"\0" * 20)]),  # header only
    ("palette PNGs", None, [palettes]),
    ("empty layout list", None, [("write", LAYOUTS, "Target layouts count:0\n")]),
    ("layout with no targets", None, [ONLY_FIRST_LAYOUT, ("write", LAYOUT, "Targets count:0\n")]),
    ("fewer hazard spots than a wave", None, ONE_SPOT, stand_and_wait),
    ("no wave sounds", None, [("replace", LEVEL, WAVES, "Waves count:0")], stand_and_wait),
    ("empty sound pools", None, ONE_SPOT + [("replace", HERO, r"count:\d.*", "count:0")],
     stand_and_wait),
]


def run_case(case, binary, data_dir, display):
    name, refuses, edits, play = (case + (explore,))[:4]
    content, game = Content(data_dir), None
    try:
        for edit in edits:
            edit(content) if callable(edit) else getattr(content, edit[0])(*edit[1:])
        game = Game(binary, content.dir, display)
        if refuses:
            code, err = game.exit_code(timeout=30), game.err
            named = len(err.splitlines()) == 1 and re.match(r"tolvek: (\./)?%s: " % refuses, err)
            check(code == 1 and named and not SANITIZER.search(err), "expected exit 1 and one "
                  "line naming the file; got exit %d, %r" % (code, err[-3000:]))
            return err.strip()
        if game.wait_window(timeout=30) is not None:
            play(game)
        check(game.proc.poll() is None, "ended early: exit %s" % game.proc.poll())
        code, err = game.leave(), game.err
        check(code == 0 and all(LIBRARY_LINE.match(line) for line in err.splitlines()),
              "expected a clean end; got exit %d, stderr %r" % (code, err[-3000:]))
        return "played and left cleanly"
    finally:
        if game:
            game.stop()
        content.close()


def main():
    binary, data_dir, only = *map(os.path.abspath, sys.argv[1:3]), sys.argv[3:]
    cases = [c for c in CASES if not only or any(a in c[0] for a in only)]
    pending = iter(cases)  # each server takes the next case when it is free

    def play_share(share):  # on an X server of its own
        display, failed = Display(), 0
        try:
            for case in share:
                started, verdict = time.time(), "PASS"
                try:
                    detail = run_case(case, binary, data_dir, display)
                except (AssertionError, subprocess.CalledProcessError) as error:
                    detail, verdict, failed = str(error), "FAIL", failed + 1
                print("%s %s (%.1f s): %s" % (verdict, case[0], time.time() - started, detail),
                      flush=True)
        finally:
            display.close()
        return failed

    with ThreadPoolExecutor(max_workers=2) as pool:
        failed = sum(pool.map(play_share, (pending, pending)))
    print("%d of %d broken-content cases passed" % (len(cases) - failed, len(cases)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
