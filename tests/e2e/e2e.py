#!/usr/bin/env python3
"""End-to-end runs of the real game under the test X server, driven with
xdotool and checked on screenshots.

Usage: e2e.py BINARY DATA_DIR [scenario ...]   (needs DISPLAY)
"""
import os
import signal
import sys
import time

from PIL import Image

from gamedriver import (WIDTH, Display, Game, LevelFile, Menu, SpotWatch, credits_image,
                        record_lines, rms, screen_with)


def started(game):
    if game.wait_window(timeout=30) is None:
        game.exit_code()
        raise AssertionError("game exited early: %s" % game.output())


def note(game, text):
    game.notes = getattr(game, "notes", []) + [text]


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def scenario_menu_selection(game):
    menu = Menu(game.data_dir)
    started(game)
    first = game.screenshot()
    check(rms(first, menu.render(0)) < 6, "menu does not show item 0 selected (rms %.1f)"
          % rms(first, menu.render(0)))
    game.key("Down")
    time.sleep(0.4)
    second = game.screenshot()
    check(rms(second, menu.render(1)) < 6, "Down does not select item 1 (rms %.1f)"
          % rms(second, menu.render(1)))
    check(rms(first, second) > 1, "the menu did not change on Down")
    note(game, "rms item0 %.2f item1 %.2f swap %.2f" % (rms(first, menu.render(0)),
                                                        rms(second, menu.render(1)),
                                                        rms(first, second)))


def leave_credits(game, key, how):
    """The credits must be on screen and any key must end the game cleanly."""
    shot = game.screenshot()
    difference = rms(shot, credits_image(game.data_dir))
    check(difference < 6, "%s did not reach the credits (rms %.1f)" % (how, difference))
    check(game.proc.poll() is None, "ended before a key")
    game.key(key)
    code = game.exit_code()
    check(code == 0, "exit code %d" % code)


def scenario_credits_from_menu(game):
    started(game)
    game.key("Down")
    game.key("Return")
    time.sleep(2.5)  # the menu's delay, then the credits
    leave_credits(game, "space", "the credits item")


def hero_colours(data_dir, background):
    """Colours of the hero's standing strip that the level background never uses."""
    first_block = record_lines(os.path.join(data_dir, "Levels/Heros.ini"))[1]
    strip = Image.open(os.path.join(data_dir, first_block.split()[0])).convert("RGBA")
    colours = {p[:3] for p in strip.getdata() if p[3] == 255}
    return colours - set(background.getdata())


def hero_centre(shot, colours):
    """Mean x of the screen pixels drawn in the hero's own colours."""
    xs = [i % WIDTH for i, p in enumerate(shot.getdata()) if p in colours]
    return (sum(xs) / len(xs) if len(xs) > 50 else None), len(xs)


def level_background(data_dir):
    path = record_lines(os.path.join(data_dir, "Levels/Niveau1.ini"))[1].split()[0]
    return screen_with(os.path.join(data_dir, path)).convert("RGB")


def scenario_level_walk(game):
    started(game)
    game.key("Return")
    time.sleep(2.5)
    colours = hero_colours(game.data_dir, level_background(game.data_dir))
    x0, n0 = hero_centre(game.screenshot(), colours)
    game.hold("Right", 1.0)
    time.sleep(0.2)
    x1, n1 = hero_centre(game.screenshot(), colours)
    check(x0 is not None and x1 is not None, "no hero on screen (%d, %d pixels)" % (n0, n1))
    # One second of walking at 3 px per frame is about 180 px.
    check(x1 > x0 + 100, "the hero did not move right (%s -> %s)" % (x0, x1))
    note(game, "hero x %.0f -> %.0f (%d px of hero)" % (x0, x1, n1))
    game.key("Escape")
    time.sleep(0.6)
    leave_credits(game, "a", "Escape")


def enter_level(game):
    """Return on the menu; the level's first frame and when it showed."""
    started(game)
    background = level_background(game.data_dir)
    game.key("Return")
    return game.wait_for(lambda shot: rms(shot, background) < 40, 10, "the level")


def scenario_waves(game):
    """Standing still, two waves strike: a warning, then the projectile, each time."""
    first, t0 = enter_level(game)
    watch = SpotWatch(LevelFile(game.data_dir), first)
    before = [None] * len(watch.spots)
    events = []  # (seconds since the first frame, spot, phase), on each change
    def waves():
        onsets = [e[0] for e in events if e[2] == "warning"]
        return [t for t in onsets if t == onsets[0] or t > onsets[0] + 1.5]

    while time.time() < t0 + 16 and len(waves()) < 2:
        now = watch.phases(game.screenshot())
        events += [(round(time.time() - t0, 1), i, p)
                   for i, (p, b) in enumerate(zip(now, before)) if p != b and p]
        before = now
    warnings = [e for e in events if e[2] == "warning"]
    check(warnings and warnings[0][0] < 7, "no warning within 7 s: %s" % events)
    spot = warnings[0][1]
    check(any(e[1] == spot and e[2] == "projectile" for e in events),
          "spot %d warned but threw no projectile: %s" % (spot, events))
    check(len(waves()) > 1 and waves()[1] < waves()[0] + 7, "no second wave: %s" % events)
    note(game, "events %s" % events)


def scenario_terminate(game):
    """SIGTERM ends the game cleanly from the menu and from the level."""
    started(game)
    game.proc.send_signal(signal.SIGTERM)
    check(game.exit_code() == 0, "menu: exit code %d" % game.proc.returncode)
    game.__init__(game.binary, game.data_dir, game.display)
    enter_level(game)
    game.proc.send_signal(signal.SIGTERM)
    check(game.exit_code(timeout=1) == 0, "level: exit code %d" % game.proc.returncode)


SCENARIOS = {
    "menu-selection": scenario_menu_selection,
    "credits-from-menu": scenario_credits_from_menu,
    "level-walk": scenario_level_walk,
    "terminate": scenario_terminate,
    "waves": scenario_waves,
}


def main():
    binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    names = sys.argv[3:] or list(SCENARIOS)
    failed = 0
    display = Display(os.environ["DISPLAY"])
    for name in names:
        game = Game(binary, data_dir, display)
        try:
            SCENARIOS[name](game)
            print("PASS", name, *getattr(game, "notes", []))
        except AssertionError as error:
            failed += 1
            print("FAIL", name, error)
        finally:
            game.stop()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
