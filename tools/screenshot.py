"""The title menu as the game draws it, for the software-centre listing."""
import os
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import records  # noqa: E402
import screens  # noqa: E402

WIDTH, HEIGHT = 1024, 768


def make(data_dir, path):
    frame = Image.new("RGBA", (WIDTH, HEIGHT), (0, 0, 0, 255))
    pictures = [("Images/menu-title.png", (0, 0))]
    for item, at in enumerate(screens.ITEM_POS):
        on, off = records.menu_paths(item)
        pictures.append((on if item == 0 else off, at))
    for rel, (x, y) in pictures:
        picture = Image.open(os.path.join(data_dir, rel)).convert("RGBA")
        # the game's origin is the lower-left corner
        frame.alpha_composite(picture, (x, HEIGHT - y - picture.height))
    frame.convert("RGB").save(path, optimize=True)


if __name__ == "__main__":
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    make(os.path.join(root, "data"), os.path.join(root, "packaging", "screenshot-menu.png"))
