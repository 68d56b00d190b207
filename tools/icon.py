"""The desktop icon, 64 x 64 and 256 x 256: the hero's first standing cell.

One 64 x 64 picture is drawn and the large size is that picture blown up
4 times without smoothing, so both sizes show the same pixel art.
"""
import os

from PIL import Image

SIZES = (64, 256)


def make(data_dir, out_dir):
    strip = Image.open(os.path.join(data_dir, "Images/hero-stand.png")).convert("RGBA")
    cell = strip.crop((0, 0, 48, 64))
    icon = Image.new("RGBA", (64, 64), (0, 0, 0, 0))
    icon.alpha_composite(cell, (8, 0))
    for size in SIZES:
        folder = os.path.join(out_dir, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        scaled = icon.resize((size, size), Image.NEAREST)
        scaled.save(os.path.join(folder, "tolvek.png"), optimize=True)


if __name__ == "__main__":
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    make(os.path.join(root, "data"), os.path.join(root, "packaging", "icons"))
