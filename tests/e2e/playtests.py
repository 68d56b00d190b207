#!/usr/bin/env python3
"""Playtests: the real game under the test X server, driven with xdotool,
checked on screenshots and on its recorded sound.

Usage: playtests.py BINARY DATA_DIR [scenario ...]   (needs DISPLAY)
"""
import os
import re
import signal
import subprocess
import sys
import time

import numpy
from PIL import Image

from gamedriver import (HEIGHT, WIDTH, Content, Display, Game, LevelFile, SpotWatch, box_of, check,
                        field, file_lines, menu_screen, rms, screen_with)

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


def where(shot, colours):
    """Rows (y up) and columns of the pixels drawn in any of the colours."""
    pixels = numpy.asarray(shot, dtype=numpy.uint32)
    codes = pixels[:, :, 0] << 16 | pixels[:, :, 1] << 8 | pixels[:, :, 2]
    wanted = numpy.array([r << 16 | g << 8 | b for r, g, b in colours], dtype=numpy.uint32)
    rows, columns = numpy.nonzero(numpy.isin(codes, wanted))
    return HEIGHT - rows, columns


def hero_at(level, shot):
    """Mean x and top row (y up) of the standing hero's own colours; None when too few show."""
    ys, xs = where(shot, level.colours(level.hero_strips[1]) - level.colours(level.background))
    return (xs.mean(), ys.max()) if len(xs) > 50 else (None, None)


def quiet(content, waves=False):
    """Silent music (and wave sounds), so that effects are heard apart."""
    for rel in ["Sound/music-interface.ogg"] + [
            "Sounds/" + n for n in os.listdir(content.path("Sounds"))
            if n.startswith("music-") or waves and n.startswith("wave-")]:
        content.silence(rel)


def paused_look(data_dir, frame):
    """A frame with the PAUSED banner where the game draws it, and the banner's box."""
    banner = Image.open(os.path.join(data_dir, "Images/paused.png"))
    at = ((WIDTH - banner.width) // 2, (HEIGHT - banner.height) // 2)
    return screen_with(data_dir, ("Images/paused.png", at), frame=frame), box_of(banner, at)


def window_box(game, shows, what):
    """The game window's screen box, once shows(width, height) holds."""
    deadline = time.time() + 5
    while time.time() < deadline:
        found = subprocess.run(["xdotool", "search", "--name", "VELM Tolvek"], text=True,
                               env=game.display.env, capture_output=True).stdout.split()
        info = subprocess.run(["xwininfo", "-id", found[0]], text=True, env=game.display.env,
                              capture_output=True).stdout if found else ""
        x, y, w, h = (int(v) for v in re.findall(r"(?:Absolute upper-left [XY]|Width|Height):\s+(-?\d+)",
                                                    info)[:4] or (0, 0, 0, 0))
        if w and shows(w, h):
            return x, y, x + w, y + h
        time.sleep(0.05)
    raise AssertionError("%s did not show within 5 s" % what)


# Scenarios. Each gets a game, started, and the data folder it plays.

def scenario_menu(game):
    """Item 0 selected; Down and Up move the selection with a sound; Return
    validates with a sound; the level shows after the menu's delay, not before."""
    menus = [menu_screen(game.data_dir, n) for n in (0, 1)]
    game.wait_for(lambda shot: rms(shot, menus[0]) < 6, 3, "the menu with item 0 selected")
    for key, selection in (("Down", 1), ("Up", 0)):
        pressed = time.time()
        game.key(key)
        game.wait_for(lambda shot: rms(shot, menus[selection]) < 6, 3, "item %d" % selection)
        check(onsets(game, pressed - 0.2, pressed + 0.4), "%s: no move sound" % key)
        time.sleep(0.3)
    _, shown = game.enter_level()
    heard(game, game.returned, game.returned + 0.4, "the validate sound")
    delay = field(file_lines(os.path.join(game.data_dir, "Levels/Menu.ini"))[13].split()[3])
    check(shown - game.returned > delay / 1000.0 - 0.1,
          "the level showed %.2f s after Return, before the delay" % (shown - game.returned))


def scenario_level(game):
    """The first frame; the spray loop and the target it fills; walking; a jump's sounds."""
    level = LevelFile(game.data_dir)
    first, _ = game.enter_level()
    # He breathes while he stands: any of his first four cells will do.
    difference = min(rms(first, level.render(cell)) for cell in range(4))
    check(difference < 0.3, "first frame unlike the level's files (rms %.2f)" % difference)
    pressed = time.time()
    game.hold("space", 2.5)
    released = time.time()
    began = onsets(game, pressed - 0.1, pressed + 0.4)
    check(began, "no spray sound within 0.4 s of Space")
    held = game.levels(began[0] + 0.02, released - 0.05)
    check(min(held) > SILENT, "the spray loop has a gap (lowest %.4f)" % min(held))
    after = game.levels(released + 0.1, released + 0.4, None)[0]
    check(after < SILENT, "the spray still sounds after release (rms %.4f)" % after)
    full = screen_with(game.data_dir, ("Images/tag-wow.png", (20, 120)), frame=first)
    right_of_hero = (100, HEIGHT - 155, 160, HEIGHT - 120)  # under the platform
    sprayed = rms(game.screenshot().crop(right_of_hero), full.crop(right_of_hero))
    check(sprayed < 6, "the sprayed target is not whole (rms %.1f)" % sprayed)
    x0, base = hero_at(level, first)
    game.hold("Right", 1.0)
    x1 = hero_at(level, game.screenshot())[0]
    game.hold("Left", 1.0)
    x2 = hero_at(level, game.screenshot())[0]
    check(x1 > x0 + 15 and x2 < x1 - 15, "walk right then left: x %s, %s, %s" % (x0, x1, x2))

    pressed = time.time()
    game.key("Control_L")
    game.wait_for(lambda shot: (hero_at(level, shot)[1] or 0) > base + 20, 5, "the hero rising")
    tops = []  # he lands on the ground or on the platform above him

    def landed(shot):
        tops.append(hero_at(level, shot)[1])
        return len(tops) > 3 and len(set(tops[-3:])) == 1 and tops[-1] < max(tops)
    _, landed = game.wait_for(landed, 10, "the hero landing")
    sounds = onsets(game, pressed - 0.1, landed + 0.3)
    check(len(sounds) == 2 and sounds[1] > sounds[0] + 0.2,
          "jump then landing sound: onsets at %s" % [round(t - pressed, 2) for t in sounds])


def scenario_waves(game):
    """Standing still, waves strike: a warning, then the projectile, each
    time with the wave sound. SIGTERM then ends the game with 0."""
    first, t0 = game.enter_level()
    watch = SpotWatch(LevelFile(game.data_dir), first)
    before, events, waves = [None] * len(watch.spots), [], []
    while time.time() < t0 + 16 and len(waves) < 3:
        taken, now = time.time(), watch.phases(game.screenshot())
        events += [(taken, i, p) for i, (p, b) in enumerate(zip(now, before)) if p != b and p]
        before = now
        # A slow screenshot may miss a warning: any phase seen starts a wave,
        # unless another was seen less than 1.5 s before.
        waves = [e[0] for i, e in enumerate(events) if i == 0 or e[0] > events[i - 1][0] + 1.5]
    check(len(waves) >= 2 and waves[0] < t0 + 7 and waves[1] < waves[0] + 7,
          "not two waves in 7 s each: %s" % [round(t - t0, 1) for t in waves])
    spot = next(e[1] for e in events if e[2] == "warning")
    check(any(e[1:] == (spot, "projectile") for e in events),
          "spot %d warned but threw no projectile" % spot)
    for t in waves[:2]:
        heard(game, t - 0.5, t + 0.2, "the wave sound at %.1f s" % (t - t0))
    game.proc.send_signal(signal.SIGTERM)  # the package test ends it on the menu
    check(game.exit_code(timeout=1) == 0, "SIGTERM: exit code %d" % game.proc.returncode)


def scenario_hits(game):
    """Standing under the spots: each hit shows the hit pose with a hurt
    sound; after the third he stays down, silent, and cannot walk."""
    level = LevelFile(game.data_dir)
    hit_colours = level.hero_colours(len(level.hero_strips) - 1)

    def down_at(until):  # where the hit pose shows; it blinks: half its cells are tinted
        while time.time() < until:
            xs = where(game.screenshot(), hit_colours)[1]
            if len(xs) > 30:
                return xs.mean()

    _, t0 = game.enter_level()
    hurt = []
    while len(hurt) < 2 and time.time() < t0 + 30:
        time.sleep(0.2)
        heard_now = onsets(game, t0, time.time() - 0.1)
        for t in heard_now[len(hurt):2]:
            check(down_at(t + 2.8) is not None, "a hurt sound without the hit pose")
        hurt = heard_now
    check(len(hurt) == 2, "hurt sounds at %s s" % [round(t - t0, 1) for t in hurt])
    time.sleep(max(0.0, hurt[1] + 3.3 - time.time()))  # the second hit's pose is over
    x0 = down_at(time.time() + 20)
    check(x0 is not None, "no third hit")
    check(not onsets(game, hurt[1] + 0.5, time.time()), "a hurt sound after the second")
    game.hold("Right", 0.8)  # a walk would take him a hundred pixels away
    time.sleep(3.5)
    x1 = down_at(time.time() + 1.0)
    check(x1 is not None, "the hero got up after the third hit")
    check(abs(x1 - x0) < 20, "Right moved him: %.0f -> %.0f" % (x0, x1))


def scenario_music_and_leaving(game):
    """Each screen's music; Escape to the credits; any key ends with 0."""
    heard(game, time.time() - 0.5, time.time(), "the menu music")
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
    box = window_box(game, lambda w, h: True, "the window")
    check(box[2:] == (box[0] + WIDTH, box[1] + HEIGHT), "a window of %s" % (box,))
    windowed = game.screenshot().crop(box)
    check(rms(windowed, menu) < 6, "the window is not the menu (rms %.1f)" % rms(windowed, menu))
    left = (screen[0] - screen[1] * WIDTH // HEIGHT) // 2  # the bars beside a scaled picture
    for keys in ("F11", "alt+Return"):
        game.key(keys)
        window_box(game, lambda w, h: (w, h) == screen, keys + ": the full screen")
        shot = game.screenshot()
        scaled = rms(shot.crop((left + 1, 0, screen[0] - left - 1, screen[1])).resize(
            (WIDTH, HEIGHT)), menu)
        check(scaled < 12 and max(shot.crop((0, 0, left - 1, screen[1])).getextrema())[1] < 8,
              "%s: the menu scaled between bars? (rms %.1f)" % (keys, scaled))
        game.key(keys)
        box = window_box(game, lambda w, h: (w, h) == (WIDTH, HEIGHT), keys + ": the window")
        again = rms(game.screenshot().crop(box), windowed)
        check(again < 1, "%s twice: the window shows another picture (rms %.1f)" % (keys, again))
    heard(game, time.time() - 0.5, time.time(), "the menu music after the switches")
    game.key("Return")
    level, _ = game.wait_for(lambda shot: rms(shot.crop(box), LevelFile(game.data_dir).render())
                             < 40, 10, "the level in the window")
    look, banner = paused_look(game.data_dir, level.crop(box))

    def paused(shot):
        return rms(shot.crop(box).crop(banner), look.crop(banner)) < 6
    for full in (screen, (WIDTH, HEIGHT)):
        game.key("F11")
        box = window_box(game, lambda w, h: (w, h) == full, "the switch in the level")
    time.sleep(1.5)  # longer than the window takes to settle
    check(not paused(game.screenshot()), "switching the window paused the level")
    other = subprocess.Popen(["xlogo"], env=game.display.env)
    try:
        game.wait_for(paused, 5, "the pause when another window takes the focus")
    finally:
        other.kill()


def scenario_pause(game):
    """P pauses the level: the PAUSED banner, nothing moves, the music stops. P plays
    on, the music with it."""
    first, _ = game.enter_level()
    look, banner = paused_look(game.data_dir, first)

    def paused(shot):
        return rms(shot.crop(banner), look.crop(banner)) < 6
    game.key("p")
    shot, shown = game.wait_for(paused, 3, "the PAUSED banner")
    time.sleep(1.5)
    check(rms(game.screenshot(), shot) == 0, "something moved during the pause")
    level = game.levels(shown + 0.3, shown + 1.3, None)[0]
    check(level < SILENT, "the music plays on during the pause (rms %.4f)" % level)
    game.key("p")
    resumed = time.time()
    game.wait_for(lambda shot: not paused(shot), 3, "the level without the banner")
    heard(game, resumed + 0.3, resumed + 0.8, "the music after the pause")


def scenario_no_opengl(game):
    """An X server without GLX: one line with SDL's reason, and exit 1, at once."""
    code, prefix = game.exit_code(timeout=3), "tolvek: cannot open an OpenGL window: "
    lines = game.err.splitlines()
    check(code == 1 and len(lines) == 1 and lines[0].startswith(prefix) and
          len(lines[0]) > len(prefix), "exit %d, saying %r" % (code, game.err))


def calm(content):
    """Only the hero's sounds; no spot on screen; one target where his first shot lands."""
    quiet(content, waves=True)
    content.move_spots(lambda n: {1: 2000, 5: 2000})
    content.write("Levels/Layouts.ini", "Target layouts count:1 Levels/Sprayed.ini\r\n")
    content.write("Levels/Sprayed.ini", "Targets count:1\r\n"
                  "Images/tag-wow.png x:20 y:120 0 0 140 0 140 90 0 90\r\n")


def under_fire(content):
    """Every projectile over the hero's start; no wave sound to hide his."""
    quiet(content, waves=True)
    x, y = LevelFile(content.dir).hero_start
    content.move_spots(lambda n: {1: 2000, 5: x, 6: y})


# name: (play, how the data folder is changed for it)
SCENARIOS = {
    "menu": (scenario_menu, quiet),
    "level": (scenario_level, calm),
    "waves": (scenario_waves, quiet),
    "hits": (scenario_hits, under_fire),
    "music-and-leaving": (scenario_music_and_leaving, lambda content: None),
    "window": (scenario_window, lambda content: None),
    "pause": (scenario_pause, lambda content: [content.silence("Sounds/" + n) for n in os.listdir(
        content.path("Sounds")) if n.startswith("wave-")]),
    "no-opengl": (scenario_no_opengl, lambda content: None),
}
# Scenarios on an X screen of their own: the game's options and the screen.
OWN_SCREEN = {
    "window": (["--window"], dict(size=(1600, 1000), wm=True)),
    "no-opengl": ([], dict(glx=False)),
}


def main():
    binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    failed = 0
    display = Display(os.environ["DISPLAY"])
    for name in sys.argv[3:] or list(SCENARIOS):
        play, change = SCENARIOS[name]
        content = Content(data_dir)
        change(content)
        options, screen = OWN_SCREEN.get(name, ([], None))
        own = Display(**screen) if screen else None
        game = Game(binary, content.dir, own or display, record=True, options=options)
        try:
            if (screen or {}).get("glx", True):
                game.started()
            play(game)
            print("PASS", name, flush=True)
        except AssertionError as error:
            failed += 1
            print("FAIL", name, error, flush=True)
        finally:
            game.stop()
            content.close()
            if own:
                own.close()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
