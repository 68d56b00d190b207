"""Pixel-art hero: a street painter in a beanie and hoodie, 48 x 64 cells.

Every pose is a small skeleton (hip, knees, feet, shoulder, elbows, hands)
drawn with hard-edged shapes and then outlined, so the art stays crisp at 1x.
Cells face right; the left-facing row of each strip is the mirror image.
"""
import math
from PIL import Image, ImageDraw

from layout import HERO_W, HERO_H, SHOOT_H, NOZZLE

OUTLINE = (22, 18, 34, 255)
SKIN, SKIN_D = (238, 190, 150, 255), (204, 150, 116, 255)
HOOD, HOOD_D, HOOD_L = (38, 150, 160, 255), (26, 104, 118, 255), (90, 196, 196, 255)
PANTS, PANTS_D = (58, 66, 112, 255), (40, 44, 80, 255)
SHOE, SHOE_D = (242, 242, 236, 255), (200, 60, 60, 255)
CAP, CAP_D = (236, 112, 40, 255), (180, 72, 28, 255)
HAIR = (70, 44, 30, 255)
EYE = (24, 20, 30, 255)
CAN, CAN_D, CAN_CAP = (220, 40, 70, 255), (150, 24, 50, 255), (240, 240, 240, 255)
PAINT = [(255, 70, 170), (255, 120, 200), (120, 230, 255), (255, 230, 90)]


def _line(d, a, b, w, col):
    d.line([a, b], fill=col, width=w)
    r = (w - 1) / 2.0
    for p in (a, b):
        d.ellipse([p[0] - r, p[1] - r, p[0] + r, p[1] + r], fill=col)


def _leg_ik(hip, foot, forward=1, a=10.8, b=10.8):
    """Knee of a two-bone leg; the knee bends toward +x (the facing)."""
    dx, dy = foot[0] - hip[0], foot[1] - hip[1]
    d = min(math.hypot(dx, dy), a + b - 0.01)
    phi = math.atan2(dy, dx)
    alpha = math.acos(max(-1.0, min(1.0, (a * a + d * d - b * b) / (2 * a * d))))
    ang = phi - alpha * forward
    return (hip[0] + a * math.cos(ang), hip[1] + a * math.sin(ang))


def _arm(shoulder, up_deg, fore_deg, a=9.0, b=9.0):
    """Angles from straight down, positive swings forward (+x)."""
    u = math.radians(up_deg)
    elbow = (shoulder[0] + a * math.sin(u), shoulder[1] + a * math.cos(u))
    f = math.radians(up_deg + fore_deg)
    hand = (elbow[0] + b * math.sin(f), elbow[1] + b * math.cos(f))
    return elbow, hand


def _shoe(d, ankle, col, dark):
    x, y = ankle
    d.rectangle([x - 2, y - 1, x + 5, y + 2], fill=col)
    d.line([(x - 2, y + 2), (x + 5, y + 2)], fill=dark)


def _outline(img):
    """One dark pixel around the silhouette (4-neighbourhood)."""
    w, h = img.size
    src = img.load()
    out = img.copy()
    dst = out.load()
    for y in range(h):
        for x in range(w):
            if src[x, y][3]:
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if 0 <= nx < w and 0 <= ny < h and src[nx, ny][3]:
                    dst[x, y] = OUTLINE
                    break
    return out


def draw_pose(p, height=HERO_H):
    """p: dict of pose parameters. Returns an RGBA cell facing right."""
    img = Image.new("RGBA", (HERO_W, height), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    top = height - HERO_H          # extra rows above a standard cell
    bob = p.get("bob", 0)
    lean = p.get("lean", 0)
    hip = (24 + p.get("hip_dx", 0), top + 40 + bob)
    sh = (24 + lean + p.get("hip_dx", 0), top + 24 + bob + p.get("breath", 0))
    feet = p["feet"]                # ((x, y) far, (x, y) near), relative to the cell
    feet = [(f[0], top + f[1]) for f in feet]
    knees = [_leg_ik(hip, f, p.get("knee_dir", 1)) for f in feet]

    # far side first, in shaded colours
    far_arm = p["arms"][0]
    if far_arm is not None:
        e, h = _arm((sh[0] - 1, sh[1] + 1), *far_arm)
        _line(d, (sh[0] - 1, sh[1] + 1), e, 4, HOOD_D)
        _line(d, e, h, 3, SKIN_D)
    _line(d, hip, knees[0], 5, PANTS_D)
    _line(d, knees[0], feet[0], 5, PANTS_D)
    _shoe(d, feet[0], (206, 206, 200, 255), (150, 40, 40, 255))

    # torso: a hoodie trapezoid from shoulders to hips
    d.polygon([(sh[0] - 6, sh[1] - 1), (sh[0] + 6, sh[1] - 1),
               (hip[0] + 7, hip[1] + 1), (hip[0] - 7, hip[1] + 1)], fill=HOOD)
    d.line([(sh[0] + 5, sh[1]), (hip[0] + 6, hip[1])], fill=HOOD_L)
    d.line([(hip[0] - 7, hip[1] + 1), (hip[0] + 7, hip[1] + 1)], fill=HOOD_D)
    d.line([(hip[0] - 1, hip[1] - 7), (hip[0] + 5, hip[1] - 7)], fill=HOOD_D)  # pocket
    # backpack strap hint and pack
    d.rectangle([sh[0] - 10, sh[1] + 1, sh[0] - 6, sh[1] + 11], fill=(120, 82, 50, 255))

    _line(d, hip, knees[1], 5, PANTS)
    _line(d, knees[1], feet[1], 5, PANTS)
    _shoe(d, feet[1], SHOE, SHOE_D)

    # head
    hx, hy = sh[0] + 1 + p.get("head_dx", 0), sh[1] - 11 + p.get("head_dy", 0)
    d.rectangle([hx - 2, hy + 5, hx + 2, hy + 9], fill=SKIN_D)          # neck
    d.ellipse([hx - 7, hy - 7, hx + 7, hy + 7], fill=SKIN)
    d.rectangle([hx - 7, hy - 1, hx - 4, hy + 4], fill=HAIR)             # back hair
    d.chord([hx - 8, hy - 9, hx + 8, hy + 5], 180, 360, fill=CAP)        # beanie
    d.rectangle([hx - 8, hy - 3, hx + 8, hy - 1], fill=CAP_D)            # fold
    d.ellipse([hx - 6, hy - 12, hx - 2, hy - 8], fill=CAP_D)             # pom
    eye = p.get("eye", "open")
    ex, ey = hx + 3, hy + 1
    if eye == "open":
        d.rectangle([ex, ey, ex + 1, ey + 1], fill=EYE)
    elif eye == "shut":
        d.line([(ex - 1, ey + 1), (ex + 2, ey + 1)], fill=EYE)
    elif eye == "x":
        d.line([(ex - 1, ey - 1), (ex + 2, ey + 2)], fill=EYE)
        d.line([(ex - 1, ey + 2), (ex + 2, ey - 1)], fill=EYE)
    d.point((hx + 7, hy + 2), fill=SKIN_D)                               # nose
    mouth = p.get("mouth", "calm")
    if mouth == "open":
        d.rectangle([hx + 3, hy + 4, hx + 5, hy + 5], fill=(120, 30, 40, 255))
    else:
        d.line([(hx + 3, hy + 4), (hx + 5, hy + 4)], fill=SKIN_D)

    near = p["arms"][1]
    if near == "spray":
        hand = (NOZZLE[0] + 1, height - NOZZLE[1] + 12)
        elbow = (sh[0] + 10, sh[1] - 3)
        _line(d, (sh[0] + 1, sh[1] + 1), elbow, 4, HOOD)
        _line(d, elbow, hand, 3, SKIN)
        # the can, nozzle up at the shot point
        nx, ny = NOZZLE[0], height - NOZZLE[1]
        d.rectangle([nx - 2, ny + 3, nx + 2, ny + 13], fill=CAN)
        d.line([(nx + 2, ny + 3), (nx + 2, ny + 13)], fill=CAN_D)
        d.rectangle([nx - 1, ny + 1, nx + 1, ny + 2], fill=CAN_CAP)
        d.point((nx, ny), fill=(60, 60, 60, 255))
        d.ellipse([hand[0] - 2, hand[1] - 2, hand[0] + 2, hand[1] + 2], fill=SKIN)
    elif near is not None:
        e, h = _arm((sh[0] + 1, sh[1] + 1), *near)
        _line(d, (sh[0] + 1, sh[1] + 1), e, 4, HOOD)
        _line(d, e, h, 3, SKIN)

    img = _outline(img)
    if p.get("mist") is not None:
        _mist(img, p["mist"], height)
    if p.get("flash"):
        _flash(img)
    return img


def _mist(img, k, height):
    """Paint leaving the nozzle: a small cone of dots, different each frame."""
    d = ImageDraw.Draw(img)
    nx, ny = NOZZLE[0], height - NOZZLE[1]
    seed = 17 + k * 31
    for i in range(44):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        r = (seed >> 8) % 1000 / 1000.0
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        a = ((seed >> 8) % 1000 / 1000.0 - 0.5) * 1.6
        dist = 2 + r * 12
        x = int(round(nx + dist * math.sin(a)))
        y = int(round(ny - 1 - dist * math.cos(a)))
        if 0 <= x < HERO_W and 0 <= y < height:
            c = PAINT[(i + k) % len(PAINT)]
            alpha = int(255 * (1.0 - 0.55 * r))
            d.point((x, y), fill=c + (alpha,))
            if r < 0.35 and x + 1 < HERO_W:
                d.point((x + 1, y), fill=c + (alpha,))
    d.point((nx, ny - 1), fill=PAINT[k % 4] + (255,))


def _flash(img):
    """Hurt flash: push every drawn pixel toward a hot red-white."""
    px = img.load()
    for y in range(img.size[1]):
        for x in range(img.size[0]):
            r, g, b, a = px[x, y]
            if a:
                px[x, y] = (min(255, r // 2 + 140), g // 2 + 50, b // 2 + 50, a)


# ---- poses -------------------------------------------------------------

def stand(k):
    """0 rest, 1 and 2 breathing in (chest and head up a pixel), 3 a blink."""
    breath = [0, -1, -1, 0][k]
    arms = ((6, 12), (-6, 16)) if k == 2 else ((4, 10), (-4, 14))
    return dict(feet=((20, 61), (27, 61)), arms=arms, breath=breath, bob=0,
                eye="shut" if k == 3 else "open", hip_dx=0)


def walk(k, n=8):
    ph = 2 * math.pi * k / n
    feet = []
    for off in (math.pi, 0.0):      # far leg half a cycle behind
        q = ph + off
        fx = 24 + 8 * math.sin(q)
        lift = 5 * max(0.0, math.cos(q))
        feet.append((fx, 61 - lift))
    swing = 26 * math.sin(ph)
    bob = -1 if abs(math.cos(ph)) > 0.7 else 0
    return dict(feet=tuple(feet), arms=((swing, 22), (-swing, 22)), bob=bob, lean=1)


def air(k):
    kinds = [
        dict(feet=((19, 58), (31, 50)), arms=((-140, 20), (75, -25)), bob=0, mouth="open"),
        dict(feet=((20, 56), (31, 49)), arms=((-150, 15), (85, -30)), bob=-1, mouth="open"),
        dict(feet=((18, 59), (30, 52)), arms=((-130, 25), (65, -20)), bob=0, mouth="open"),
    ]
    return kinds[k]


def shoot(k):
    return dict(feet=((19, 61), (29, 61)), arms=((10, 30), "spray"), lean=-2,
                mist=k, head_dx=-2)


def hit(k):
    base = [dict(feet=((16, 61), (26, 60)), arms=((-120, -30), (120, 40)), lean=-4,
                 head_dx=-3, head_dy=1, eye="x", mouth="open", knee_dir=-1),
            dict(feet=((17, 61), (27, 61)), arms=((-100, -40), (100, 50)), lean=-3,
                 head_dx=-2, head_dy=1, eye="x", mouth="open", knee_dir=-1)]
    p = dict(base[k // 2])
    p["flash"] = (k % 2 == 1)
    return p


def strip(pose, count, height=HERO_H):
    """Row 0: cells facing right; row 1: the same cells mirrored (facing left)."""
    sheet = Image.new("RGBA", (HERO_W * count, height * 2), (0, 0, 0, 0))
    for k in range(count):
        cell = draw_pose(pose(k), height)
        sheet.paste(cell, (k * HERO_W, 0))
        sheet.paste(cell.transpose(Image.FLIP_LEFT_RIGHT), (k * HERO_W, height))
    return sheet


# name -> (pose, cells per row, cell height, speed, right frames, left frames)
STRIPS = {
    "stand": (stand, 4, HERO_H, 8, [0, 0, 1, 2, 2, 1, 0, 0, 0, 1, 2, 2, 1, 0, 3, 0]),
    "walk": (walk, 8, HERO_H, 15, list(range(8))),
    "air": (air, 3, HERO_H, 8, [0, 1, 2, 1]),
    "shoot": (shoot, 4, SHOOT_H, 12, [0, 1, 2, 3]),
    "hit": (hit, 4, HERO_H, 10, [0, 1, 2, 3]),
}


def frames(name, facing):
    """Cell list of one facing: right uses row 0, left the mirrored row 1."""
    _, count, _, _, seq = STRIPS[name]
    return [c + (count if facing == "left" else 0) for c in seq]


def make_strips():
    return {name: strip(pose, count, h) for name, (pose, count, h, _, _) in STRIPS.items()}
