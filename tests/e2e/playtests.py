#!/usr/bin/env python3
"""Playtests: the real game under the test X server, driven with xdotool,
checked on screenshots and on its recorded sound.

Usage: playtests.py BINARY DATA_DIR [scenario ...]   (needs DISPLAY)
"""
import os
import signal
import sys
import time

import numpy

from gamedriver import (HEIGHT, Content, Display, Game, LevelFile, Menu, SpotWatch, box_of,
                        check, file_lines, rms, screen_with)

HEARD = 0.01  # RMS of a 20 ms window in which a sound plays
SILENT = 0.002


def heard(game, t0, t1, what):
    game.sound.wait_until(t1)
    level = game.sound.level(t0, t1)
    check(level > HEARD, "%s not heard (rms %.4f)" % (what, level))
    return level


def onsets(game, t0, t1):
    """When sounds start between two times: a loud window after a quiet one
    (a sound already playing at t0 is not counted)."""
    game.sound.wait_until(t1)
    found, quiet = [], False
    for i, level in enumerate(game.sound.levels(t0, t1)):
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


def hero_on_screen(level):
    """The standing hero's colours that the background does not use."""
    return level.colours(level.hero_strips[1]) - level.colours(level.background)


def hero_x(level, shot):
    """Mean x of the pixels in the hero's colours, or None when too few show."""
    _, xs = where(shot, hero_on_screen(level))
    return xs.mean() if len(xs) > 50 else None


def hero_top(level, shot):
    """The highest screen row (y up) showing a hero colour."""
    ys, _ = where(shot, hero_on_screen(level))
    return ys.max() if len(ys) else None


# Copies of the data folder, so that effects are heard apart from the music.

def quiet_music(content):
    for rel in ("Sounds/music-ingame-a.ogg", "Sounds/music-ingame-b.ogg",
                "Sound/music-interface.ogg", Menu(content.dir).music):
        content.silence(rel)


def quiet_waves(content):
    line = next(l for l in file_lines(content.path("Levels/Niveau1.ini")) if l.startswith("Waves"))
    paths = [w for w in line.split() + ["Sounds/wave-alarm.ogg"] if w.endswith(".ogg")]
    for rel in set(paths):
        content.silence(rel)


def move_spots(content, where):
    """Every spot's warning (or projectile) picture put at where(index)."""
    def change(lines):
        first = next(i for i, line in enumerate(lines) if line.startswith("Hazards"))
        for n in range(int(lines[first].split(":")[-1])):
            at = first + 1 + n * LevelFile.SPOT_LINES
            for offset, value in where(n).items():
                label = lines[at + offset].split(":")[0]
                lines[at + offset] = "%s:%d" % (label, value)
    content.edit("Levels/Niveau1.ini", change)


def target_over_the_hero(content):
    """One layout, one target where the hero's first shot lands."""
    content.write("Levels/Layouts.ini", "Target layouts count:1 Levels/Sprayed.ini\r\n")
    content.write("Levels/Sprayed.ini", "Targets count:1\r\n"
                  "Images/tag-wow.png x:20 y:120 0 0 140 0 140 90 0 90\r\n")


# Scenarios. Each gets a game and the data folder it plays.

def scenario_menu(game):
    """Down and Up move the selection with a sound; Return validates with a
    sound; the level shows after the menu's delay, not before."""
    menu = Menu(game.data_dir)
    game.started()
    check(rms(game.screenshot(), menu.render(0)) < 6, "menu does not show item 0 selected")
    for key, selection in (("Down", 1), ("Up", 0)):
        pressed = time.time()
        game.key(key)
        game.wait_for(lambda shot: rms(shot, menu.render(selection)) < 6, 3,
                      "item %d selected after %s" % (selection, key))
        check(onsets(game, pressed - 0.2, pressed + 0.4), "%s: no move sound" % key)
        time.sleep(0.3)
    _, shown = game.enter_level()
    pressed = game.returned
    heard(game, pressed, pressed + 0.4, "the validate sound")
    check(shown - pressed > menu.delay - 0.1,
          "the level showed %.2f s after Return, before the menu's delay" % (shown - pressed))


def scenario_level(game):
    """The first frame; the spray loop and a target filled by it; walking;
    a jump with its sounds."""
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
    held = game.sound.levels(began[0] + 0.02, released - 0.05)
    check(min(held) > SILENT, "the spray loop has a gap (lowest %.4f)" % min(held))
    after = game.sound.level(released + 0.1, released + 0.4)
    check(after < SILENT, "the spray still sounds after release (rms %.4f)" % after)
    target = level.picture("Images/tag-wow.png")
    full = first.convert("RGBA")
    full.alpha_composite(target, box_of(target, (20, 120))[:2])
    right_of_hero = (100, HEIGHT - 155, 160, HEIGHT - 120)  # under the platform
    sprayed = rms(game.screenshot().crop(right_of_hero), full.convert("RGB").crop(right_of_hero))
    check(sprayed < 6, "the sprayed target is not whole (rms %.1f)" % sprayed)
    x0 = hero_x(level, first)
    game.hold("Right", 1.0)
    x1 = hero_x(level, game.screenshot())
    game.hold("Left", 1.0)
    x2 = hero_x(level, game.screenshot())
    check(x1 > x0 + 15 and x2 < x1 - 15, "walk right then left: x %s, %s, %s" % (x0, x1, x2))

    base = hero_top(level, game.screenshot())
    pressed = time.time()
    game.key("Control_L")
    game.wait_for(lambda shot: (hero_top(level, shot) or 0) > base + 20, 5, "the hero rising")
    tops = []  # he lands on the ground or on the platform above him

    def landed(shot):
        tops.append(hero_top(level, shot))
        return len(tops) > 3 and len(set(tops[-3:])) == 1 and tops[-1] < max(tops)
    _, landed = game.wait_for(landed, 10, "the hero landing")
    sounds = onsets(game, pressed - 0.1, landed + 0.3)
    check(len(sounds) == 2 and sounds[1] > sounds[0] + 0.2,
          "jump then landing sound: onsets at %s" % [round(t - pressed, 2) for t in sounds])


def watch_spots(game, first, seconds, until):
    """Phase changes of every spot, as (seconds since first, spot, phase)."""
    watch = SpotWatch(LevelFile(game.data_dir), first[0])
    before, events = [None] * len(watch.spots), []
    while time.time() < first[1] + seconds and not until(events):
        taken = time.time()
        now = watch.phases(game.screenshot())
        events += [(taken, i, p) for i, (p, b) in enumerate(zip(now, before)) if p != b and p]
        before = now
    return events


def wave_starts(events):
    """A slow screenshot may miss a warning: any phase seen starts a wave,
    unless another was seen less than 1.5 s before."""
    times = [e[0] for e in events]
    return [t for i, t in enumerate(times) if i == 0 or t > times[i - 1] + 1.5]


def scenario_waves(game):
    """Standing still, waves strike: a warning, then the projectile, each
    time with the wave sound."""
    first = game.enter_level()
    events = watch_spots(game, first, 16, lambda e: len(wave_starts(e)) >= 3)
    waves = wave_starts(events)
    check(len(waves) >= 2 and waves[0] < first[1] + 7 and waves[1] < waves[0] + 7,
          "not two waves in 7 s each: %s" % [round(t - first[1], 1) for t in waves])
    spot = next(e[1] for e in events if e[2] == "warning")
    check(any(e[1] == spot and e[2] == "projectile" for e in events),
          "spot %d warned but threw no projectile" % spot)
    for t in waves[:2]:
        heard(game, t - 0.5, t + 0.2, "the wave sound at %.1f s" % (t - first[1]))


def scenario_hits(game):
    """Standing under the spots: each hit shows the hit pose with a hurt
    sound; after the third he stays down, silent, and cannot walk."""
    level = LevelFile(game.data_dir)
    hit_colours = level.hero_colours(len(level.hero_strips) - 1)

    def hit_pose(shot):  # the pose blinks: half its cells are tinted
        return len(where(shot, hit_colours)[0]) > 30

    def seen_down(until):
        while time.time() < until:
            if hit_pose(game.screenshot()):
                return True
        return False

    _, t0 = game.enter_level()
    hurt = []
    while len(hurt) < 2 and time.time() < t0 + 30:
        time.sleep(0.2)
        heard_now = onsets(game, t0, time.time() - 0.1)
        for t in heard_now[len(hurt):2]:
            check(seen_down(t + 2.8), "a hurt sound without the hit pose")
        hurt = heard_now
    check(len(hurt) == 2, "hurt sounds at %s s" % [round(t - t0, 1) for t in hurt])
    time.sleep(max(0.0, hurt[1] + 3.3 - time.time()))  # the second hit's pose is over
    third, _ = game.wait_for(hit_pose, 20, "a third hit")
    silent = onsets(game, hurt[1] + 0.5, time.time())
    check(not silent, "a hurt sound after the second: %s" % silent)
    x0 = hero_x(level, third)
    game.hold("Right", 0.8)
    time.sleep(3.5)
    x1 = hero_x(level, game.screenshot())
    check(seen_down(time.time() + 1.0), "the hero got up after the third hit")
    check(x0 is None or x1 is None or abs(x1 - x0) < 4, "Right moved him: %s -> %s" % (x0, x1))


def scenario_music_and_leaving(game):
    """Each screen's music; Escape to the credits; any key ends with 0."""
    game.started()
    t = time.time()
    heard(game, t - 0.5, t, "the menu music")
    game.enter_level()
    t = time.time()
    time.sleep(0.5)
    heard(game, t, t + 0.5, "the level's intro music")
    game.key("Escape")
    credits = screen_with((os.path.join(game.data_dir, "Images/credits.png"), (0, 0)))
    game.wait_for(lambda shot: rms(shot, credits) < 6, 5, "the credits")
    t = time.time()
    time.sleep(0.5)
    heard(game, t, t + 0.5, "the credits music")
    check(game.proc.poll() is None, "ended before a key")
    game.key("a")
    check(game.exit_code() == 0, "exit code %d" % game.proc.returncode)


def scenario_terminate(game):
    """SIGTERM ends the game cleanly from the level (the package test ends it on the menu)."""
    game.enter_level()
    game.proc.send_signal(signal.SIGTERM)
    check(game.exit_code(timeout=1) == 0, "level: exit code %d" % game.proc.returncode)


def calm(content):
    """Only the hero's sounds; no spot on screen; a target to spray."""
    quiet_music(content)
    quiet_waves(content)
    move_spots(content, lambda n: {1: 2000, 5: 2000})
    target_over_the_hero(content)


def under_fire(content):
    """Every projectile over the hero's start; no wave sound to hide his."""
    quiet_music(content)
    quiet_waves(content)
    x, y = LevelFile(content.dir).hero_start
    move_spots(content, lambda n: {1: 2000, 5: x, 6: y})


# name: (play, how the data folder is changed for it)
SCENARIOS = {
    "menu": (scenario_menu, quiet_music),
    "level": (scenario_level, calm),
    "waves": (scenario_waves, quiet_music),
    "hits": (scenario_hits, under_fire),
    "music-and-leaving": (scenario_music_and_leaving, None),
    "terminate": (scenario_terminate, None),
}


def main():
    binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    names = sys.argv[3:] or list(SCENARIOS)
    failed = 0
    display = Display(os.environ["DISPLAY"])
    for name in names:
        play, change = SCENARIOS[name]
        content = Content(data_dir)
        if change:
            change(content)
        game = Game(binary, content.dir, display, record=True)
        started_at = time.time()
        try:
            play(game)
            print("PASS", name, "(%.1f s)" % (time.time() - started_at), flush=True)
        except AssertionError as error:
            failed += 1
            print("FAIL", name, error, flush=True)
        finally:
            game.stop()
            content.close()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
