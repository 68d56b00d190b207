"""Drives the real game on an X server: start it, find its window, press keys,
take screenshots, and read how it ended."""
import functools
import os
import re
import select
import shutil
import subprocess
import tempfile
import time

import numpy
from PIL import Image, ImageChops

WIDTH, HEIGHT = 1024, 768
RATE = 44100  # the sound device's sample rate
WINDOW_NAME = "VELM Tolvek"


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
            ready = select.select([numbers], [], [], 30)[0]
            number = numbers.readline().strip() if ready else ""
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
        xwd = self.run("xwd", "-root", "-silent", capture_output=True, check=True).stdout
        fields = numpy.frombuffer(xwd[:100], dtype=">u4")
        header, line = fields[0], fields[12]
        # The test server's layout: 24-bit depth in 32-bit little-endian pixels.
        assert (fields[3], fields[7], fields[11]) == (24, 0, 32), fields[:13]
        start = header + fields[19] * 12  # after the colour map
        pixels = numpy.frombuffer(xwd[start:start + line * HEIGHT], dtype=numpy.uint8)
        return Image.fromarray(pixels.reshape(HEIGHT, line // 4, 4)[:, :WIDTH, 2::-1].copy())


class Game:
    def __init__(self, binary, data_dir, display, record=False):
        """record=True has the sound library write the game's mix to a file."""
        self.display, self.data_dir = display, data_dir
        self.sound = Recording() if record else None
        env = dict(display.env, ALSOFT_CONF=self.sound.config) if record else display.env
        self.proc = subprocess.Popen([binary], cwd=data_dir, env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE)
        self.err = self.window = None
        self.key = self.hold = display.key  # hold(name, seconds)
        self.screenshot = display.screenshot

    def wait_window(self, timeout=10):
        """The window, once it shows; None when the game ended first."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.proc.poll() is not None:
                return None
            if self.sound:
                self.sound.notice_start()
            window = self.display.find_window()
            if window and (not self.sound or self.sound.start):
                time.sleep(0.8)  # first frames
                self.window = window
                return window
            time.sleep(0.01)
        raise AssertionError("no game window after %d s" % timeout)

    def started(self):
        if self.wait_window(timeout=30) is None:
            self.exit_code()
            raise AssertionError("game exited early: %r" % self.stderr_text())

    def enter_level(self):
        """Return on the menu; the level's first frame and when it showed.
        When Return went down is kept in self.returned."""
        if self.window is None:
            self.started()
        background = LevelFile(self.data_dir).render()
        self.returned = time.time()
        self.key("Return")
        return self.wait_for(lambda shot: rms(shot, background) < 40, 10, "the level")

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
            self.err = self.proc.communicate(timeout=timeout)[1]
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.err = self.proc.communicate()[1]
            raise AssertionError("game did not end within %d s" % timeout)
        return self.proc.returncode

    def stderr_text(self):
        return (self.err or b"").decode(errors="replace")

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.communicate()
        if self.sound:
            self.sound.close()


class Recording:
    """The game's mix as OpenAL Soft's wave-file device writes it, in real
    time, as 32-bit float stereo. Times are wall-clock seconds (time.time()),
    counted from the moment the file appeared."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="tolvek-sound-")
        self.file = os.path.join(self.dir, "mix.wav")
        self.config = os.path.join(self.dir, "alsoft.conf")
        with open(self.config, "w") as f:
            f.write("[general]\ndrivers=wave\n[wave]\nfile=%s\n" % self.file)
        self.start = None

    def notice_start(self):
        if self.start is None and os.path.exists(self.file):
            self.start = time.time()

    def samples(self):
        """Every frame written so far; the header keeps its placeholder length."""
        with open(self.file, "rb") as f:
            data = f.read()
        at = data.index(b"data") + 8
        usable = (len(data) - at) // 8 * 8
        return numpy.frombuffer(data[at:at + usable], dtype="<f4").reshape(-1, 2)

    def frames(self, t0, t1):
        if self.start is None:
            raise AssertionError("the game opened no sound device")
        at = lambda t: max(0, int((t - self.start) * RATE))
        return self.samples()[at(t0):at(t1)]

    def level(self, t0, t1):
        """RMS of the mix between two wall-clock times."""
        frames = self.frames(t0, t1)
        return float(numpy.sqrt(numpy.mean(frames ** 2))) if len(frames) else 0.0

    def levels(self, t0, t1, step=0.02):
        """RMS of each step-long window between two times."""
        size = int(step * RATE)
        frames = self.frames(t0, t1)
        frames = frames[:len(frames) // size * size].reshape(-1, size * 2)
        return list(numpy.sqrt(numpy.mean(frames ** 2, axis=1)))

    def wait_until(self, t):
        """Until the device has written up to time t."""
        deadline = time.time() + 5
        while len(self.samples()) < (t - self.start) * RATE and time.time() < deadline:
            time.sleep(0.05)

    def close(self):
        shutil.rmtree(self.dir, ignore_errors=True)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def rms(a, b):
    diff = ImageChops.difference(a, b).convert("L")
    hist = diff.histogram()
    total = sum(v * v * n for v, n in enumerate(hist))
    return (total / (a.width * a.height)) ** 0.5


def file_lines(path):
    """A file's lines with their own line endings (CRLF stays CRLF)."""
    with open(path, "rb") as f:
        return f.read().decode().splitlines(keepends=True)


def record_lines(path):
    return [line.rstrip("\r\n") for line in file_lines(path)]


class Content:
    """A throw-away copy of the data folder: level files copied, the rest
    linked, so any file can be replaced without touching the original."""

    def __init__(self, source):
        self.dir = tempfile.mkdtemp(prefix="tolvek-broken-")
        for folder, _, files in os.walk(source):
            rel = os.path.relpath(folder, source)
            os.makedirs(os.path.join(self.dir, rel), exist_ok=True)
            for name in files:
                src, dst = os.path.join(folder, name), os.path.join(self.dir, rel, name)
                if rel == "Levels":
                    shutil.copyfile(src, dst)
                else:
                    os.symlink(os.path.abspath(src), dst)

    def path(self, rel):
        return os.path.join(self.dir, rel)

    def remove(self, rel):
        if os.path.isdir(self.path(rel)) and not os.path.islink(self.path(rel)):
            shutil.rmtree(self.path(rel))
        else:
            os.unlink(self.path(rel))

    def write(self, rel, data):
        if os.path.lexists(self.path(rel)):
            os.unlink(self.path(rel))
        with open(self.path(rel), "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode())

    def edit(self, rel, change):
        """change(lines) edits a list of lines without their endings."""
        original = file_lines(self.path(rel))
        ending = "\r\n" if original and original[0].endswith("\r\n") else "\n"
        lines = [line.rstrip("\r\n") for line in original]
        change(lines)
        self.write(rel, "".join(line + ending for line in lines))

    def replace(self, rel, old, new):
        self.edit(rel, lambda lines: lines.__setitem__(
            slice(None), [line.replace(old, new) for line in lines]))

    def close(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def silence(self, rel):
        """Replaces a sound with silence of the same length."""
        seconds = subprocess.run(["soxi", "-D", self.path(rel)], capture_output=True,
                                 text=True, check=True).stdout.strip()
        os.unlink(self.path(rel))
        # Low rate and mono: encodes in a fraction of the time, plays as long.
        subprocess.run(["sox", "-n", "-r", "8000", "-c", "1", self.path(rel), "trim", "0",
                        seconds], check=True)


def field(text):
    """The number after a label's colon as the game reads it; 0 when there is none."""
    found = re.match(r"\s*([+-]?\d+)", text.split(":", 1)[1] if ":" in text else "")
    return int(found.group(1)) if found else 0


def screen_with(*pictures):
    """A black screen with pictures drawn in order, each (path, (x, y)), y up
    from the bottom edge to the picture's lower-left corner."""
    frame = Image.new("RGBA", (WIDTH, HEIGHT), (0, 0, 0, 255))
    for path, at in pictures:
        image = Image.open(path).convert("RGBA")
        frame.alpha_composite(image, box_of(image, at)[:2])
    return frame.convert("RGB")


class Menu:
    """Where the menu file puts its pictures (mostly line based)."""

    def __init__(self, data_dir):
        lines = record_lines(os.path.join(data_dir, "Levels/Menu.ini"))
        self.background, self.item0_on, self.item0_off, self.item1_on, self.item1_off = (
            lines[i] for i in (1, 4, 6, 9, 11))
        self.background_at, self.item0_at, self.item1_at = (
            tuple(field(w) for w in lines[i].split()[:2]) for i in (2, 3, 8))
        words = lines[13].split()
        self.music, self.move, self.ok = (w.split(":", 1)[1] for w in words[:3])
        self.delay = field(words[3]) / 1000.0
        self.data_dir = data_dir

    def render(self, selection):
        """The menu as the game should draw it (y up, picture origin at its lower-left)."""
        pictures = ((self.background, self.background_at),
                    (self.item0_on if selection == 0 else self.item0_off, self.item0_at),
                    (self.item1_off if selection == 0 else self.item1_on, self.item1_at))
        return screen_with(*((os.path.join(self.data_dir, p), at) for p, at in pictures))


class LevelFile:
    """What the level and hero files put on screen: the background, the
    platforms, the hazard spots (warning and projectile pictures with where
    they show, y up from the bottom edge) and the hero's start."""

    SPOT_LINES = 9

    def __init__(self, data_dir):
        lines = record_lines(os.path.join(data_dir, "Levels/Niveau1.ini"))
        self.data_dir = data_dir
        self.background = lines[1].split()[0]
        platforms = next(i for i, line in enumerate(lines) if line.startswith("Platforms"))
        words = lines[platforms].split()
        self.platform = (words[1], (field(words[2]), field(words[3])))
        count = field(lines[platforms + 2])
        self.platforms = [tuple(field(w) for w in line.split()[:2])
                          for line in lines[platforms + 3:platforms + 3 + count]]
        start = next(i for i, line in enumerate(lines) if line.startswith("Hazards"))
        self.spots = []
        for n in range(field(lines[start].split()[-1])):
            r = lines[start + 1 + n * self.SPOT_LINES:start + 1 + (n + 1) * self.SPOT_LINES]
            self.spots.append({"warning": (r[0], (field(r[1]), field(r[2]))),
                               "projectile": (r[4], (field(r[5]), field(r[6])))})
        hero = record_lines(os.path.join(data_dir, "Levels/Heros.ini"))
        self.hero_strips = [line.split()[0] for line in hero[1:12] if line.startswith("Images")]
        self.hero_start = tuple(field(w) for w in hero[11].split()[-2:])

    def picture(self, path):
        return Image.open(os.path.join(self.data_dir, path)).convert("RGBA")

    def render(self, cell=0):
        """The first frame: background, platforms, the hero standing at his
        start, showing one cell of his strip."""
        frame = Image.new("RGBA", (WIDTH, HEIGHT), (0, 0, 0, 255))
        frame.alpha_composite(self.picture(self.background), (0, 0))
        path, (ax, ay) = self.platform
        platform = self.picture(path)
        for x, y in self.platforms:
            frame.alpha_composite(platform, box_of(platform, (x - ax, y - ay))[:2])
        standing = self.picture(self.hero_strips[1]).crop((cell * 48, 0, cell * 48 + 48, 64))
        frame.alpha_composite(standing, box_of(standing, self.hero_start)[:2])
        return frame.convert("RGB")

    def hero_colours(self, strip):
        """Colours of one of the hero's strips that no other picture of his,
        nor the background, uses: where they show, that pose shows."""
        own = self.colours(self.hero_strips[strip])
        others = set(self.picture(self.background).convert("RGB").getdata())
        for i, path in enumerate(self.hero_strips):
            if path != self.hero_strips[strip]:
                others |= self.colours(path)
        return own - others

    @functools.lru_cache(maxsize=None)
    def colours(self, path):
        return frozenset(p[:3] for p in self.picture(path).getdata() if p[3] == 255)


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
