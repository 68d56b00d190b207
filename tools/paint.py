"""Small painting helpers shared by the image generators."""
import random
from PIL import Image, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"


def font(size, bold=True, mono=False, condensed=False):
    name = "DejaVuSans"
    if mono:
        name += "Mono"
    elif condensed:
        name += "Condensed"
    name += "-Bold.ttf" if bold else ".ttf"
    if mono and not bold:
        name = "DejaVuSansMono.ttf"
    if condensed and not bold:
        name = "DejaVuSansCondensed.ttf"
    return ImageFont.truetype(FONT_DIR + name, size)


def rgba(c, a=255):
    return tuple(c[:3]) + (a,)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def vgradient(w, h, stops):
    """stops: list of (t, colour) with t from 0 (top) to 1 (bottom)."""
    img = Image.new("RGBA", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            t0, c0 = stops[i]
            t1, c1 = stops[i + 1]
            if t0 <= t <= t1:
                c = lerp(c0, c1, (t - t0) / max(1e-9, t1 - t0))
                break
        else:
            c = stops[-1][1]
        d.line([(0, y), (w, y)], fill=rgba(c))
    return img


def glow(img, box, colour, radius, strength=1.0):
    """Additive-looking soft light: a blurred ellipse composited over img."""
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.ellipse(box, fill=rgba(colour, int(255 * strength)))
    layer = layer.filter(ImageFilter.GaussianBlur(radius))
    img.alpha_composite(layer)


def text_size(fnt, text, stroke=0):
    b = fnt.getbbox(text, stroke_width=stroke)
    return b[2] - b[0], b[3] - b[1], b[0], b[1]


def draw_text_centered(img, cx, cy, text, fnt, fill, stroke=0, stroke_fill=None, shadow=None):
    d = ImageDraw.Draw(img)
    w, h, ox, oy = text_size(fnt, text, stroke)
    x, y = cx - w / 2 - ox, cy - h / 2 - oy
    if shadow:
        dx, dy, col = shadow
        d.text((x + dx, y + dy), text, font=fnt, fill=col, stroke_width=stroke, stroke_fill=col)
    d.text((x, y), text, font=fnt, fill=fill, stroke_width=stroke, stroke_fill=stroke_fill)


def spray_finish(img, seed, drips=6, overspray=0.5, soften=0.6):
    """Make flat shapes look sprayed: soft edges, flecks and a few drips."""
    rng = random.Random(seed)
    w, h = img.size
    if soften:
        a = img.getchannel("A").filter(ImageFilter.GaussianBlur(soften))
        img.putalpha(a)
    px = img.load()
    # overspray flecks next to painted pixels
    n = int(w * h * overspray * 0.04)
    for _ in range(n):
        x, y = rng.randrange(w), rng.randrange(h)
        sx = min(w - 1, max(0, x + rng.randint(-3, 3)))
        sy = min(h - 1, max(0, y + rng.randint(-3, 3)))
        r, g, b, al = px[sx, sy]
        if al > 200 and px[x, y][3] == 0:
            px[x, y] = (r, g, b, rng.randint(60, 170))
    # drips run down from the lowest painted pixel of some columns
    d = ImageDraw.Draw(img)
    for _ in range(drips * 4):
        if drips <= 0:
            break
        x = rng.randrange(2, w - 2)
        bottom = None
        for y in range(h - 1, -1, -1):
            if px[x, y][3] > 220:
                bottom = y
                break
        if bottom is None or bottom > h - 6:
            continue
        col = px[x, bottom]
        length = rng.randint(3, min(14, h - 2 - bottom))
        d.line([(x, bottom), (x, bottom + length)], fill=col)
        d.point((x + 1, bottom + length), fill=col)
        drips -= 1
    return img


def nearest_scale(img, k):
    return img.resize((img.size[0] * k, img.size[1] * k), Image.NEAREST)


def save_png(img, path):
    img = img.convert("RGBA")
    img.save(path, optimize=True)
