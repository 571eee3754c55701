"""The program's emblem (a blue shield with a keyhole) and the settings gear.

Large sizes are drawn from geometry; the 16-pixel emblem is drawn by hand,
because at that size a clean silhouette matters more than exact curves.
"""

import math

from . import raster
from .raster import Canvas

NAVY = (10, 34, 82)
SHIELD_TOP = (86, 158, 240)
SHIELD_BOTTOM = (20, 82, 182)
WHITE = (255, 255, 255)
KEY_SHADE = (206, 220, 240)
STEEL_TOP = (226, 232, 240)
STEEL_BOTTOM = (128, 144, 166)
SLATE = (38, 48, 64)

# Shield outline in its own units: corners of the top edge at v = -0.86, the
# top edge dipping to -0.76 in the middle, straight sides at u = +-0.72 down to
# v = 0, then two circular arcs meeting in the point at v = 0.95.
_TOP_R = 2.642
_TOP_C = -0.76 - _TOP_R
_SIDE_R = 0.9867
_SIDE_C = 0.2667
SHIELD_TOP_V, SHIELD_BOTTOM_V, SHIELD_HALF_W = -0.86, 0.95, 0.72


def shield_sdf(cx, cy, k):
    """The shield centred on (cx, cy), k pixels per unit."""

    def d(x, y):
        u, v = (x - cx) / k, (y - cy) / k
        top = _TOP_R - math.hypot(u, v - _TOP_C)
        if v <= 0.0:
            side = abs(u) - SHIELD_HALF_W
        else:
            side = max(math.hypot(u - _SIDE_C, v), math.hypot(u + _SIDE_C, v)) - _SIDE_R
        return max(top, side) * k

    return d


def keyhole_sdf(cx, cy, k):
    head = raster.circle(cx, cy - 0.15 * k, 0.22 * k)
    stem = raster.convex([
        (cx - 0.08 * k, cy - 0.08 * k), (cx + 0.08 * k, cy - 0.08 * k),
        (cx + 0.16 * k, cy + 0.44 * k), (cx - 0.16 * k, cy + 0.44 * k)])
    return raster.union(head, stem)


def fit_shield(left, top, height):
    """Centre and scale that make the shield fill a box of the given height."""
    k = height / (SHIELD_BOTTOM_V - SHIELD_TOP_V)
    cy = top - SHIELD_TOP_V * k
    cx = left + SHIELD_HALF_W * k
    return cx, cy, k


def draw_shield(canvas, cx, cy, k, shadow=False):
    """Paints the emblem. shadow adds a soft drop shadow, only for images with
    a real alpha channel or a known background."""
    outer = shield_sdf(cx, cy, k)
    box = (cx - k, cy - k, cx + k, cy + k * 1.1)
    if shadow:
        off = max(1.0, 0.05 * k)
        canvas.paint(shield_sdf(cx, cy + off, k), (0, 0, 0), box, 0.35, soft=max(1.5, 0.08 * k))
    canvas.paint(outer, NAVY, box)
    inset = max(1.0, 0.07 * k)
    inner = raster.grow(outer, -inset)
    top, span = cy + SHIELD_TOP_V * k, (SHIELD_BOTTOM_V - SHIELD_TOP_V) * k

    def fill(x, y):
        return raster.mix(SHIELD_TOP, SHIELD_BOTTOM, (y - top) / span)

    canvas.paint(inner, fill, box)
    # The right half a shade darker reads as a raised, bevelled shield.
    canvas.paint(raster.intersect(inner, lambda x, y: cx - x), NAVY, box, 0.22)
    if k >= 20:
        rim = raster.outline(raster.grow(inner, -0.05 * k), 0.02 * k)
        canvas.paint(rim, WHITE, box, 0.28)
    if k >= 40:
        gloss = raster.intersect(inner, raster.circle(cx - 0.9 * k, cy - 1.5 * k, 1.6 * k))
        canvas.paint(gloss, WHITE, box, 0.14)
    hole = keyhole_sdf(cx, cy, k)
    if k >= 20:
        canvas.paint(raster.grow(hole, 0.035 * k), NAVY, box, 0.45)

    def key_fill(x, y):
        return raster.mix(WHITE, KEY_SHADE, (y - (cy - 0.37 * k)) / (0.8 * k))

    canvas.paint(hole, key_fill, box)


def gear_sdf(cx, cy, r, teeth=8):
    """Gear of outer radius r; the hole is left to the caller."""
    body = raster.circle(cx, cy, 0.74 * r)
    bars = [raster.box(cx, cy, r * 1.2, 0.17 * r, math.pi * i / (teeth // 2), 0.06 * r)
            for i in range(teeth // 2)]
    return raster.union(body, raster.intersect(raster.circle(cx, cy, r), raster.union(*bars)))


def draw_gear(canvas, cx, cy, r):
    outer = gear_sdf(cx, cy, r)
    box = (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2)
    hole = raster.circle(cx, cy, 0.3 * r)
    line = max(1.0, 0.09 * r)
    canvas.paint(raster.subtract(outer, hole), SLATE, box)

    def fill(x, y):
        return raster.mix(STEEL_TOP, STEEL_BOTTOM, (y - cy + r) / (2 * r))

    inner = raster.subtract(raster.grow(outer, -line), raster.grow(hole, line))
    canvas.paint(inner, fill, box)
    if r >= 10:
        canvas.paint(raster.outline(raster.circle(cx, cy, 0.55 * r), 0.05 * r), SLATE, box, 0.5)


# ---- hand-drawn 16-pixel emblem ----

PIXEL_PALETTE = {
    "K": NAVY,
    "L": (72, 146, 236),
    "B": (36, 100, 200),
    "W": WHITE,
    "G": KEY_SHADE,
}

SHIELD_16 = (
    ".KKKKKKKKKKKKKK.",
    ".KLLLLLLBBBBBBK.",
    ".KLLLLLLBBBBBBK.",
    ".KLLLLGWWGBBBBK.",
    ".KLLLLWWWWBBBBK.",
    ".KLLLLWWWWBBBBK.",
    ".KLLLLGWWGBBBBK.",
    ".KLLLLLWWBBBBBK.",
    ".KLLLLLWWBBBBBK.",
    "..KLLLGWWGBBBK..",
    "..KLLLWWWWBBBK..",
    "...KLLLLBBBBK...",
    "....KLLLBBBK....",
    ".....KLLBBK.....",
    "......KLBK......",
    ".......KK.......",
)


def pixel_art(rows, palette):
    canvas = Canvas(len(rows[0]), len(rows))
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != ".":
                canvas.blend(x, y, palette[ch], 1.0)
    return canvas


def emblem(size, shadow=False):
    """The program icon at one size."""
    if size == 16:
        return pixel_art(SHIELD_16, PIXEL_PALETTE)
    canvas = Canvas(size, size)
    margin = 0.5 if size <= 32 else size * 0.03
    cx, cy, k = fit_shield(0, margin, size - 2 * margin - (size * 0.03 if shadow else 0))
    draw_shield(canvas, size / 2.0, cy, k, shadow)
    return canvas


def settings_icon(size):
    """The configuration dialog's icon: the gear over the shield."""
    canvas = Canvas(size, size)
    if size > 16:
        _, cy, k = fit_shield(0, size * 0.02, size * 0.78)
        draw_shield(canvas, size * 0.36, cy, k)
        draw_gear(canvas, size * 0.66, size * 0.66, size * 0.33)
    else:
        _crisp_gear(canvas, size)  # the 16-pixel image
    return canvas


GEAR_16 = (
    "......####......",
    "..##..####..##..",
    ".####.####.####.",
    ".##############.",
    "..############..",
    "..############..",
    "#######..#######",
    "######....######",
    "######....######",
    "#######..#######",
    "..############..",
    "..############..",
    ".##############.",
    ".####.####.####.",
    "..##..####..##..",
    "......####......",
)


def _crisp_gear(canvas, size):
    """At 16 pixels a smooth gear turns to mush: the silhouette is drawn by
    hand and outlined pixel by pixel."""

    def solid(x, y):
        return 0 <= x < size and 0 <= y < size and GEAR_16[y][x] == "#"

    for y in range(size):
        for x in range(size):
            if not solid(x, y):
                continue
            edge = not all(solid(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            colour = SLATE if edge else raster.mix(STEEL_TOP, STEEL_BOTTOM, y / (size - 1.0))
            canvas.blend(x, y, colour, 1.0)
