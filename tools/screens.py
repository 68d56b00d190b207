"""Title screen, menu items and the credits picture."""
import random
from PIL import Image, ImageDraw, ImageFilter

import layout as L
import hero
import world
from paint import font, draw_text_centered, spray_finish, nearest_scale, glow, text_size

ITEM_W, ITEM_H = 320, 72
# Lower-left corners of the two items, in game coordinates.
ITEM_POS = [(352, 330), (352, 240)]
ITEM_TEXT = ["PLAY", "CREDITS"]

FONT_NOTE = "Text set in DejaVu Sans. DejaVu fonts: copyright (c) 2003 Bitstream, Inc.; " \
            "DejaVu changes are in the public domain."


def _dim(img, alpha):
    veil = Image.new("RGBA", img.size, (10, 6, 24, alpha))
    img.alpha_composite(veil)


def _title(img, cx, cy, size):
    """Big sprayed title with a drop shadow and drips."""
    f = font(size)
    w, h, _, _ = text_size(f, "TOLVEK", 8)
    layer = Image.new("RGBA", (w + 60, h + 80), (0, 0, 0, 0))
    draw_text_centered(layer, layer.size[0] / 2 + 8, h / 2 + 38, "TOLVEK", f, (20, 8, 30, 200),
                       stroke=8, stroke_fill=(20, 8, 30, 200))
    draw_text_centered(layer, layer.size[0] / 2, h / 2 + 30, "TOLVEK", f, (255, 210, 60, 255),
                       stroke=8, stroke_fill=(230, 40, 120, 255))
    # a highlight band across the letters
    band = Image.new("RGBA", layer.size, (0, 0, 0, 0))
    ImageDraw.Draw(band).rectangle([0, h / 2 + 30 - h * 0.45, layer.size[0], h / 2 + 30 - h * 0.15],
                                   fill=(255, 255, 200, 90))
    mask = layer.getchannel("A").point(lambda a: 255 if a > 250 else 0)
    layer.alpha_composite(Image.composite(band, Image.new("RGBA", layer.size), mask))
    layer = spray_finish(layer, 77, drips=18, overspray=0.3, soften=0.8)
    img.alpha_composite(layer, (int(cx - layer.size[0] / 2), int(cy - h / 2 - 30)))


def title_background():
    img = world.background(neon=False)
    _dim(img, 120)
    glow(img, [180, 60, 844, 330], (255, 80, 170), 60, 0.35)
    _title(img, 512, 170, 150)
    draw_text_centered(img, 512, 296, "spray the alley, dodge the hazards", font(26, bold=False),
                       (250, 235, 255, 255), stroke=2, stroke_fill=(30, 10, 40, 255))
    # the hero, big, spraying
    strips = hero.make_strips()
    cell = strips["shoot"].crop((L.HERO_W, 0, 2 * L.HERO_W, L.SHOOT_H))
    big = nearest_scale(cell, 4)
    img.alpha_composite(big, (70, L.SCREEN_H - L.GROUND_Y - big.size[1]))
    d = ImageDraw.Draw(img)
    # panel behind the items
    panel = Image.new("RGBA", img.size, (0, 0, 0, 0))
    ImageDraw.Draw(panel).rounded_rectangle([322, 350, 702, 610], 18, fill=(14, 8, 30, 170),
                                            outline=(255, 90, 180, 200), width=3)
    img.alpha_composite(panel)
    draw_text_centered(img, 512, 580, "Up / Down to choose, Return to confirm", font(18, bold=False),
                       (220, 210, 240, 255))
    draw_text_centered(img, 512, 742, "Left / Right walk    Ctrl jumps    Space sprays    Esc leaves",
                       font(20), (255, 230, 120, 255), stroke=2, stroke_fill=(20, 10, 30, 255))
    return img


def menu_item(text, selected):
    img = Image.new("RGBA", (ITEM_W, ITEM_H), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    f = font(40)
    if selected:
        rng = random.Random(len(text))
        stroke = Image.new("RGBA", img.size, (0, 0, 0, 0))
        sd = ImageDraw.Draw(stroke)
        sd.rounded_rectangle([26, 8, ITEM_W - 27, ITEM_H - 9], 14, fill=(255, 214, 50, 255))
        for _ in range(40):
            x = rng.randint(30, ITEM_W - 30)
            y = rng.choice((7, ITEM_H - 9))
            sd.ellipse([x - 4, y - 3, x + 4, y + 3], fill=(255, 214, 50, 255))
        stroke = spray_finish(stroke, 5, drips=5, overspray=0.2, soften=0.8)
        img.alpha_composite(stroke)
        d = ImageDraw.Draw(img)
        for s in (1, -1):
            x0 = 14 if s == 1 else ITEM_W - 14
            d.polygon([(x0, 22), (x0 + s * 16, 36), (x0, 50)], fill=(230, 40, 120, 255))
        draw_text_centered(img, ITEM_W / 2, ITEM_H / 2 - 2, text, f, (40, 14, 50, 255))
    else:
        draw_text_centered(img, ITEM_W / 2, ITEM_H / 2 - 2, text, f, (190, 186, 210, 255),
                           stroke=2, stroke_fill=(30, 20, 40, 255))
    return img


CREDITS = [
    ("A small platform game about painting a city alley.", 22, False, (240, 230, 250)),
    ("", 10, False, None),
    ("GAME, CODE AND CONTENT", 20, True, (255, 210, 60)),
    ("The Tolvek developers", 22, False, (240, 230, 250)),
    ("", 8, False, None),
    ("BUILT WITH", 20, True, (255, 210, 60)),
    ("C++17, SDL 1.2, OpenGL, SDL_image, Xerces-C, OpenAL Soft, libsndfile", 20, False, (240, 230, 250)),
    ("", 8, False, None),
    ("PICTURES, MUSIC AND SOUNDS", 20, True, (255, 210, 60)),
    ("Drawn and synthesized in code with Python 3, Pillow and NumPy;", 20, False, (240, 230, 250)),
    ("music encoded with oggenc from vorbis-tools", 20, False, (240, 230, 250)),
    ("", 8, False, None),
    ("FONT", 20, True, (255, 210, 60)),
    ("DejaVu Sans, copyright (c) 2003 Bitstream, Inc. (Bitstream Vera licence);", 18, False, (240, 230, 250)),
    ("DejaVu changes are in the public domain. Bitstream Vera is a trademark of Bitstream, Inc.", 18, False, (240, 230, 250)),
]


def credits():
    img = world.background()
    _dim(img, 175)
    _title(img, 512, 120, 110)
    y = 236
    for text, size, bold, col in CREDITS:
        if text:
            draw_text_centered(img, 512, y, text, font(size, bold=bold), col + (255,),
                               stroke=1 if bold else 0, stroke_fill=(20, 10, 30, 255))
        y += size + 12
    draw_text_centered(img, 512, 720, "Thanks for playing! Press any key to quit.", font(24),
                       (255, 150, 210, 255), stroke=2, stroke_fill=(20, 10, 30, 255))
    return img


PAUSED_W, PAUSED_H = 440, 160


def paused():
    """The banner over a paused level: drawn by the game at the screen's centre."""
    img = Image.new("RGBA", (PAUSED_W, PAUSED_H), (0, 0, 0, 0))
    ImageDraw.Draw(img).rounded_rectangle([2, 2, PAUSED_W - 3, PAUSED_H - 3], 18,
                                          fill=(14, 8, 30, 210), outline=(255, 90, 180, 230),
                                          width=3)
    draw_text_centered(img, PAUSED_W / 2, 66, "PAUSED", font(64), (255, 210, 60, 255),
                       stroke=4, stroke_fill=(230, 40, 120, 255))
    draw_text_centered(img, PAUSED_W / 2, 128, "P or Start to play on", font(20, bold=False),
                       (240, 230, 250, 255))
    return img
