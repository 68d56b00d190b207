"""The desktop icon: the hero's first standing cell on a 64 x 64 canvas."""
import os

from PIL import Image


def make(data_dir):
    strip = Image.open(os.path.join(data_dir, "Images/hero-stand.png")).convert("RGBA")
    cell = strip.crop((0, 0, 48, 64))
    icon = Image.new("RGBA", (64, 64), (0, 0, 0, 0))
    icon.alpha_composite(cell, (8, 0))
    icon.save(os.path.join(data_dir, "Images/icon.png"))


if __name__ == "__main__":
    make(os.path.join(os.path.dirname(__file__), "..", "data"))
