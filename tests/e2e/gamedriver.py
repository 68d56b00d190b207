"""Drives the real game on an X server: keys in; shots, sound, its play record, its end out."""
import os
import pathlib
import re
import select
import shutil
import subprocess
import tempfile
import time

import numpy
from PIL import Image, ImageChops, ImageGrab

WIDTH, HEIGHT = 1024, 768
RATE = 44100  # the sound device's sample rate


class Display:
    """The X display named, or a private Xvfb of this size, with or without GLX and openbox."""

    def __init__(self, name=None, size=(WIDTH, HEIGHT), glx=True, wm=False):
        self.server, self.wm, self.size = None, None, size
        if name is None:
            read_end, write_end = os.pipe()
            self.server = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % size,
                 "+extension" if glx else "-extension", "GLX", "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write_end)
            with os.fdopen(read_end) as numbers:
                ready = select.select([numbers], [], [], 30)[0]
                name = ":" + numbers.readline().strip() if ready else ""
            check(len(name) > 1, "Xvfb did not start")
        self.name, self.env = name, dict(os.environ, DISPLAY=name, LIBGL_ALWAYS_SOFTWARE="1")
        if wm:
            self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            poll(lambda: "window id" in subprocess.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, text=True,
                capture_output=True).stdout, 10, "openbox did not start")

    def close(self):
        for process in (self.wm, self.server):
            if process:
                process.terminate()
                process.wait()

    def key(self, name, hold=0.12):  # how long the key is down: input, nothing looked at
        subprocess.run(["xdotool", "keydown", name, "sleep", str(hold), "keyup", name],
                       env=self.env, check=True)

    def screenshot(self):
        return ImageGrab.grab(xdisplay=self.name)


class Game:
    def __init__(self, binary, data_dir, display, record=False, options=()):
        """record: the live mix (float stereo) to self.wav; the play always to self.demo."""
        self.display, self.data_dir, self.err, self.record = display, data_dir, "", record
        self.dir, self.sound_start = tempfile.mkdtemp(prefix="tolvek-sound-"), None
        self.wav, self.demo, env = self.dir + "/mix.wav", self.dir + "/play.demo", display.env
        if record:
            env = dict(env, ALSOFT_CONF=self.dir + "/alsoft.conf")
            with open(env["ALSOFT_CONF"], "w") as f:
                f.write("[general]\ndrivers=wave\n[wave]\nfile=%s\n" % self.wav)
        self.proc = subprocess.Popen([binary, "--record", self.demo] + list(options), cwd=data_dir,
                                     env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.key, self.hold, self.screenshot = display.key, display.key, display.screenshot

    def wait_window(self, timeout=10):
        """The window once it exists (maybe not drawn yet); None when the game ended first."""
        deadline = time.time() + timeout
        while time.time() < deadline and self.proc.poll() is None:
            if self.sound_start is None and os.path.exists(self.wav):
                self.sound_start = time.time()
            found = self.windows()
            if found and (not self.record or self.sound_start):
                return found[0]
            time.sleep(0.01)
        check(self.proc.poll() is not None, "no game window after %d s" % timeout)

    def windows(self):  # the ids of the windows bearing the game's caption
        return subprocess.run(["xdotool", "search", "--name", "VELM Tolvek"], text=True,
                              env=self.display.env, capture_output=True).stdout.split()

    def started(self):
        if self.wait_window(timeout=30) is None:
            raise AssertionError("game exited early (%d): %r" % (self.exit_code(), self.err))

    def checkpoints(self):
        """The play's checkpoints so far (from FILE.part until the end), each a dict."""
        try:
            data = open(self.demo + ".part", "rb").read()
        except FileNotFoundError:
            data = open(self.demo, "rb").read()
        # Printable values only: the bytes after a block may spell "c=" by chance.
        texts = re.findall(rb"screen=[ -~]*\n(?:[a-z]+=[ -~]*\n)*", data)
        return [dict(line.split("=", 1) for line in t.decode().split("\n")[:-1]) for t in texts]

    def wait_play(self, holds, timeout, what):  # checkpoints come every second
        poll(lambda: any(holds(c) for c in self.checkpoints()), timeout,
             "%s did not happen within %d s" % (what, timeout), 0.2, self.proc)

    def enter_level(self):  # Return at the menu's first checkpoint; back at the level's
        self.wait_play(lambda c: c["screen"] == "MenuState", 20, "the menu")
        self.key("Return")
        self.wait_play(lambda c: c["screen"] == "LevelState", 10, "the level")

    def wait_for(self, shows, timeout, what):  # shows(shot)'s first true answer
        return poll(lambda: shows(self.screenshot()), timeout,
                    "%s did not show within %d s" % (what, timeout), proc=self.proc)

    def leave(self):  # Escape to the credits, then any key: the exit code
        self.key("Escape")
        self.wait_play(lambda c: c["screen"] == "CreditsState", 10, "the credits")
        self.key("a")
        return self.exit_code()

    def exit_code(self, timeout=30):  # a hang is killed and reported
        try:
            self.err = self.proc.communicate(timeout=timeout)[1].decode(errors="replace")
        except subprocess.TimeoutExpired:
            self.stop()
            raise AssertionError("game did not end within %d s" % timeout)
        return self.proc.returncode

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.communicate()
        shutil.rmtree(self.dir, ignore_errors=True)

    def samples(self):  # every frame written so far (the header's length is a placeholder)
        data = open(self.wav, "rb").read()
        at = data.find(b"data") + 8 if b"data" in data else len(data)
        return numpy.frombuffer(data[at:at + (len(data) - at) // 8 * 8], "<f4").reshape(-1, 2)

    def levels(self, t0, t1, step=0.02):
        """RMS per step-long window from wall-clock t0 to t1 (one if step is None), once written."""
        check(self.sound_start is not None, "the game opened no sound device")
        poll(lambda: len(self.samples()) >= (t1 - self.sound_start) * RATE,  # fails 30 s after t1
             max(time.time(), t1) + 30 - time.time(),
             "the sound device did not write up to %.1f s" % (t1 - self.sound_start))
        frames = self.samples()[max(0, int((t0 - self.sound_start) * RATE)):
                                max(0, int((t1 - self.sound_start) * RATE))]
        size = int(step * RATE) if step else max(1, len(frames))
        frames = frames[:len(frames) // size * size].reshape(-1, size * 2)
        check(len(frames), "no sound window from %.2f to %.2f s" % (t0, t1))
        return list(numpy.sqrt(numpy.mean(frames ** 2, axis=1)))


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def poll(found, timeout, failure, pause=0.05, proc=None):
    """found()'s first true answer, asked every pause s (CPU left to the game); else failure."""
    deadline = time.time() + timeout
    while time.time() < deadline and (proc is None or proc.poll() is None):
        answer = found()
        if answer:
            return answer
        time.sleep(pause)
    raise AssertionError(failure)


def rms(a, b):
    hist = ImageChops.difference(a, b).convert("L").histogram()
    return (sum(v * v * n for v, n in enumerate(hist)) / (a.width * a.height)) ** 0.5


def file_lines(path, keepends=False):  # with their own endings (CRLF stays) if keepends
    return open(path, "rb").read().decode().splitlines(keepends)


class Content:
    """A throw-away copy of the data folder: level files copied, the rest linked."""

    def __init__(self, source):
        self.dir, source = tempfile.mkdtemp(prefix="tolvek-broken-"), os.path.abspath(source)
        shutil.copytree(source, self.dir, dirs_exist_ok=True, copy_function=lambda s, d: (
            shutil.copyfile if s.startswith(source + "/Levels/") else os.symlink)(s, d))

    def path(self, rel):
        return os.path.join(self.dir, rel)

    def remove(self, rel):  # links are to files only
        (shutil.rmtree if os.path.isdir(self.path(rel)) else os.unlink)(self.path(rel))

    def write(self, rel, data):  # the link removed first: never written through into data/
        pathlib.Path(self.path(rel)).unlink(missing_ok=True)
        pathlib.Path(self.path(rel)).write_bytes(data if isinstance(data, bytes) else data.encode())

    def replace(self, rel, old, new):  # re.sub over its lines joined by \n, keeping its ending
        ending = "\r\n" if file_lines(self.path(rel), True)[0].endswith("\r\n") else "\n"
        lines = re.sub(old, new, "\n".join(file_lines(self.path(rel)))).split("\n")
        self.write(rel, "".join(line + ending for line in lines))

    def close(self):
        shutil.rmtree(self.dir, ignore_errors=True)


def field(text):  # the number after a label's colon as the game reads it; 0 when none
    found = re.match(r"\s*([+-]?\d+)", text.split(":", 1)[1] if ":" in text else "")
    return int(found.group(1)) if found else 0


def screen_with(data_dir, *pictures, frame=None):  # pictures (path, lower-left (x, y)) on black
    frame = (frame or Image.new("RGB", (WIDTH, HEIGHT))).convert("RGBA")
    for path, at in pictures:
        try:  # the game draws nothing for a picture it cannot read
            image = Image.open(os.path.join(data_dir, path)).convert("RGBA")
        except OSError:
            continue
        frame.alpha_composite(image, (at[0], HEIGHT - at[1] - image.height))
    return frame.convert("RGB")


def menu_screen(data_dir, selection=0):  # the menu as its file says, an item selected
    lines = file_lines(os.path.join(data_dir, "Levels/Menu.ini"))
    at = [tuple(field(w) for w in lines[i].split()[:2]) for i in (2, 3, 8)]
    item0, item1 = (4, 11) if selection == 0 else (6, 9)
    frame = screen_with(data_dir, (lines[1], at[0]), (lines[item0], at[1]), (lines[item1], at[2]))
    return with_text(frame, data_dir, "O or the pad's Y: Options", 640, 0.85)


def with_text(frame, data_dir, text, top, grey):  # a line of the game's font, centred
    try:
        font = Image.open(os.path.join(data_dir, "Fonts/font.png")).convert("RGBA")
    except OSError:
        return frame
    w, h = font.width // 16, font.height // 16
    line = Image.new("RGBA", (w * len(text), h))
    for i, code in enumerate(text.encode("cp1252")):
        line.paste(font.crop((code % 16 * w, code // 16 * h, (code % 16 + 1) * w,
                              (code // 16 + 1) * h)), (i * w, 0))
    r, g, b, a = line.split()
    shade = Image.merge("RGBA", [c.point(lambda v: round(v * grey)) for c in (r, g, b)] + [a])
    frame = frame.convert("RGBA")
    frame.alpha_composite(shade, (WIDTH // 2 - line.width // 2, top))
    return frame.convert("RGB")
