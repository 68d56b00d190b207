#!/usr/bin/env python3
"""Checks the game's content the way the game reads it.

Usage: python3 tools/check_content.py [DATA_DIR]      (default: data/ next to tools/)
Walks every content file item by item (tokens, whole lines, bare integers,
labelled values), then checks that each named file exists, that pictures
are 8-bit RGBA PNG files (the font atlas of its size), that sounds decode,
that tokens fit in 49 characters, that the intro music lasts 106718 ms
(+-50), and that every platform and target can be reached with the hero's
own movement numbers.
Exit status 0 when everything holds, 1 otherwise.
"""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

from PIL import Image

WS = b" \t\n\r\v\f"
TOKEN_MAX = 49
INTRO = ("Sounds/music-ingame-a.ogg", 106718, 50)
# 16 x 16 cells of 11 x 22 pixels (tools/font.py); the game takes the cell from the size.
FONT_ATLAS = ("Fonts/font.png", (16 * 11, 16 * 22))
FIXED = ["Sounds/music-ingame-a.ogg", "Sounds/music-ingame-b.ogg", "Sound/music-interface.ogg",
         "Images/credits.png", "Images/paused.png", "Levels/Viewport.xml", "Levels/Heros.ini",
         "Levels/Niveau1.ini", "Levels/Menu.ini", FONT_ATLAS[0]]


class Bad(Exception):
    pass


class Reader:
    """Forward-only reads of one file, as the game's readers do them."""

    def __init__(self, root, rel):
        self.name = rel
        path = os.path.join(root, rel)
        if not os.path.isfile(path):
            raise Bad("%s: missing" % rel)
        self.b = open(path, "rb").read()
        self.i = 0

    def _fail(self, what):
        raise Bad("%s: %s missing at byte %d" % (self.name, what, self.i))

    def token(self, what):
        while self.i < len(self.b) and self.b[self.i] in WS:
            self.i += 1
        j = self.i
        while self.i < len(self.b) and self.b[self.i] not in WS:
            self.i += 1
        if j == self.i:
            self._fail(what)
        t = self.b[j:self.i].decode("latin-1")
        if len(t) > TOKEN_MAX:
            raise Bad("%s: token longer than %d characters: %s" % (self.name, TOKEN_MAX, t))
        return t

    def line(self, what):
        if self.i >= len(self.b):
            self._fail(what)
        j = self.b.find(b"\n", self.i)
        j = len(self.b) if j < 0 else j
        s = self.b[self.i:j]
        self.i = j + 1
        return (s[:-1] if s.endswith(b"\r") else s).decode("latin-1")

    def bare_int(self, what):
        while self.i < len(self.b) and self.b[self.i] in WS:
            self.i += 1
        m = re.match(rb"[+-]?\d+", self.b[self.i:])
        if not m:
            self._fail(what)
        self.i += m.end()
        return int(m.group())

    def value(self, text, what):
        if ":" not in text:
            raise Bad("%s: %s has no colon: %r" % (self.name, what, text))
        return text.split(":", 1)[1]

    def int_field(self, what, text=None):
        v = self.value(self.token(what) if text is None else text, what)
        m = re.match(r"\s*[+-]?\d+", v)
        return int(m.group()) if m else 0

    def float_field(self, what):
        v = self.value(self.token(what), what)
        m = re.match(r"\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?", v)
        return float(m.group()) if m else 0.0

    def count(self, what):
        n = self.int_field(what)
        if n < 0:
            raise Bad("%s: negative count for %s" % (self.name, what))
        return n


class Checker:
    def __init__(self, root):
        self.root = root
        self.errors = []
        self.images = {}     # rel path -> (w, h)
        self.sounds = set()

    def err(self, msg):
        self.errors.append(msg)

    def image(self, rel):
        self.images.setdefault(rel, None)
        return rel

    def sound(self, rel):
        self.sounds.add(rel)
        return rel

    # ---- files ---------------------------------------------------------
    def viewport(self):
        r = ET.parse(os.path.join(self.root, "Levels/Viewport.xml")).getroot()
        vals = {k: r.get(k, "") for k in ("x", "y", "width", "height")}
        if vals != {"x": "0", "y": "0", "width": "1024", "height": "768"}:
            self.err("Viewport.xml: expected x 0 y 0 width 1024 height 768, got %s" % vals)

    def hero(self):
        r = Reader(self.root, "Levels/Heros.ini")
        self.strips, self.jumps, self.walk = [], [], []
        r.line("title line")
        for block in range(1, 12):
            if block > 1:
                r.line("rest of line before block %d" % block)
            if block == 7:
                self.jumps.append(self._jump(r, 7))
                continue
            what = "block %d" % block
            path = self.image(r.token(what + " strip path"))
            speed = r.int_field(what + " speed")
            h, w = r.int_field(what + " height"), r.int_field(what + " width")
            r.int_field(what + " anchor/position x"), r.int_field(what + " anchor/position y")
            if block in (3, 4):
                self.walk.append(r.float_field(what + " walking speed"))
            if block in (5, 6):
                self.jumps.append(self._jump(r, block))
            n = r.count(what + " frame count")
            cells = [r.bare_int(what + " cell") for _ in range(n)]
            if speed == 0 or n < 1 or w < 1 or h < 1:
                self.err("Heros.ini %s: speed, frame count and cell size must be non-zero" % what)
            self.strips.append((what, path, w, h, cells))
        self.start = (r.int_field("start x"), r.int_field("start y"))
        for heading in (3, 1, 1, 1):
            for _ in range(heading):
                r.token("sound pool heading")
            n = r.count("sound count")
            if n < 1:
                self.err("Heros.ini: every sound pool needs a sound")
            for _ in range(n):
                self.sound(r.token("sound path"))
                r.float_field("sound volume")
        self.hero_h = self.strips[1][3]
        self.hero_w = self.strips[1][2]

    def _jump(self, r, block):
        w = "block %d " % block
        return (r.float_field(w + "stepX"), r.float_field(w + "startSpeedY"),
                r.float_field(w + "startDecrement"), r.int_field(w + "period"))

    def level(self):
        r = Reader(self.root, "Levels/Niveau1.ini")
        r.line("title line")
        self.image(r.token("background path"))
        r.token("ground heading")
        self.ground = [r.bare_int("ground segment") for _ in range(4)]
        r.token("platforms heading")
        self.image(r.token("platform image"))
        r.int_field("platform anchor x"), r.int_field("platform anchor y")
        r.token("platform outline heading")
        self.pseg = [r.bare_int("platform segment") for _ in range(4)]
        self.platforms = []
        for i in range(r.count("platform count")):
            r.line("rest of line before platform %d" % i)
            self.platforms.append((r.int_field("platform x"), r.int_field("platform y")))
        r.token("hazards heading")
        spots = r.count("hazard spot count")
        if spots < 5:
            self.err("Niveau1.ini: at least 5 hazard spots needed, found %d" % spots)
        self.hazards = []
        for i in range(spots):
            w = "hazard %d " % i
            r.line(w + "rest of line")
            warn = self.image(r.line(w + "warning image"))
            wx = r.int_field(w + "warning x", r.line(w + "warning x"))
            wy = r.int_field(w + "warning y", r.line(w + "warning y"))
            r.line(w + "projectile heading")
            proj = self.image(r.line(w + "projectile image"))
            px = r.int_field(w + "projectile x", r.line(w + "projectile x"))
            py = r.int_field(w + "projectile y", r.line(w + "projectile y"))
            r.line(w + "outline heading")
            outline = [r.bare_int(w + "outline") for _ in range(8)]
            self.hazards.append((warn, wx, wy, proj, px, py, outline))
        r.token("targets heading")
        self.shot = (r.int_field("shot offset x"), r.int_field("shot offset y"))
        layout_list = r.token("layout list name")
        r.token("wave sound heading"), r.token("wave sound heading")
        self.sound(r.token("wave sound")), r.float_field("wave sound volume")
        r.token("wave sounds heading")
        n = r.count("wave sound count")
        if n < 4:
            self.err("Niveau1.ini: at least 4 wave sounds needed, found %d" % n)
        for _ in range(n):
            self.sound(r.token("wave sound path")), r.float_field("wave sound volume")
        r = Reader(self.root, layout_list)
        r.token("list heading"), r.token("list heading")
        names = [r.token("layout name") for _ in range(r.count("layout count"))]
        if not names:
            self.err("%s: no layouts" % layout_list)
        self.targets, self.placed = [], []
        for name in names:
            r = Reader(self.root, name)
            r.token("layout heading")
            t = r.count("target count")
            if not 3 <= t <= 6:
                self.err("%s: %d targets, 3 to 6 wanted" % (name, t))
            for _ in range(t):
                pic = self.image(r.token("target image"))
                x, y = r.int_field("target x"), r.int_field("target y")
                pts = [(r.bare_int("outline"), r.bare_int("outline")) for _ in range(4)]
                xs, ys = [x + p[0] for p in pts], [y + p[1] for p in pts]
                self.targets.append((name, pic, min(xs), min(ys), max(xs), max(ys)))
                self.placed.append((name, pic, x, y))

    def menu(self):
        r = Reader(self.root, "Levels/Menu.ini")
        r.line("title line")
        self.image(r.line("background image"))
        r.int_field("background x"), r.int_field("background y")
        for item in (0, 1):
            if item == 0:
                r.line("rest of line")   # item 1 follows a dropped separator line
            r.int_field("item %d x" % item), r.int_field("item %d y" % item)
            r.line("rest of line")
            self.image(r.line("item %d selected image" % item))
            r.line("separator")
            self.image(r.line("item %d image" % item))
            r.line("separator")
        for what in ("music", "move sound", "validate sound"):
            self.sound(r.value(r.token(what), what))
        self.delay = r.int_field("validation delay")

    # ---- media ---------------------------------------------------------
    def media(self):
        for rel in list(self.images) + ["Images/credits.png", "Images/paused.png", FONT_ATLAS[0]]:
            p = os.path.join(self.root, rel)
            if not os.path.isfile(p):
                self.err("missing image %s" % rel)
                continue
            try:
                im = Image.open(p)
                im.load()
            except Exception as e:
                self.err("%s: not a readable image (%s)" % (rel, e))
                continue
            if im.format != "PNG" or im.mode != "RGBA":
                self.err("%s: %s %s, 8-bit RGBA PNG wanted" % (rel, im.format, im.mode))
            self.images[rel] = im.size
        if self.images.get("Images/credits.png") != (1024, 768):
            self.err("Images/credits.png must be 1024 x 768")
        rel, size = FONT_ATLAS
        if rel in self.images and self.images[rel] != size:
            self.err("%s is %s, %d x %d wanted" % ((rel, self.images[rel]) + size))
        for what, path, w, h, cells in self.strips:
            size = self.images.get(path)
            if not size:
                continue
            if size[0] % w or size[1] % h:
                self.err("%s: %s is not a whole grid of %dx%d cells" % (what, path, w, h))
            ncell = (size[0] // w) * (size[1] // h)
            if any(c < 0 or c >= ncell for c in cells):
                self.err("%s: cell index outside the %d cells of %s" % (what, ncell, path))
        lengths = {}
        for rel in sorted(self.sounds | set(FIXED[:3])):
            p = os.path.join(self.root, rel)
            if not os.path.isfile(p):
                self.err("missing sound %s" % rel)
                continue
            res = subprocess.run(["ogginfo", p], capture_output=True, text=True)
            m = re.search(r"Playback length: (\d+)m:([\d.]+)s", res.stdout)
            if res.returncode != 0 or not m or "Vorbis" not in res.stdout:
                self.err("%s: does not decode as Ogg Vorbis" % rel)
                continue
            lengths[rel] = (int(m.group(1)) * 60 + float(m.group(2))) * 1000
        rel, want, tol = INTRO
        if rel in lengths and abs(lengths[rel] - want) > tol:
            self.err("%s lasts %.0f ms, %d +- %d wanted" % (rel, lengths[rel], want, tol))
        return lengths

    # ---- can the hero get everywhere? -------------------------------------
    def reach(self):
        W, H = self.hero_w, self.hero_h
        surfaces = [(self.ground[0], self.ground[2], self.ground[1])]
        surfaces += [(x + self.pseg[0], x + self.pseg[2], y + self.pseg[1]) for x, y in self.platforms]

        def holds(s, x):
            x0, x1, _ = surfaces[s]
            return x0 < x < x1 or x0 < x + W < x1

        def spots(s):
            return [x for x in range(-10, 931) if holds(s, x)]

        def flight(x, y, move):
            step, v, dec, period = move
            counter = 0
            for _ in range(2000):
                py = y
                x, y = min(930, max(-10, x + step)), y + v
                if counter != period:
                    counter += 1
                else:
                    counter, v, dec = 0, v - dec, dec + 1
                if y <= py:
                    for k, (x0, x1, sy) in enumerate(surfaces):
                        if sy <= py and y <= sy <= y + H and holds(k, x):
                            return k
            return None

        left, right, up = self.jumps[0], self.jumps[1], self.jumps[2]
        seen, todo = {0}, [0]
        while todo:
            s = todo.pop()
            xs, sy = spots(s), surfaces[s][2]
            starts = [(x, m) for x in xs[::3] for m in (left, right, up)]
            # walking off either end starts a fall that keeps the walking side step
            starts += [(xs[0] - 1, (left[0], 0, left[2], left[3])),
                       (xs[-1] + 1, (right[0], 0, right[2], right[3]))]
            for x, m in starts:
                k = flight(x, sy, m)
                if k is not None and k not in seen:
                    seen.add(k)
                    todo.append(k)
        for k in range(1, len(surfaces)):
            if k not in seen:
                self.err("platform %d at %s cannot be reached" % (k - 1, self.platforms[k - 1]))
        for name, pic, x0, y0, x1, y1 in self.targets:
            ok = any(x0 <= x + self.shot[0] <= x1 and y0 <= surfaces[s][2] + self.shot[1] <= y1
                     for s in seen for x in spots(s))
            if not ok:
                self.err("%s: %s cannot be sprayed from any reachable spot" % (name, pic))
        return len(seen) - 1

    def text_files(self):
        for dirpath, _, files in os.walk(os.path.join(self.root, "Levels")):
            for f in files:
                if f.endswith(".ini"):
                    b = open(os.path.join(dirpath, f), "rb").read()
                    if b.count(b"\n") != b.count(b"\r\n"):
                        self.err("%s: lines must end with CR LF" % f)

    def size(self):
        total = 0
        for dirpath, _, files in os.walk(self.root):
            total += sum(os.path.getsize(os.path.join(dirpath, f)) for f in files)
        if total > 20 * 1024 * 1024:
            self.err("data is %.1f MiB, over 20 MiB" % (total / 1048576.0))
        return total


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(here), "data")
    c = Checker(root)
    for rel in FIXED:
        if not os.path.isfile(os.path.join(root, rel)):
            c.err("missing %s" % rel)
    lengths, reached = {}, 0
    try:
        c.viewport()
        c.hero()
        c.level()
        c.menu()
        c.text_files()
        lengths = c.media()
        if not c.errors:
            reached = c.reach()
    except (Bad, ET.ParseError, OSError) as e:
        c.err(str(e))
    total = c.size()
    print("images %d, sounds %d, data %.2f MiB" % (len(c.images), len(c.sounds), total / 1048576.0))
    if INTRO[0] in lengths:
        print("intro music %.0f ms" % lengths[INTRO[0]])
    if reached:
        print("platforms reached %d of %d, targets %d, all sprayable" % (reached, len(c.platforms), len(c.targets)))
    for e in c.errors:
        print("FAIL:", e)
    print("content OK" if not c.errors else "%d problem(s)" % len(c.errors))
    return 1 if c.errors else 0


if __name__ == "__main__":
    sys.exit(main())
