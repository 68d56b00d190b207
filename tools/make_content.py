#!/usr/bin/env python3
"""Regenerates everything in data/: pictures, the font, music, sounds and the text files.

Usage: python3 tools/make_content.py [--only images|audio|records] [--out DIR]
Deterministic: the same tools give the same files.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import layout as L        # noqa: E402
import hero               # noqa: E402
import world              # noqa: E402
import screens            # noqa: E402
import records            # noqa: E402
import font               # noqa: E402
from paint import save_png  # noqa: E402


def out_path(root, rel):
    p = os.path.join(root, rel)
    os.makedirs(os.path.dirname(p), exist_ok=True)
    return p


def make_images(root):
    for name, sheet in hero.make_strips().items():
        save_png(sheet, out_path(root, records.strip_path(name)))
    save_png(world.background(), out_path(root, records.BACKGROUND))
    save_png(world.platform(), out_path(root, records.PLATFORM))
    done = set()
    for kind, (x, y, w, h) in L.HAZARDS:
        if kind in done:
            continue
        done.add(kind)
        warn, proj = world.hazard_pictures(kind, w, h)
        wp, pp = records.hazard_paths(kind)
        save_png(warn, out_path(root, wp))
        save_png(proj, out_path(root, pp))
    for name in L.TARGETS:
        save_png(world.mural(name), out_path(root, records.target_path(name)))
    save_png(screens.title_background(), out_path(root, "Images/menu-title.png"))
    for i, text in enumerate(screens.ITEM_TEXT):
        on, off = records.menu_paths(i)
        save_png(screens.menu_item(text, True), out_path(root, on))
        save_png(screens.menu_item(text, False), out_path(root, off))
    save_png(screens.credits(), out_path(root, "Images/credits.png"))
    save_png(screens.paused(), out_path(root, "Images/paused.png"))
    save_png(font.atlas(), out_path(root, font.ATLAS))


def write_ogg(x, path, quality, serial):
    """x: mono (n,) or stereo (2, n) floats in [-1, 1]."""
    x = np.asarray(x)
    chans = 1 if x.ndim == 1 else x.shape[0]
    pcm = np.clip(np.round((x if x.ndim == 1 else x.T) * 32767), -32768, 32767).astype("<i2")
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "in.wav")
        with wave.open(wav, "wb") as w:
            w.setnchannels(chans)
            w.setsampwidth(2)
            w.setframerate(44100)
            w.writeframes(pcm.tobytes())
        subprocess.run(["oggenc", "-Q", "-q", str(quality), "-s", str(serial), "-o", path, wav],
                       check=True)


def make_audio(root):
    import music
    import sfx
    pieces = [
        ("Sounds/music-ingame-a.ogg", music.ingame_intro, 2),
        ("Sounds/music-ingame-b.ogg", music.ingame_loop, 2),
        (records.MENU_MUSIC, music.menu_loop, 2),
        ("Sound/music-interface.ogg", music.credits_piece, 2),
    ]
    effects = [
        (records.JUMP_SOUNDS[0][0], lambda: sfx.jump(0)),
        (records.JUMP_SOUNDS[1][0], lambda: sfx.jump(1)),
        (records.LAND_SOUNDS[0][0], sfx.land),
        (records.SHOT_SOUNDS[0][0], sfx.spray),
        (records.HURT_SOUNDS[0][0], lambda: sfx.hurt(0)),
        (records.HURT_SOUNDS[1][0], lambda: sfx.hurt(1)),
        (records.MENU_MOVE, sfx.menu_move),
        (records.MENU_OK, sfx.menu_ok),
        (records.WAVE_SOUND[0], sfx.wave_alarm),
    ] + [(p, (lambda k: lambda: sfx.wave_hit(k))(i + 1)) for i, (p, _) in enumerate(records.WAVE_SOUNDS)]
    serial = 1000
    for rel, fn, q in pieces:
        print("  composing", rel, flush=True)
        write_ogg(fn(), out_path(root, rel), q, serial)
        serial += 1
    for rel, fn in effects:
        write_ogg(fn(), out_path(root, rel), 3, serial)
        serial += 1


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--only", choices=["images", "audio", "records"])
    ap.add_argument("--out", default=os.path.join(os.path.dirname(HERE), "data"))
    a = ap.parse_args()
    if a.only in (None, "records"):
        print("records"); records.write_all(a.out)
    if a.only in (None, "images"):
        print("images"); make_images(a.out)
    if a.only in (None, "audio"):
        print("audio"); make_audio(a.out)


if __name__ == "__main__":
    main()
