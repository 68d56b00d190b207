"""Where everything of level 1 sits, shared by the painters and the record writers.

Coordinates are the game's: pixels, origin at the lower-left corner of the
1024 x 768 screen, y upwards. Image code converts with img_y = 768 - y.
"""

SCREEN_W, SCREEN_H = 1024, 768

# Hero cells: the collision box is the cell, its corner at the hero position.
HERO_W, HERO_H = 48, 64
SHOOT_H = 80              # the raised spray arm needs 16 more rows
NOZZLE = (24, 71)         # spray nozzle above the head, same for both facings
SHOT_OFFSET = NOZZLE      # so the shot point is the nozzle

# Movement per frame at 60 fps (see tools/README.md for the arithmetic).
WALK_STEP = 3
JUMP = dict(step=3, speed=9, decrement=2, period=4)

START = (40, 100)
X_MIN, X_MAX = -10, 930   # the game clamps the hero's x to this

GROUND_Y = 100
GROUND_SEGMENT = (-40, GROUND_Y, 1064, GROUND_Y)

PLATFORM_W, PLATFORM_H = 160, 24
# Anchor at the top-left corner: a platform's position is its walking surface.
PLATFORM_ANCHOR = (0, PLATFORM_H)
PLATFORM_SEGMENT = (0, 0, PLATFORM_W, 0)
# (x, top y); a zigzag of balconies, each reachable by one jump.
PLATFORMS = [
    (40, 180),   # A
    (560, 180),  # C
    (250, 260),  # B
    (780, 260),  # D
    (460, 340),  # E
    (220, 420),  # F
    (700, 420),  # G
    (440, 500),  # H
]

# Hazard spots. kind, projectile box (x, y, w, h) in game coordinates.
# Steam rises from manholes, water pours from a balcony above onto the one
# below, sparks jump from a hanging cable down to a balcony.
STEAM_H = 130
HAZARDS = [
    ("steam", (212, 96, 56, STEAM_H)),
    ("steam", (444, 96, 56, STEAM_H)),
    ("steam", (722, 96, 56, STEAM_H)),
    ("water", (254, 258, 28, 138)),   # from under F onto B
    ("water", (566, 178, 28, 138)),   # from under E onto C
    ("water", (466, 338, 28, 138)),   # from under H onto E
    ("spark", (44, 178, 36, 120)),    # cable above A
    ("spark", (900, 258, 36, 120)),   # cable above D
    ("spark", (820, 418, 36, 120)),   # cable above G
]
# Outline of each kind's projectile inside its box (x0, y0, x1, y1).
HAZARD_OUTLINE_INSET = {"steam": (8, 0, 48, STEAM_H - 10),
                        "water": (4, 0, 24, 138),
                        "spark": (6, 0, 30, 116)}

# Target pictures: name -> (w, h). Layouts place them at (x, y) = lower-left.
TARGETS = {
    "tag-tolvek": (150, 90), "mural-sun": (110, 90), "mural-cat": (110, 92),
    "mural-heart": (110, 90), "sign-cafe": (140, 84), "tag-wow": (140, 90),
    "mural-wave": (108, 88), "mural-rocket": (90, 95), "mural-flower": (100, 92),
    "mural-eye": (140, 80), "mural-hills": (140, 90), "tag-smile": (100, 94),
    "sign-beat": (116, 86), "mural-bird": (106, 90),
}

# Each spot lies over a surface the hero can stand on, clear of the hazards.
LAYOUTS = {
    "Levels/Layout1.ini": [
        ("tag-tolvek", 280, 122), ("mural-sun", 89, 214), ("mural-wave", 786, 292),
        ("mural-rocket", 512, 370), ("tag-smile", 710, 451),
    ],
    "Levels/Layout2.ini": [
        ("sign-cafe", 800, 126), ("mural-cat", 604, 213), ("mural-heart", 295, 292),
        ("mural-eye", 455, 535),
    ],
    "Levels/Layout3.ini": [
        ("tag-wow", 285, 124), ("mural-flower", 94, 213), ("sign-beat", 602, 216),
        ("mural-hills", 235, 452), ("mural-bird", 707, 452), ("mural-heart", 786, 293),
    ],
}
LAYOUT_LIST = "Levels/Layouts.ini"
