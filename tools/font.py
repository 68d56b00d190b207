#!/usr/bin/env python3
"""The game's text font: Fonts/font.png, a 16 x 16 grid of equal cells.

Usage: python3 tools/font.py [DATA_DIR]      (default: data/ next to tools/)
Cell N holds the character whose Windows-1252 code is N, white on
transparent (alpha is coverage), so the game maps text to cells with one
small table. Codes with no character (controls, 0x81, 0x8D, 0x8F, 0x90,
0x9D) stay empty. DejaVu Sans Mono Bold at 18 px: every glyph advances
the same 11 px and fits a 22 px line (ascent 17, descent 5).
"""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

ATLAS = "Fonts/font.png"
FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"
SIZE = 18
GRID = 16


def cell_size():
    font = ImageFont.truetype(FONT_FILE, SIZE)
    ascent, descent = font.getmetrics()
    # The advance is 10.84 px: rounded up, neighbours never touch.
    return int(np.ceil(font.getlength("M"))), ascent + descent


def character(code):
    """The character of a Windows-1252 code, or None."""
    if code < 32 or code == 127:
        return None
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return None


def atlas():
    font = ImageFont.truetype(FONT_FILE, SIZE)
    ascent, _ = font.getmetrics()
    w, h = cell_size()
    # Coverage only: drawn on one grey layer, with no colour to fringe it.
    cover = Image.new("L", (w * GRID, h * GRID), 0)
    for code in range(GRID * GRID):
        ch = character(code)
        if ch is None:
            continue
        glyph = Image.new("L", (w, h), 0)
        ImageDraw.Draw(glyph).text((0, ascent), ch, font=font, fill=255, anchor="ls")
        cover.paste(glyph, ((code % GRID) * w, (code // GRID) * h))
    white = Image.new("L", cover.size, 255)
    return Image.merge("RGBA", (white, white, white, cover))


def save(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, optimize=True)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(here), "data")
    save(atlas(), os.path.join(root, ATLAS))
