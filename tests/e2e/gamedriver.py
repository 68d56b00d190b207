"""Drives the real game on an X server: start it, find its window, press keys,
take screenshots, and read how it ended."""
import os
import subprocess
import time
from io import BytesIO

import numpy
from PIL import Image, ImageChops

WIDTH, HEIGHT = 1024, 768
WINDOW_NAME = "VELM Tolvek"
SANITIZER_MARKS = ("AddressSanitizer", "LeakSanitizer", "UndefinedBehaviorSanitizer",
                   "runtime error:", "SUMMARY:")


class Display:
    """An X display: the one in DISPLAY, or a private Xvfb started here."""

    def __init__(self, name=None):
        self.server = None
        if name is None:
            name = self._start_xvfb()
        self.name = name
        self.env = dict(os.environ, DISPLAY=name, LIBGL_ALWAYS_SOFTWARE="1")

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (WIDTH, HEIGHT),
             "+extension", "GLX", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        return ":" + number

    def close(self):
        if self.server:
            self.server.terminate()
            self.server.wait()

    def run(self, *command, **kwargs):
        return subprocess.run(list(command), env=self.env, **kwargs)

    def find_window(self):
        found = self.run("xdotool", "search", "--name", WINDOW_NAME, capture_output=True,
                         text=True)
        return found.stdout.split()[0] if found.stdout.strip() else None

    def key(self, name, hold=0.12):
        self.run("xdotool", "keydown", name, check=True)
        time.sleep(hold)
        self.run("xdotool", "keyup", name, check=True)

    def screenshot(self):
        xwd = self.run("xwd", "-root", "-silent", capture_output=True, check=True)
        png = subprocess.run(["convert", "xwd:-", "png:-"], input=xwd.stdout,
                             capture_output=True, check=True)
        return Image.open(BytesIO(png.stdout)).convert("RGB")


class Game:
    def __init__(self, binary, data_dir, display, keep_stdout=True):
        """keep_stdout=False for long runs: nobody reads the pipe until the end."""
        self.display = display
        self.binary = binary
        self.data_dir = data_dir
        self.proc = subprocess.Popen([binary], cwd=data_dir, env=display.env,
                                     stdout=subprocess.PIPE if keep_stdout else subprocess.DEVNULL,
                                     stderr=subprocess.PIPE)
        self.out = self.err = None

    def wait_window(self, timeout=10):
        """The window, once it shows; None when the game ended first."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.proc.poll() is not None:
                return None
            window = self.display.find_window()
            if window:
                time.sleep(0.8)  # first frames
                return window
            time.sleep(0.1)
        raise AssertionError("no game window after %d s" % timeout)

    def key(self, name, hold=0.12):
        self.display.key(name, hold)

    def hold(self, name, seconds):
        self.display.key(name, hold=seconds)

    def screenshot(self):
        return self.display.screenshot()

    def wait_for(self, shows, timeout, what):
        """Polls screenshots until shows(shot) holds; the shot and when it was taken."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            taken = time.time()
            shot = self.screenshot()
            if shows(shot):
                return shot, taken
            if self.proc.poll() is not None:
                break
        raise AssertionError("%s did not show within %d s" % (what, timeout))

    def exit_code(self, timeout=5):
        """Waits for the end; a hang is killed and reported."""
        try:
            self.out, self.err = self.proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.out, self.err = self.proc.communicate()
            raise AssertionError("game did not end within %d s" % timeout)
        return self.proc.returncode

    def leave_level(self, timeout=20):
        """Escape to the credits, any key there; the exit code."""
        self.key("Escape")
        time.sleep(1.0)
        self.key("a")
        return self.exit_code(timeout=timeout)

    def stderr_text(self):
        return (self.err or b"").decode(errors="replace")

    def output(self):
        return "stdout=%r stderr=%r" % (self.out, self.err)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.communicate()


def rms(a, b):
    diff = ImageChops.difference(a, b).convert("L")
    hist = diff.histogram()
    total = sum(v * v * n for v, n in enumerate(hist))
    return (total / (a.width * a.height)) ** 0.5


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


def screen_with(picture_path, at=(0, 0)):
    """A black screen with one picture at (x, y), y up from the bottom edge."""
    image = Image.open(picture_path).convert("RGBA")
    frame = Image.new("RGBA", (WIDTH, HEIGHT), (0, 0, 0, 255))
    frame.alpha_composite(image, (at[0], HEIGHT - at[1] - image.height))
    return frame


def credits_image(data_dir):
    return screen_with(os.path.join(data_dir, "Images/credits.png")).convert("RGB")


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


class LevelFile:
    """The level file's background and hazard spots (warning and projectile
    pictures with where they show, y up from the bottom edge)."""

    SPOT_LINES = 9

    def __init__(self, data_dir):
        lines = record_lines(os.path.join(data_dir, "Levels/Niveau1.ini"))
        self.data_dir = data_dir
        self.background = lines[1].split()[0]
        start = next(i for i, line in enumerate(lines) if line.startswith("Hazards"))
        self.spots = []
        for n in range(field(lines[start].split()[-1])):
            r = lines[start + 1 + n * self.SPOT_LINES:start + 1 + (n + 1) * self.SPOT_LINES]
            self.spots.append({"warning": (r[0], (field(r[1]), field(r[2]))),
                               "projectile": (r[4], (field(r[5]), field(r[6])))})

    def picture(self, path):
        return Image.open(os.path.join(self.data_dir, path)).convert("RGBA")


def box_of(image, at):
    """The screen box (left, top, right, bottom) of a picture drawn at (x, y), y up."""
    return (at[0], HEIGHT - at[1] - image.height, at[0] + image.width, HEIGHT - at[1])


class SpotWatch:
    """Tells, from a screenshot, which phase each hazard spot shows: None,
    "warning" or "projectile", by which picture over the idle frame matches best."""

    def __init__(self, level, idle_frame):
        self.spots = []
        for spot in level.spots:
            pictures = {phase: (level.picture(path), at) for phase, (path, at) in spot.items()}
            boxes = [box_of(image, at) for image, at in pictures.values()]
            box = (min(b[0] for b in boxes), min(b[1] for b in boxes),
                   max(b[2] for b in boxes), max(b[3] for b in boxes))
            idle = idle_frame.convert("RGBA").crop(box)
            looks = {None: numpy.asarray(idle.convert("RGB"), dtype=float)}
            for phase, (image, at) in pictures.items():
                frame = idle.copy()
                frame.alpha_composite(image, (at[0] - box[0], box_of(image, at)[1] - box[1]))
                looks[phase] = numpy.asarray(frame.convert("RGB"), dtype=float)
            self.spots.append((box, looks))

    def phases(self, shot):
        found = []
        for box, looks in self.spots:
            seen = numpy.asarray(shot.crop(box), dtype=float)
            found.append(min(looks, key=lambda phase: numpy.abs(seen - looks[phase]).mean()))
        return found
