#!/usr/bin/env python3
"""End-to-end runs of the real game under the test X server, driven with
xdotool and checked on screenshots.

Usage: e2e.py BINARY DATA_DIR [scenario ...]   (needs DISPLAY)
"""
import os
import signal
import subprocess
import sys
import time

from PIL import Image, ImageChops

WIDTH, HEIGHT = 1024, 768


class Game:
    def __init__(self, binary, data_dir):
        self.proc = subprocess.Popen([binary], cwd=data_dir, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE)
        self.data_dir = data_dir

    def wait_window(self, timeout=10):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.proc.poll() is not None:
                raise AssertionError("game exited early: %s" % self.output())
            found = subprocess.run(["xdotool", "search", "--name", "VELM Tolvek"],
                                   capture_output=True, text=True)
            if found.stdout.strip():
                time.sleep(0.8)  # first frames
                return found.stdout.split()[0]
            time.sleep(0.1)
        raise AssertionError("no game window")

    def key(self, name, hold=0.12):
        subprocess.run(["xdotool", "keydown", name], check=True)
        time.sleep(hold)
        subprocess.run(["xdotool", "keyup", name], check=True)

    def hold(self, name, seconds):
        self.key(name, hold=seconds)

    def exit_code(self, timeout=5):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            raise AssertionError("game did not end")

    def output(self):
        out, err = self.proc.communicate(timeout=5)
        return "stdout=%r stderr=%r" % (out, err)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def screenshot():
    xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True)
    png = subprocess.run(["convert", "xwd:-", "png:-"], input=xwd.stdout, capture_output=True,
                         check=True)
    from io import BytesIO
    return Image.open(BytesIO(png.stdout)).convert("RGB")


def record_lines(path):
    with open(path, newline="") as f:
        return [line.rstrip("\r\n") for line in f]


def field(text):
    value = text.split(":", 1)[1] if ":" in text else ""
    digits = ""
    for i, c in enumerate(value.strip()):
        if c.isdigit() or (i == 0 and c in "+-"):
            digits += c
        else:
            break
    return int(digits) if digits.strip("+-") else 0


class Menu:
    """Where the menu file puts its pictures (mostly line based)."""

    def __init__(self, data_dir):
        lines = record_lines(os.path.join(data_dir, "Levels/Menu.ini"))
        self.background = lines[1]
        bx, by = lines[2].split()[:2]
        self.background_at = (field(bx), field(by))
        x0, y0 = lines[3].split()[:2]
        self.item0_at = (field(x0), field(y0))
        self.item0_on, self.item0_off = lines[4], lines[6]
        x1, y1 = lines[8].split()[:2]
        self.item1_at = (field(x1), field(y1))
        self.item1_on, self.item1_off = lines[9], lines[11]
        self.data_dir = data_dir

    def render(self, selection):
        """The menu as the game should draw it (y up, picture origin at its lower-left)."""
        frame = Image.new("RGBA", (WIDTH, HEIGHT), (0, 0, 0, 255))
        pictures = [(self.background, self.background_at)]
        pictures.append((self.item0_on if selection == 0 else self.item0_off, self.item0_at))
        pictures.append((self.item1_off if selection == 0 else self.item1_on, self.item1_at))
        for path, (x, y) in pictures:
            image = Image.open(os.path.join(self.data_dir, path)).convert("RGBA")
            frame.alpha_composite(image, (x, HEIGHT - y - image.height))
        return frame.convert("RGB")


def rms(a, b):
    diff = ImageChops.difference(a, b).convert("L")
    hist = diff.histogram()
    total = sum(v * v * n for v, n in enumerate(hist))
    return (total / (a.width * a.height)) ** 0.5


def note(game, text):
    game.notes = getattr(game, "notes", []) + [text]


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def scenario_menu_selection(game):
    menu = Menu(game.data_dir)
    game.wait_window()
    first = screenshot()
    check(rms(first, menu.render(0)) < 6, "menu does not show item 0 selected (rms %.1f)"
          % rms(first, menu.render(0)))
    game.key("Down")
    time.sleep(0.4)
    second = screenshot()
    check(rms(second, menu.render(1)) < 6, "Down does not select item 1 (rms %.1f)"
          % rms(second, menu.render(1)))
    check(rms(first, second) > 1, "the menu did not change on Down")
    note(game, "rms item0 %.2f item1 %.2f swap %.2f" % (rms(first, menu.render(0)),
                                                        rms(second, menu.render(1)),
                                                        rms(first, second)))


def credits_image(data_dir):
    image = Image.open(os.path.join(data_dir, "Images/credits.png")).convert("RGBA")
    frame = Image.new("RGBA", (WIDTH, HEIGHT), (0, 0, 0, 255))
    frame.alpha_composite(image, (0, HEIGHT - image.height))
    return frame.convert("RGB")


def scenario_credits_from_menu(game):
    game.wait_window()
    game.key("Down")
    game.key("Return")
    time.sleep(2.5)  # the menu's delay, then the credits
    shot = screenshot()
    check(rms(shot, credits_image(game.data_dir)) < 6, "credits not shown (rms %.1f)"
          % rms(shot, credits_image(game.data_dir)))
    check(game.proc.poll() is None, "ended before a key")
    game.key("space")
    code = game.exit_code()
    check(code == 0, "exit code %d" % code)


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
    lines = record_lines(os.path.join(data_dir, "Levels/Niveau1.ini"))
    path = lines[1].split()[0]
    image = Image.open(os.path.join(data_dir, path)).convert("RGBA")
    frame = Image.new("RGBA", (WIDTH, HEIGHT), (0, 0, 0, 255))
    frame.alpha_composite(image, (0, HEIGHT - image.height))
    return frame.convert("RGB")


def scenario_level_walk(game):
    game.wait_window()
    game.key("Return")
    time.sleep(2.5)
    colours = hero_colours(game.data_dir, level_background(game.data_dir))
    x0, n0 = hero_centre(screenshot(), colours)
    game.hold("Right", 1.0)
    time.sleep(0.2)
    x1, n1 = hero_centre(screenshot(), colours)
    check(x0 is not None and x1 is not None, "no hero on screen (%d, %d pixels)" % (n0, n1))
    # One second of walking at 3 px per frame is about 180 px.
    check(x1 > x0 + 100, "the hero did not move right (%s -> %s)" % (x0, x1))
    note(game, "hero x %.0f -> %.0f (%d px of hero)" % (x0, x1, n1))
    game.key("Escape")
    time.sleep(0.6)
    shot = screenshot()
    check(rms(shot, credits_image(game.data_dir)) < 6, "Escape did not reach the credits")
    game.key("a")
    code = game.exit_code()
    check(code == 0, "exit code %d" % code)


def scenario_close_from_menu(game):
    game.wait_window()
    game.proc.send_signal(signal.SIGTERM)  # SDL turns it into a quit event
    code = game.exit_code()
    check(code == 0, "exit code %d" % code)


SCENARIOS = {
    "menu-selection": scenario_menu_selection,
    "credits-from-menu": scenario_credits_from_menu,
    "level-walk": scenario_level_walk,
    "close-from-menu": scenario_close_from_menu,
}


def main():
    binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    names = sys.argv[3:] or list(SCENARIOS)
    failed = 0
    for name in names:
        game = Game(binary, data_dir)
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
