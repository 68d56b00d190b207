#!/usr/bin/env python3
"""Playtests: what only the real game, live, can show. Keys through the X server reach it, each
screen's music and an effect are heard through the sound device, SIGTERM ends it, and its window
switches under a window manager. How it plays is pinned exactly by the replays (tests/replays).

Usage: playtests.py BINARY DATA_DIR [scenario ...]   (needs DISPLAY)
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from gamedriver import (HEIGHT, WIDTH, Content, Display, Game, check, menu_screen, poll, rms,
                        screen_with)

HEARD = 0.01  # RMS of a 20 ms window in which a sound plays
SILENT = 0.002


def heard(game, t0, t1, what):
    level = game.levels(t0, t1, None)[0]
    check(level > HEARD, "%s not heard (rms %.4f)" % (what, level))


def onsets(game, t0, t1):
    """When sounds start: a loud window after a quiet one (one playing at t0 is not counted)."""
    found, quiet = [], False
    for i, level in enumerate(game.levels(t0, t1)):
        if quiet and level > HEARD:
            found.append(t0 + i * 0.02)
        quiet = level < SILENT if not quiet else level <= HEARD
    return found


def window_shows(game, size, looks=lambda picture: True):
    """For wait_for: the game window's part of a shot, once the window has that size and
    looks(part) holds. A window of the new size may not be drawn at it yet."""
    def shows(shot):
        found = game.windows()
        info = subprocess.run(["xwininfo", "-id", found[0]], text=True, env=game.display.env,
                              capture_output=True).stdout if found else ""
        x, y, w, h = (int(v) for v in re.findall(
            r"(?:Absolute upper-left [XY]|Width|Height):\s+(-?\d+)", info)[:4] or (0, 0, 0, 0))
        part = shot.crop((x, y, x + w, y + h)) if (w, h) == size else None
        return part if part is not None and looks(part) else None
    return shows


# Scenarios. Each gets a game, started, and the data folder it plays.

def scenario_effect_and_sigterm(game):
    """Down moves the menu's selection with its sound, heard by 0.4 s after the move shows
    (its frame starts the sound) over music at volume 0; SIGTERM then ends the game with 0."""
    menus = [menu_screen(game.data_dir, n) for n in (0, 1)]
    game.wait_for(lambda shot: rms(shot, menus[0]) < 6, 10, "the menu with item 0 selected")
    pressed = time.time()
    game.key("Down")
    game.wait_for(lambda shot: rms(shot, menus[1]) < 6, 10, "item 1 selected")
    shown = time.time()
    check(onsets(game, pressed - 0.2, shown + 0.4), "no move sound by 0.4 s after the move shows")
    check(max(game.levels(shown + 0.4, shown + 1.0)) < SILENT, "music heard at volume 0")
    game.proc.send_signal(signal.SIGTERM)
    check(game.exit_code() == 0, "SIGTERM: exit code %d" % game.proc.returncode)


def scenario_music_and_leaving(game):
    """Each screen's music; Escape to the credits; any key ends with 0."""
    game.wait_for(lambda shot: rms(shot, menu_screen(game.data_dir)) < 6, 10, "the menu")
    heard(game, time.time(), time.time() + 0.5, "the menu music")
    game.enter_level()
    heard(game, time.time(), time.time() + 0.5, "the level's intro music")
    game.key("Escape")
    credits = screen_with(game.data_dir, ("Images/credits.png", (0, 0)))
    game.wait_for(lambda shot: rms(shot, credits) < 6, 5, "the credits")
    heard(game, time.time(), time.time() + 0.5, "the credits music")
    check(game.proc.poll() is None, "ended before a key")
    game.key("a")
    check(game.exit_code() == 0, "exit code %d" % game.proc.returncode)


def scenario_window(game):
    """--window under a window manager on a larger screen: a window the picture's size
    showing it pixel for pixel. F11, then Alt+Enter, fill the screen with the picture
    scaled, its aspect kept, and bring back the same window and picture; the music
    plays on. A switch in the level does not pause it; another window taking the
    focus does."""
    menu, screen = menu_screen(game.data_dir), game.display.size
    windowed = game.wait_for(window_shows(game, (WIDTH, HEIGHT), lambda p: rms(p, menu) < 6), 10,
                             "a window of the menu, pixel for pixel")
    left = (screen[0] - screen[1] * WIDTH // HEIGHT) // 2  # the bars beside a scaled picture

    def scaled(part):
        middle = part.crop((left + 1, 0, screen[0] - left - 1, screen[1])).resize((WIDTH, HEIGHT))
        bar = part.crop((0, 0, left - 1, screen[1])).getextrema()
        return rms(middle, menu) < 12 and max(high for _, high in bar) < 8
    for keys in ("F11", "alt+Return"):
        game.key(keys)
        game.wait_for(window_shows(game, screen, scaled), 10, keys + ": the menu between bars")
        game.key(keys)
        game.wait_for(window_shows(game, (WIDTH, HEIGHT), lambda p: rms(p, windowed) < 1), 10,
                      keys + " twice: the window with the same picture")
    heard(game, time.time() - 0.5, time.time(), "the menu music after the switches")
    game.enter_level()
    for full in (screen, (WIDTH, HEIGHT)):
        game.key("F11")
        game.wait_for(window_shows(game, full), 10, "the switch in the level")
    seen = len(game.checkpoints())  # the play's own record says when it pauses
    game.wait_play(lambda _: len(game.checkpoints()) > seen + 1, 10, "two seconds of the level")
    check(not any("paused" in c for c in game.checkpoints()), "switching the window paused it")
    other = subprocess.Popen(["xlogo"], env=game.display.env)
    try:
        game.wait_play(lambda c: "paused" in c, 10, "the pause when another window takes the focus")
    finally:
        other.kill()


def scenario_options(game):
    """Volumes set with keys on the Options screen are kept and heard at the next start:
    there the menu music at 3 plays at about 0.3 of its level at 10 over the same seconds,
    and with the music then at 0, an effects step's sample is heard. The window F11 chose
    is kept too: the next start opens a window the picture's size on a larger screen."""
    kept = game.options[1]
    first = game.sound_start
    full = game.levels(first + 0.5, first + 2.5, None)[0]
    game.key("o")
    for key in ["Left"] * 7 + ["F11"]:  # music 3, a window
        game.key(key)
    poll(lambda: "music_volume = 3\n" in open(kept).read() and "fullscreen = no\n" in
         open(kept).read(), 10, "the settings kept")
    game.proc.send_signal(signal.SIGTERM)
    check(game.exit_code() == 0, "SIGTERM: exit code %d" % game.proc.returncode)
    again = Game(game.binary, game.data_dir, game.display, record=True, options=game.options)
    try:
        again.started()
        start = again.sound_start
        ratio = again.levels(start + 0.5, start + 2.5, None)[0] / full
        check(0.2 < ratio < 0.45, "the music at 3 heard at %.2f of its level at 10" % ratio)
        again.key("o")
        for key in ("Left", "Left", "Left", "Down"):
            again.key(key)
        poll(lambda: "music_volume = 0\n" in open(kept).read(), 10, "the music at 0")
        pressed = time.time()
        again.key("Right")  # effects already at 10: the sample plays all the same
        check(onsets(again, pressed - 0.1, pressed + 1.0), "the effects sample not heard")
        again.wait_for(window_shows(again, (WIDTH, HEIGHT)), 10, "the window kept")
    finally:
        again.stop()


# name: (play, how the data folder is changed for it, the game's options, its own X screen)
SCENARIOS = {  # the music turned down to nothing, so that the effects are heard apart
    "effect-and-sigterm": (scenario_effect_and_sigterm, None, ["--music-volume", "0"], None),
    "music-and-leaving": (scenario_music_and_leaving, None, [], None),
    "window": (scenario_window, None, ["--window"], dict(size=(1600, 1000), wm=True)),
    "options": (scenario_options, None, ["--settings", None], dict(size=(1600, 1000), wm=True)),
}


def main():
    binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    failed = 0
    display = Display(os.environ["DISPLAY"])
    for name in sys.argv[3:] or list(SCENARIOS):
        play, change, options, screen = SCENARIOS[name]
        content = Content(data_dir)
        if change:
            change(content)
        own = Display(**screen) if screen else None
        kept = tempfile.mkdtemp(prefix="tolvek-settings-")  # never the tester's own
        options = [os.path.join(kept, "settings.ini") if o is None else o for o in options]
        game = Game(binary, content.dir, own or display, record=True, options=options)
        game.binary, game.options = binary, options
        try:
            game.started()
            play(game)
            print("PASS", name, flush=True)
        except AssertionError as error:
            failed += 1
            print("FAIL", name, error, flush=True)
        finally:
            game.stop()
            content.close()
            shutil.rmtree(kept, ignore_errors=True)
            if own:
                own.close()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
