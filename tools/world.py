"""Level 1 pictures: the alley background, the balcony, hazards and murals."""
import math
import random
from PIL import Image, ImageDraw, ImageFilter

import layout as L
from paint import font, rgba, lerp, vgradient, glow, draw_text_centered, spray_finish

H = L.SCREEN_H


def row(y):
    """Game y (up) to image row (down)."""
    return H - y


WALL_TOP = 650          # game y of the roof line
BRICK = (112, 76, 72)
MORTAR = (84, 56, 56)


def _bricks(img, top, bottom, rng):
    d = ImageDraw.Draw(img)
    bw, bh = 26, 11
    for r, y in enumerate(range(top, bottom, bh)):
        off = (bw // 2) * (r % 2)
        for x in range(-off, L.SCREEN_W, bw):
            v = rng.randint(-9, 9)
            c = (BRICK[0] + v, BRICK[1] + v // 2, BRICK[2] + v // 2)
            if rng.random() < 0.05:
                c = (c[0] - 18, c[1] - 12, c[2] - 8)
            d.rectangle([x + 1, y + 1, x + bw - 1, y + bh - 1], fill=rgba(c))
            d.line([(x + 1, y + 1), (x + bw - 2, y + 1)], fill=rgba(lerp(c, (160, 120, 110), 0.3)))
    # mortar already shows through the 1px gaps
    return img


def background(neon=True):
    rng = random.Random(1)
    W = L.SCREEN_W
    img = vgradient(W, H, [(0.0, (18, 16, 52)), (0.12, (44, 30, 88)),
                           (0.22, (150, 70, 110)), (0.30, (240, 140, 90)), (1.0, (240, 140, 90))])
    d = ImageDraw.Draw(img)
    for _ in range(90):
        x, y = rng.randrange(W), rng.randrange(0, 110)
        b = rng.randint(140, 255)
        d.point((x, y), fill=(b, b, min(255, b + 20), 255))
    # moon
    glow(img, [820, 22, 900, 102], (255, 240, 200), 18, 0.35)
    d.ellipse([834, 36, 886, 88], fill=(250, 240, 210, 255))
    d.ellipse([846, 50, 856, 60], fill=(228, 218, 190, 255))
    d.ellipse([866, 66, 874, 74], fill=(228, 218, 190, 255))
    # far skyline with lit windows
    x = 0
    while x < W:
        bw = rng.randint(40, 90)
        top = rng.randint(70, 150)
        c = (58 + rng.randint(-6, 6), 40, 92 + rng.randint(-8, 8))
        d.rectangle([x, top, x + bw, row(WALL_TOP) + 10], fill=rgba(c))
        for wy in range(top + 8, row(WALL_TOP), 12):
            for wx in range(x + 5, x + bw - 6, 10):
                if rng.random() < 0.22:
                    d.rectangle([wx, wy, wx + 3, wy + 4], fill=(250, 210, 120, 255))
        if rng.random() < 0.3:
            d.line([(x + bw // 2, top), (x + bw // 2, top - 24)], fill=rgba(c), width=2)
            d.point((x + bw // 2, top - 25), fill=(255, 80, 80, 255))
        x += bw + rng.randint(-6, 4)

    # the wall
    wt, wb = row(WALL_TOP), row(L.GROUND_Y)
    _bricks(img, wt, wb, rng)
    d = ImageDraw.Draw(img)
    shade = Image.new("RGBA", (W, wb - wt), (0, 0, 0, 0))
    sd = ImageDraw.Draw(shade)
    for yy in range(wb - wt):
        t = yy / (wb - wt)
        a = int(90 * (1 - t) ** 3 + 40 * t ** 4)
        sd.line([(0, yy), (W, yy)], fill=(20, 10, 30, a))
    img.alpha_composite(shade, (0, wt))
    # roof cornice and a water tower
    d.rectangle([0, wt - 10, W, wt + 4], fill=(150, 140, 150, 255))
    d.rectangle([0, wt + 4, W, wt + 8], fill=(96, 84, 100, 255))
    d.line([(0, wt - 10), (W, wt - 10)], fill=(190, 180, 190, 255))
    tx = 120
    d.rectangle([tx, wt - 74, tx + 70, wt - 30], fill=(64, 44, 60, 255))
    d.polygon([(tx - 4, wt - 74), (tx + 35, wt - 100), (tx + 74, wt - 74)], fill=(54, 36, 52, 255))
    for lx in (tx + 6, tx + 30, tx + 58):
        d.line([(lx, wt - 30), (lx, wt - 10)], fill=(54, 36, 52, 255), width=3)
    for k in range(4):
        d.line([(tx, wt - 66 + 10 * k), (tx + 70, wt - 66 + 10 * k)], fill=(80, 58, 74, 255))
    # upper windows, clear of the murals
    for wx in (40, 140, 660, 760, 880):
        y0 = row(640)
        d.rectangle([wx - 4, y0 - 4, wx + 64, y0 + 60], fill=(150, 140, 150, 255))
        lit = wx in (140, 760)
        d.rectangle([wx, y0, wx + 60, y0 + 56], fill=(250, 200, 110, 255) if lit else (40, 40, 70, 255))
        d.line([(wx + 30, y0), (wx + 30, y0 + 56)], fill=(90, 80, 90, 255), width=2)
        d.line([(wx, y0 + 28), (wx + 60, y0 + 28)], fill=(90, 80, 90, 255), width=2)
        if lit:
            glow(img, [wx - 20, y0 - 10, wx + 80, y0 + 80], (255, 200, 120), 20, 0.25)
    # neon sign (the title screen puts its own title there)
    if neon:
        nx, ny = 232, row(630)
        d = ImageDraw.Draw(img)
        d.rectangle([nx, ny, nx + 200, ny + 42], fill=(30, 20, 40, 255))
        glow(img, [nx - 10, ny - 10, nx + 210, ny + 52], (255, 60, 160), 14, 0.45)
        draw_text_centered(img, nx + 100, ny + 21, "PAINT ALLEY", font(24), (255, 170, 230, 255),
                           stroke=1, stroke_fill=(255, 60, 160, 255))
    d = ImageDraw.Draw(img)

    # wall lamps
    for lx, ly in ((215, 345), (660, 380), (960, 560), (540, 245)):
        glow(img, [lx - 70, row(ly) - 40, lx + 70, row(ly) + 110], (255, 190, 110), 30, 0.28)
        d = ImageDraw.Draw(img)
        d.rectangle([lx - 3, row(ly) - 10, lx + 3, row(ly)], fill=(60, 60, 70, 255))
        d.polygon([(lx - 9, row(ly)), (lx + 9, row(ly)), (lx + 5, row(ly) + 6), (lx - 5, row(ly) + 6)],
                  fill=(255, 230, 160, 255))

    # hazard sources
    d = ImageDraw.Draw(img)
    for kind, (x, y, w, h) in L.HAZARDS:
        if kind == "water":        # a wet streak on the wall under a leaking balcony
            streak = Image.new("RGBA", (w + 8, h), (0, 0, 0, 0))
            sd = ImageDraw.Draw(streak)
            sd.rectangle([6, 0, w + 2, h], fill=(30, 40, 60, 70))
            streak = streak.filter(ImageFilter.GaussianBlur(3))
            img.alpha_composite(streak, (x - 4, row(y + h)))
        elif kind == "spark":      # junction box with a frayed cable hanging down
            bx, by = x + w // 2, row(y + h)
            d.rectangle([bx - 14, by - 34, bx + 14, by - 8], fill=(110, 120, 110, 255))
            d.rectangle([bx - 14, by - 34, bx + 14, by - 31], fill=(150, 160, 150, 255))
            d.polygon([(bx - 5, by - 26), (bx + 3, by - 26), (bx - 1, by - 20), (bx + 4, by - 20),
                       (bx - 4, by - 12), (bx - 1, by - 18), (bx - 6, by - 18)], fill=(250, 210, 40, 255))
            d.line([(bx, by - 8), (bx + 2, by - 2), (bx, by + 2)], fill=(30, 30, 30, 255), width=2)
            d.line([(bx - 2, by + 2), (bx - 3, by + 5)], fill=(200, 120, 40, 255))
            d.line([(bx + 1, by + 2), (bx + 3, by + 5)], fill=(200, 120, 40, 255))
    d = ImageDraw.Draw(img)

    # street: plinth, pavement, curb, asphalt
    gy = row(L.GROUND_Y)
    d.rectangle([0, gy - 14, W, gy], fill=(72, 60, 66, 255))
    d.line([(0, gy - 14), (W, gy - 14)], fill=(100, 86, 92, 255))
    d.rectangle([0, gy, W, gy + 34], fill=(128, 126, 140, 255))
    d.line([(0, gy), (W, gy)], fill=(176, 174, 186, 255), width=2)
    for sx in range(0, W, 64):
        d.line([(sx, gy + 2), (sx - 10, gy + 34)], fill=(104, 102, 118, 255))
    d.line([(0, gy + 17), (W, gy + 17)], fill=(112, 110, 126, 255))
    d.rectangle([0, gy + 34, W, gy + 42], fill=(160, 158, 170, 255))
    d.rectangle([0, gy + 42, W, H], fill=(46, 46, 58, 255))
    for _ in range(900):
        ax, ay = rng.randrange(W), rng.randrange(gy + 43, H)
        v = rng.randint(36, 70)
        d.point((ax, ay), fill=(v, v, v + 10, 255))
    for sx in range(20, W, 120):
        d.rectangle([sx, H - 28, sx + 60, H - 24], fill=(220, 190, 70, 255))
    # manhole grates under the steam spots
    for kind, (x, y, w, h) in L.HAZARDS:
        if kind == "steam":
            cx = x + w // 2
            d.rectangle([cx - 20, gy + 4, cx + 20, gy + 14], fill=(40, 40, 48, 255))
            for k in range(-18, 19, 5):
                d.line([(cx + k, gy + 5), (cx + k, gy + 13)], fill=(90, 90, 100, 255))
            d.rectangle([cx - 20, gy + 4, cx + 20, gy + 14], outline=(70, 70, 80, 255))
    return img


def platform():
    """A steel fire-escape balcony seen from the front; its top row is the walkway."""
    w, h = L.PLATFORM_W, L.PLATFORM_H
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, 8], fill=(86, 96, 118, 255))
    d.line([(0, 0), (w - 1, 0)], fill=(190, 200, 220, 255))
    d.line([(0, 1), (w - 1, 1)], fill=(140, 150, 172, 255))
    for x in range(3, w - 3, 6):
        d.rectangle([x, 3, x + 2, 6], fill=(52, 58, 76, 255))
    d.line([(0, 8), (w - 1, 8)], fill=(40, 44, 60, 255))
    for x0 in (8, w - 30):
        d.polygon([(x0, 9), (x0 + 22, 9), (x0 + 11, h - 1)], fill=(70, 78, 98, 255))
        d.polygon([(x0 + 5, 10), (x0 + 17, 10), (x0 + 11, h - 8)], fill=(0, 0, 0, 0))
        d.point((x0 + 11, h - 2), fill=(150, 160, 180, 255))
    d.line([(30, 15), (w - 31, 15)], fill=(70, 78, 98, 255), width=2)
    for x in (20, 60, 100, 140):
        d.rectangle([x, 9, x + 2, 11], fill=(150, 80, 50, 200))      # rust
    return img


def _warning_sign(d, cx, top):
    d.polygon([(cx, top), (cx + 11, top + 19), (cx - 11, top + 19)], fill=(20, 20, 20, 255))
    d.polygon([(cx, top + 3), (cx + 8, top + 17), (cx - 8, top + 17)], fill=(255, 214, 40, 255))
    d.rectangle([cx - 1, top + 7, cx + 1, top + 12], fill=(20, 20, 20, 255))
    d.rectangle([cx - 1, top + 14, cx + 1, top + 15], fill=(20, 20, 20, 255))


def hazard_pictures(kind, w, h):
    """(warning, projectile) pictures of one hazard kind, each w x h."""
    rng = random.Random({"steam": 11, "water": 12, "spark": 13}[kind])
    warn = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    proj = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    dw, dp = ImageDraw.Draw(warn), ImageDraw.Draw(proj)
    cx = w // 2
    if kind == "steam":
        # warning: orange glow at the grate and little wisps
        glow(warn, [cx - 20, h - 14, cx + 20, h + 6], (255, 140, 40), 4, 0.9)
        dw = ImageDraw.Draw(warn)
        for k, (ox, oy, r) in enumerate(((-6, 10, 4), (5, 18, 3), (-2, 26, 3))):
            dw.ellipse([cx + ox - r, h - oy - r, cx + ox + r, h - oy + r], fill=(230, 230, 240, 170))
        _warning_sign(dw, cx, h - 70)
        # projectile: a column of puffs widening as it rises
        layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        dl = ImageDraw.Draw(layer)
        for i in range(40):
            t = i / 39
            yy = h - 4 - t * (h - 22)
            r = 6 + t * 14 + rng.uniform(-2, 2)
            xx = cx + rng.uniform(-4, 4) * (0.5 + t)
            g = int(235 - 30 * t)
            dl.ellipse([xx - r, yy - r, xx + r, yy + r], fill=(g, g, g + 10, 200))
        layer = layer.filter(ImageFilter.GaussianBlur(1.5))
        proj.alpha_composite(layer)
        dp = ImageDraw.Draw(proj)
        for i in range(30):
            xx, yy = rng.uniform(8, w - 8), rng.uniform(10, h - 10)
            dp.point((xx, yy), fill=(255, 255, 255, 230))
    elif kind == "water":
        for k, yy in enumerate((4, 12, 30)):
            r = 2 if k < 2 else 3
            dw.ellipse([cx - r, yy - r, cx + r, yy + r + 2], fill=(140, 200, 255, 230))
        dw.ellipse([cx - 12, h - 5, cx + 12, h], fill=(110, 170, 230, 160))
        _warning_sign(dw, cx, h - 60)
        layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        dl = ImageDraw.Draw(layer)
        dl.rectangle([cx - 8, 0, cx + 8, h - 6], fill=(90, 160, 235, 190))
        dl.rectangle([cx - 4, 0, cx + 3, h - 6], fill=(170, 215, 255, 220))
        for i in range(18):
            xx = cx + rng.randint(-7, 7)
            y0 = rng.randint(0, h - 20)
            dl.line([(xx, y0), (xx, y0 + rng.randint(6, 16))], fill=(235, 245, 255, 230))
        dl.ellipse([cx - 13, h - 10, cx + 13, h], fill=(150, 200, 250, 220))
        for i in range(8):
            a = rng.uniform(math.pi * 1.1, math.pi * 1.9)
            rr = rng.uniform(6, 12)
            dl.ellipse([cx + rr * math.cos(a) - 1, h - 6 + rr * math.sin(a) - 1,
                        cx + rr * math.cos(a) + 1, h - 6 + rr * math.sin(a) + 1], fill=(220, 240, 255, 240))
        proj.alpha_composite(layer.filter(ImageFilter.GaussianBlur(0.6)))
    else:  # spark
        for i in range(8):
            a = rng.uniform(0, 2 * math.pi)
            rr = rng.uniform(2, 7)
            dw.line([(cx, 3), (cx + rr * math.cos(a), 3 + abs(rr * math.sin(a)))], fill=(255, 240, 120, 255))
        dw.ellipse([cx - 2, 1, cx + 2, 5], fill=(255, 255, 255, 255))
        _warning_sign(dw, cx, h - 48)
        pts = [(cx, 2)]
        y = 2
        while y < h - 6:
            y += rng.randint(8, 14)
            pts.append((cx + rng.randint(-10, 10), min(y, h - 4)))
        layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        dl = ImageDraw.Draw(layer)
        dl.line(pts, fill=(80, 200, 255, 255), width=7)
        layer = layer.filter(ImageFilter.GaussianBlur(2.5))
        proj.alpha_composite(layer)
        proj.alpha_composite(layer)
        dp = ImageDraw.Draw(proj)
        dp.line(pts, fill=(170, 235, 255, 255), width=3)
        dp.line(pts, fill=(255, 255, 255, 255), width=1)
        for i in range(3):
            k = rng.randrange(1, len(pts) - 1)
            bx, by = pts[k]
            dp.line([(bx, by), (bx + rng.choice((-1, 1)) * rng.randint(5, 9), by + rng.randint(3, 8))],
                    fill=(200, 240, 255, 255))
        gx, gy2 = pts[-1]
        dp.ellipse([gx - 6, h - 7, gx + 6, h - 1], fill=(255, 255, 200, 200))
    return warn, proj


# ---- murals ------------------------------------------------------------

def _canvas(name):
    w, h = L.TARGETS[name]
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    return img, ImageDraw.Draw(img), w, h


def mural(name):
    if name == "tag-tolvek":
        img, d, w, h = _canvas(name)
        d.ellipse([4, 10, w - 4, h - 14], fill=(40, 20, 70, 230))
        draw_text_centered(img, w / 2, h / 2 - 4, "TOLVEK", font(34), (255, 210, 60, 255),
                           stroke=4, stroke_fill=(230, 40, 120, 255), shadow=(3, 3, (20, 10, 30, 255)))
        d = ImageDraw.Draw(img)
        d.line([(20, h - 24), (w - 20, h - 22)], fill=(90, 230, 255, 255), width=3)
        return spray_finish(img, 21, drips=10)
    if name == "tag-wow":
        img, d, w, h = _canvas(name)
        pts = []
        for i in range(16):
            a = i * math.pi / 8
            r = (w / 2 - 4) if i % 2 == 0 else (w / 2 - 26)
            pts.append((w / 2 + r * math.cos(a), (h - 12) / 2 + r * 0.62 * math.sin(a)))
        d.polygon(pts, fill=(255, 230, 60, 255), outline=(240, 90, 30, 255))
        draw_text_centered(img, w / 2, (h - 12) / 2, "WOW!", font(30), (230, 40, 80, 255),
                           stroke=3, stroke_fill=(255, 255, 255, 255))
        return spray_finish(img, 22, drips=8)
    if name == "sign-cafe":
        img, d, w, h = _canvas(name)
        d.rounded_rectangle([3, 3, w - 4, h - 16], 10, fill=(250, 236, 200, 255), outline=(120, 60, 30, 255), width=3)
        draw_text_centered(img, w / 2 + 14, (h - 16) / 2 + 2, "CAFE", font(28), (120, 60, 30, 255))
        d = ImageDraw.Draw(img)
        d.rounded_rectangle([12, 24, 34, 46], 4, fill=(160, 90, 50, 255))
        d.arc([30, 28, 40, 40], 270, 90, fill=(160, 90, 50, 255), width=3)
        for k in range(3):
            d.line([(16 + 6 * k, 20), (18 + 6 * k, 12)], fill=(200, 200, 200, 255), width=2)
        return spray_finish(img, 23, drips=5, soften=0.4)
    if name == "sign-beat":
        img, d, w, h = _canvas(name)
        d.rectangle([4, 6, w - 5, h - 16], fill=(30, 30, 50, 240), outline=(90, 230, 255, 255), width=3)
        draw_text_centered(img, w / 2 + 12, (h - 10) / 2, "BEAT", font(26), (90, 230, 255, 255))
        d = ImageDraw.Draw(img)
        d.ellipse([14, 42, 26, 52], fill=(255, 90, 170, 255))
        d.line([(25, 47), (25, 20)], fill=(255, 90, 170, 255), width=3)
        d.line([(25, 20), (34, 26)], fill=(255, 90, 170, 255), width=3)
        return spray_finish(img, 24, drips=6, soften=0.4)
    if name == "mural-sun":
        img, d, w, h = _canvas(name)
        cx, cy = w / 2, h / 2 - 4
        for i in range(12):
            a = i * math.pi / 6
            d.polygon([(cx + 26 * math.cos(a - 0.15), cy + 26 * math.sin(a - 0.15)),
                       (cx + 44 * math.cos(a), cy + 40 * math.sin(a)),
                       (cx + 26 * math.cos(a + 0.15), cy + 26 * math.sin(a + 0.15))], fill=(255, 150, 40, 255))
        d.ellipse([cx - 27, cy - 27, cx + 27, cy + 27], fill=(255, 210, 60, 255))
        d.arc([cx - 14, cy - 8, cx + 14, cy + 16], 20, 160, fill=(180, 70, 20, 255), width=3)
        d.ellipse([cx - 12, cy - 10, cx - 6, cy - 4], fill=(180, 70, 20, 255))
        d.ellipse([cx + 6, cy - 10, cx + 12, cy - 4], fill=(180, 70, 20, 255))
        return spray_finish(img, 25, drips=7)
    if name == "mural-cat":
        img, d, w, h = _canvas(name)
        cx, cy = w / 2, h / 2 + 2
        c = (250, 150, 60, 255)
        d.polygon([(cx - 34, cy - 10), (cx - 30, cy - 42), (cx - 10, cy - 26)], fill=c)
        d.polygon([(cx + 34, cy - 10), (cx + 30, cy - 42), (cx + 10, cy - 26)], fill=c)
        d.ellipse([cx - 38, cy - 32, cx + 38, cy + 28], fill=c)
        d.ellipse([cx - 22, cy - 14, cx - 8, cy], fill=(120, 230, 120, 255))
        d.ellipse([cx + 8, cy - 14, cx + 22, cy], fill=(120, 230, 120, 255))
        d.rectangle([cx - 16, cy - 12, cx - 14, cy - 2], fill=(20, 20, 20, 255))
        d.rectangle([cx + 14, cy - 12, cx + 16, cy - 2], fill=(20, 20, 20, 255))
        d.polygon([(cx - 4, cy + 4), (cx + 4, cy + 4), (cx, cy + 9)], fill=(230, 80, 120, 255))
        for s in (-1, 1):
            for k in (-1, 0, 1):
                d.line([(cx + s * 10, cy + 10 + k * 3), (cx + s * 44, cy + 6 + k * 7)], fill=(40, 30, 30, 255))
        return spray_finish(img, 26, drips=7)
    if name == "mural-heart":
        img, d, w, h = _canvas(name)
        cx = w / 2
        c = (235, 40, 90, 255)
        d.ellipse([cx - 40, 6, cx + 2, 48], fill=c)
        d.ellipse([cx - 2, 6, cx + 40, 48], fill=c)
        d.polygon([(cx - 38, 34), (cx + 38, 34), (cx, h - 14)], fill=c)
        d.ellipse([cx - 30, 14, cx - 20, 24], fill=(255, 170, 200, 255))
        draw_text_centered(img, cx, 38, "LOVE", font(18), (255, 255, 255, 255), stroke=2,
                           stroke_fill=(120, 10, 40, 255))
        return spray_finish(img, 27, drips=8)
    if name == "mural-wave":
        img, d, w, h = _canvas(name)
        d.rounded_rectangle([2, 4, w - 3, h - 14], 14, fill=(30, 80, 160, 240))
        for k, col in enumerate(((60, 150, 230, 255), (120, 200, 250, 255), (230, 250, 255, 255))):
            pts = [(2, h - 18 - 14 * k)]
            for x in range(2, w - 2, 4):
                pts.append((x, h - 30 - 14 * k + 6 * math.sin(x / 9.0 + k)))
            pts.append((w - 3, h - 18 - 14 * k))
            d.polygon(pts, fill=col)
        d.ellipse([w - 36, 12, w - 16, 32], fill=(255, 220, 80, 255))
        return spray_finish(img, 28, drips=6)
    if name == "mural-rocket":
        img, d, w, h = _canvas(name)
        cx = w / 2
        d.polygon([(cx, 4), (cx + 16, 30), (cx + 16, 62), (cx - 16, 62), (cx - 16, 30)], fill=(230, 230, 240, 255))
        d.polygon([(cx, 4), (cx + 16, 30), (cx - 16, 30)], fill=(230, 50, 60, 255))
        d.ellipse([cx - 8, 34, cx + 8, 50], fill=(80, 200, 255, 255), outline=(60, 60, 80, 255), width=2)
        d.polygon([(cx - 16, 46), (cx - 30, 70), (cx - 16, 62)], fill=(230, 50, 60, 255))
        d.polygon([(cx + 16, 46), (cx + 30, 70), (cx + 16, 62)], fill=(230, 50, 60, 255))
        d.polygon([(cx - 12, 62), (cx + 12, 62), (cx, 84)], fill=(255, 170, 40, 255))
        d.polygon([(cx - 6, 62), (cx + 6, 62), (cx, 76)], fill=(255, 240, 120, 255))
        for sx, sy in ((10, 14), (76, 24), (14, 60), (80, 70)):
            d.line([(sx - 4, sy), (sx + 4, sy)], fill=(255, 240, 120, 255), width=2)
            d.line([(sx, sy - 4), (sx, sy + 4)], fill=(255, 240, 120, 255), width=2)
        return spray_finish(img, 29, drips=5)
    if name == "mural-flower":
        img, d, w, h = _canvas(name)
        cx, cy = w / 2, 36
        d.line([(cx, cy), (cx, h - 12)], fill=(60, 170, 70, 255), width=5)
        d.ellipse([cx - 26, h - 40, cx - 2, h - 26], fill=(60, 170, 70, 255))
        for i in range(8):
            a = i * math.pi / 4
            px, py = cx + 18 * math.cos(a), cy + 18 * math.sin(a)
            d.ellipse([px - 12, py - 12, px + 12, py + 12], fill=(240, 100, 200, 255))
        d.ellipse([cx - 11, cy - 11, cx + 11, cy + 11], fill=(255, 220, 60, 255))
        return spray_finish(img, 30, drips=7)
    if name == "mural-eye":
        img, d, w, h = _canvas(name)
        cx, cy = w / 2, (h - 12) / 2
        d.ellipse([6, cy - 28, w - 6, cy + 28], fill=(255, 255, 255, 255), outline=(30, 20, 60, 255), width=4)
        d.ellipse([cx - 20, cy - 20, cx + 20, cy + 20], fill=(60, 160, 220, 255))
        d.ellipse([cx - 9, cy - 9, cx + 9, cy + 9], fill=(20, 20, 30, 255))
        d.ellipse([cx + 2, cy - 12, cx + 8, cy - 6], fill=(255, 255, 255, 255))
        for k in range(-3, 4):
            d.line([(cx + k * 14, cy - 27), (cx + k * 17, cy - 36)], fill=(30, 20, 60, 255), width=3)
        return spray_finish(img, 31, drips=6)
    if name == "mural-hills":
        img, d, w, h = _canvas(name)
        d.rounded_rectangle([2, 2, w - 3, h - 12], 12, fill=(120, 200, 250, 240))
        d.ellipse([w - 46, 10, w - 22, 34], fill=(255, 230, 90, 255))
        d.ellipse([-30, 40, 90, 130], fill=(70, 170, 80, 255))
        d.ellipse([50, 46, 190, 140], fill=(40, 140, 70, 255))
        d.rectangle([2, h - 24, w - 3, h - 12], fill=(40, 140, 70, 255))
        d.polygon([(60, 34), (72, 20), (84, 34)], fill=(250, 250, 250, 255))
        img = img.crop((0, 0, w, h))
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).rounded_rectangle([2, 2, w - 3, h - 12], 12, fill=255)
        a = Image.composite(img.getchannel("A"), mask, mask)
        img.putalpha(a)
        return spray_finish(img, 32, drips=8)
    if name == "tag-smile":
        img, d, w, h = _canvas(name)
        cx, cy = w / 2, (h - 12) / 2
        d.ellipse([cx - 38, cy - 38, cx + 38, cy + 38], fill=(255, 220, 40, 255), outline=(40, 30, 20, 255), width=3)
        d.ellipse([cx - 18, cy - 18, cx - 8, cy - 4], fill=(40, 30, 20, 255))
        d.ellipse([cx + 8, cy - 18, cx + 18, cy - 4], fill=(40, 30, 20, 255))
        d.arc([cx - 24, cy - 16, cx + 24, cy + 26], 25, 155, fill=(40, 30, 20, 255), width=4)
        return spray_finish(img, 33, drips=8)
    if name == "mural-bird":
        img, d, w, h = _canvas(name)
        cx, cy = w / 2, (h - 12) / 2 + 4
        d.ellipse([cx - 30, cy - 16, cx + 24, cy + 22], fill=(120, 120, 150, 255))
        d.ellipse([cx + 8, cy - 34, cx + 36, cy - 6], fill=(130, 130, 165, 255))
        d.polygon([(cx + 34, cy - 22), (cx + 48, cy - 18), (cx + 34, cy - 14)], fill=(250, 170, 40, 255))
        d.ellipse([cx + 22, cy - 26, cx + 28, cy - 20], fill=(255, 255, 255, 255))
        d.point((cx + 25, cy - 23), fill=(0, 0, 0, 255))
        d.polygon([(cx - 20, cy - 6), (cx + 10, cy - 2), (cx - 36, cy + 14)], fill=(90, 90, 120, 255))
        d.polygon([(cx - 30, cy + 4), (cx - 50, cy + 2), (cx - 28, cy + 16)], fill=(90, 90, 120, 255))
        d.ellipse([cx + 4, cy - 10, cx + 16, cy + 2], fill=(110, 180, 140, 255))
        d.line([(cx - 6, cy + 22), (cx - 8, cy + 30)], fill=(250, 170, 40, 255), width=2)
        d.line([(cx + 6, cy + 22), (cx + 6, cy + 30)], fill=(250, 170, 40, 255), width=2)
        return spray_finish(img, 34, drips=5)
    raise KeyError(name)
