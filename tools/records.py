"""Writes the text content files: viewport, hero, level, layouts and menu.

The readers take these files item by item (tokens, whole lines and bare
integers), so line breaks matter where a whole line is read. Files are
written with CR LF line ends, like the rest of the game's files.
"""
import os

import layout as L
import hero
import screens

JUMP_SOUNDS = [("Sounds/jump-a.ogg", 0.7), ("Sounds/jump-b.ogg", 0.7)]
LAND_SOUNDS = [("Sounds/land.ogg", 0.8)]
SHOT_SOUNDS = [("Sounds/spray.ogg", 0.5)]
HURT_SOUNDS = [("Sounds/hurt-a.ogg", 0.9), ("Sounds/hurt-b.ogg", 0.9)]
WAVE_SOUND = ("Sounds/wave-alarm.ogg", 0.6)
WAVE_SOUNDS = [("Sounds/wave-%d.ogg" % k, v) for k, v in ((1, 0.7), (2, 0.8), (3, 0.9), (4, 1.0))]
MENU_MUSIC = "Sounds/music-menu.ogg"
MENU_MOVE = "Sounds/menu-move.ogg"
MENU_OK = "Sounds/menu-ok.ogg"
MENU_DELAY = 1000

BACKGROUND = "Images/level1-background.png"
PLATFORM = "Images/platform.png"


def strip_path(name):
    return "Images/hero-%s.png" % name


def hazard_paths(kind):
    return "Images/warn-%s.png" % kind, "Images/%s.png" % kind


def target_path(name):
    return "Images/%s.png" % name


def menu_paths(i):
    base = ["Images/menu-play", "Images/menu-credits"][i]
    return base + "-on.png", base + "-off.png"


def _write(root, rel, lines):
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


def _num(v):
    return ("%g" % v)


def _anim(name, facing, extra="", pos_label=("ax", "ay")):
    _, count, h, speed, _ = hero.STRIPS[name]
    cells = hero.frames(name, facing)
    s = "%s speed:%d height:%d width:%d %s:0 %s:0" % (
        strip_path(name), speed, h, L.HERO_W, pos_label[0], pos_label[1])
    if extra:
        s += " " + extra
    return s + " frames:%d %s" % (len(cells), " ".join(str(c) for c in cells))


def _jump(step):
    j = L.JUMP
    return "stepX:%s speedY:%s decrement:%s period:%d" % (_num(step), _num(j["speed"]),
                                                           _num(j["decrement"]), j["period"])


def _pool(heading, entries):
    return "%s count:%d %s" % (heading, len(entries),
                               " ".join("%s vol:%s" % (p, _num(v)) for p, v in entries))


def hero_lines():
    step = L.JUMP["step"]
    return [
        "Tolvek hero: ten poses, movements, start position and sounds",
        _anim("stand", "left"),
        _anim("stand", "right"),
        _anim("walk", "left", "step:%s" % _num(L.WALK_STEP)),
        _anim("walk", "right", "step:%s" % _num(L.WALK_STEP)),
        _anim("air", "left", _jump(-step)),
        _anim("air", "right", _jump(step)),
        _jump(0),
        _anim("shoot", "left", pos_label=("x", "y")),
        _anim("shoot", "right"),
        _anim("hit", "left"),
        _anim("hit", "right") + " x:%d y:%d" % L.START,
        _pool("Hero jump sounds", JUMP_SOUNDS),
        _pool("Landing", LAND_SOUNDS),
        _pool("Spray", SHOT_SOUNDS),
        _pool("Hurt", HURT_SOUNDS),
    ]


def level_lines():
    out = [
        "Tolvek level 1: Paint Alley",
        BACKGROUND,
        "Ground %d %d %d %d" % L.GROUND_SEGMENT,
        "Platforms %s ax:%d ay:%d" % ((PLATFORM,) + L.PLATFORM_ANCHOR),
        "Outline %d %d %d %d" % L.PLATFORM_SEGMENT,
        "count:%d" % len(L.PLATFORMS),
    ]
    out += ["x:%d y:%d" % p for p in L.PLATFORMS]
    out.append("Hazards count:%d" % len(L.HAZARDS))
    for kind, (x, y, w, h) in L.HAZARDS:
        warn, proj = hazard_paths(kind)
        x0, y0, x1, y1 = L.HAZARD_OUTLINE_INSET[kind]
        out += [warn, "warning x:%d" % x, "warning y:%d" % y, "Projectile", proj,
                "projectile x:%d" % x, "projectile y:%d" % y, "Outline",
                "%d %d %d %d %d %d %d %d" % (x0, y0, x1, y0, x1, y1, x0, y1)]
    out += [
        "Targets dx:%d dy:%d" % L.SHOT_OFFSET,
        L.LAYOUT_LIST,
        "Wave sound %s vol:%s" % (WAVE_SOUND[0], _num(WAVE_SOUND[1])),
        _pool("Waves", WAVE_SOUNDS),
    ]
    return out


def layout_list_lines():
    return ["Target layouts count:%d %s" % (len(L.LAYOUTS), " ".join(L.LAYOUTS))]


def layout_lines(name):
    out = ["Targets count:%d" % len(L.LAYOUTS[name])]
    for pic, x, y in L.LAYOUTS[name]:
        w, h = L.TARGETS[pic]
        out.append("%s x:%d y:%d 0 0 %d 0 %d %d 0 %d" % (target_path(pic), x, y, w, w, h, h))
    return out


def menu_lines():
    (x0, y0), (x1, y1) = screens.ITEM_POS
    on0, off0 = menu_paths(0)
    on1, off1 = menu_paths(1)
    return [
        "Tolvek title screen",
        "Images/menu-title.png",
        "x:0 y:0",
        "x:%d y:%d" % (x0, y0),
        on0, "(item 0 above selected, below plain)", off0, "(item 1 follows)",
        "x:%d y:%d" % (x1, y1),
        on1, "(item 1 above selected, below plain)", off1, "(music, move and validate sounds, delay)",
        "music:%s move:%s ok:%s delay:%d" % (MENU_MUSIC, MENU_MOVE, MENU_OK, MENU_DELAY),
    ]


def viewport_lines():
    return ['<?xml version="1.0" encoding="UTF-8"?>',
            '<Viewport x="0" y="0" width="%d" height="%d"/>' % (L.SCREEN_W, L.SCREEN_H)]


def write_all(root):
    _write(root, "Levels/Viewport.xml", viewport_lines())
    _write(root, "Levels/Heros.ini", hero_lines())
    _write(root, "Levels/Niveau1.ini", level_lines())
    _write(root, L.LAYOUT_LIST, layout_list_lines())
    for name in L.LAYOUTS:
        _write(root, name, layout_lines(name))
    _write(root, "Levels/Menu.ini", menu_lines())
