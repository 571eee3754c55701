"""The two pictures: the banner over the main and configuration windows, and
the background of the About dialog."""

import math

from . import icons, pixfont, raster, strokefont
from .raster import Canvas, mix

WHITE = (255, 255, 255)
PALE = (160, 198, 245)

BANNER_SIZE = (279, 47)
ABOUT_SIZE = (300, 430)
# The About dialog shows only its top 300 x 334 pixels; its controls cover the
# lower part and the close button sits in the top-right corner.
ABOUT_TEXT_TOP, ABOUT_TEXT_BOTTOM = 30, 265
ABOUT_PLAIN_BELOW = 270
ABOUT_CORNER = (265, 30)  # plain where x > 265 and y < 30

ABOUT_PRESENTATION = (
    "Morvantic crea herramientas sencillas y",
    "fiables para proteger su información.",
    "Security Zelvaran genera contraseñas",
    "aleatorias que solo van al portapapeles:",
    "nunca se guardan en ningún archivo.",
)
ABOUT_CONTACTS = (
    ("Web:", "www.morvantic.example"),
    ("OVRA:", "www.ovra.example"),
    ("Correo:", "contacto@morvantic.example"),
)


def banner():
    w, h = BANNER_SIZE
    left, right = (8, 40, 106), (34, 116, 216)
    canvas = Canvas(w, h)

    def background(x, y):
        c = mix(left, right, (x / w) ** 0.8)
        # A faint sheen on the upper half gives the strip some depth.
        lift = 0.10 * max(0.0, 1.0 - y / (0.55 * h))
        return mix(c, WHITE, lift)

    canvas.fill(background)
    cap, light, bold = 15, 1.3, 2.1
    first = strokefont.text_width("Security", cap, light)
    second = strokefont.text_width("Zelvaran", cap, bold)
    shield_h, gap = 36, 11
    shield_w = shield_h * 2 * icons.SHIELD_HALF_W / (icons.SHIELD_BOTTOM_V - icons.SHIELD_TOP_V)
    left = round((w - shield_w - gap - first - 0.5 * cap - second) / 2)
    cx, cy, k = icons.fit_shield(left, 5, shield_h)
    icons.draw_shield(canvas, cx, cy, k, shadow=True)
    x = left + shield_w + gap
    baseline = 31
    end = strokefont.draw_text(canvas, x, baseline, "Security", WHITE, cap, light)
    end = strokefont.draw_text(canvas, end + 0.5 * cap, baseline, "Zelvaran", WHITE, cap, bold)
    if end > w - 6:
        raise ValueError("banner title overflows: ends at %.1f" % end)
    # A thin light rule under the strip separates it from the window below.
    for x in range(w):
        canvas.blend(x, h - 1, WHITE, 0.18)
    return canvas


_ABOUT_TOP, _ABOUT_BOTTOM = (18, 56, 128), (3, 14, 44)


def about_gradient(x, y):
    """The plain dark-blue gradient that must show wherever controls lie."""
    return mix(_ABOUT_TOP, _ABOUT_BOTTOM, y / ABOUT_SIZE[1])


def about_background(x, y):
    """The gradient with the glow behind the logos, before any drawing."""
    c = about_gradient(x, y)
    # A soft glow behind the logos; it fades to nothing well before the close
    # button's corner and the controls below.
    d = math.hypot(x - 150, (y - 66) * 1.25) / 112.0
    if d < 1.0:
        c = mix(c, (48, 104, 190), 0.35 * (1.0 - d) ** 2)
    return c


def _centre(width):
    return (ABOUT_SIZE[0] - width) // 2


def _morvantic_logo(canvas, top):
    """Hexagon mark with a bold M, then the word with a tagline."""
    cap, weight = 21, 1.55
    r = 21.0
    word = strokefont.text_width("Morvantic", cap, weight)
    group = 2 * r + 12 + word
    cx = _centre(group) + r
    cy = top + r
    hexagon = [(cx + r * math.sin(math.pi / 3 * i), cy - r * math.cos(math.pi / 3 * i))
               for i in range(6)]
    mark = raster.convex(hexagon)
    box = (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2)
    canvas.paint(raster.outline(raster.grow(mark, -1.6), 1.6), WHITE, box)
    canvas.paint(raster.grow(mark, -5.0), WHITE, box, 0.12)
    strokefont.draw_text(canvas, cx - 6.3, cy + 6.5, "M", WHITE, 13, 2.2)
    x = cx + r + 12
    baseline = cy + cap / 2.0 - 1
    strokefont.draw_text(canvas, x, baseline, "Morvantic", WHITE, cap, weight)
    pixfont.draw_text(canvas, int(x) + 1, int(baseline) + 6, "software de seguridad", PALE)
    return int(cy + r)


def _ovra_logo(canvas, top):
    """'una iniciativa de' then a ring-and-orbit mark beside the word OVRA."""
    intro = "una iniciativa de"
    pixfont.draw_text(canvas, _centre(pixfont.text_width(intro)), top, intro, PALE)
    cap, weight, r = 13, 1.9, 10.5
    word = strokefont.text_width("OVRA", cap, weight)
    x0 = _centre(2 * r + 8 + word)
    cx, cy = x0 + r, top + 16 + r
    box = (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2)
    tilt = -0.45
    canvas.paint(raster.outline(raster.circle(cx, cy, r * 0.62), 1.25), WHITE, box)
    canvas.paint(raster.ellipse_ring_approx(cx, cy, r * 1.05, r * 0.36, 0.7, tilt), PALE, box)
    sx, sy = cx + r * 1.05 * math.cos(tilt), cy + r * 1.05 * math.sin(tilt)
    canvas.paint(raster.circle(sx, sy, 1.9), WHITE, box)
    strokefont.draw_text(canvas, x0 + 2 * r + 8, cy + cap / 2.0, "OVRA", WHITE, cap, weight)
    return int(cy + r)


def _rule(canvas, y, x0, x1, alpha):
    for x in range(x0, x1):
        fade = min(1.0, (x - x0) / 30.0, (x1 - 1 - x) / 30.0)
        canvas.blend(x, y, PALE, alpha * fade)


def about():
    w, h = ABOUT_SIZE
    canvas = Canvas(w, h)
    canvas.fill(about_background)
    y = _morvantic_logo(canvas, 36)
    y = _ovra_logo(canvas, y + 16)
    y += 10
    _rule(canvas, y, 30, w - 30, 0.45)
    y += 8
    line = pixfont.CELL_HEIGHT + 2
    for text in ABOUT_PRESENTATION:
        pixfont.draw_text(canvas, _centre(pixfont.text_width(text)), y, text, WHITE)
        y += line
    y += 5
    _rule(canvas, y, 60, w - 60, 0.3)
    y += 8
    labels = max(pixfont.text_width(label) for label, _ in ABOUT_CONTACTS)
    values = max(pixfont.text_width(value) for _, value in ABOUT_CONTACTS)
    x = _centre(labels + 6 + values)
    for label, value in ABOUT_CONTACTS:
        pixfont.draw_text(canvas, x + labels - pixfont.text_width(label), y, label, PALE)
        pixfont.draw_text(canvas, x + labels + 6, y, value, WHITE)
        y += line
    bottom = y - line + pixfont.CELL_HEIGHT
    if bottom > ABOUT_TEXT_BOTTOM:
        raise ValueError("About text runs down to y %d" % bottom)
    return canvas


# The installer's pictures, in the sizes its pages show them: the tall one at the left of the
# welcome and finish pages, the small one in the header of the other pages.
INSTALLER_SIDE_SIZE = (164, 314)
INSTALLER_HEADER_SIZE = (150, 57)


def installer_side():
    w, h = INSTALLER_SIDE_SIZE
    top, bottom = (34, 116, 216), (8, 40, 106)
    canvas = Canvas(w, h)

    def background(x, y):
        c = mix(top, bottom, (y / h) ** 0.9)
        d = math.hypot(x - w / 2, (y - 92) * 1.1) / 90.0
        return mix(c, WHITE, 0.16 * (1.0 - d) ** 2) if d < 1.0 else c

    canvas.fill(background)
    shield_h = 96
    shield_w = shield_h * 2 * icons.SHIELD_HALF_W / (icons.SHIELD_BOTTOM_V - icons.SHIELD_TOP_V)
    cx, cy, k = icons.fit_shield(round((w - shield_w) / 2), 42, shield_h)
    icons.draw_shield(canvas, cx, cy, k, shadow=True)
    cap = 17
    for text, weight, baseline in (("Security", 1.4, 184), ("Zelvaran", 2.2, 210)):
        width = strokefont.text_width(text, cap, weight)
        if width > w - 16:
            raise ValueError("installer title %r is %.1f wide" % (text, width))
        strokefont.draw_text(canvas, (w - width) / 2, baseline, text, WHITE, cap, weight)
    _rule(canvas, 226, 24, w - 24, 0.45)
    for text, y in (("Morvantic", 280), ("software de seguridad", 292)):
        pixfont.draw_text(canvas, (w - pixfont.text_width(text)) // 2, y, text, PALE)
    return canvas


def installer_header():
    w, h = INSTALLER_HEADER_SIZE
    ink = (8, 40, 106)
    canvas = Canvas(w, h)
    # White like the header it sits in, with a faint blue wash towards the right edge.
    canvas.fill(lambda x, y: mix(WHITE, (214, 228, 248), max(0.0, (x - 40) / (w - 40)) ** 1.5))
    shield_h = 42
    shield_w = shield_h * 2 * icons.SHIELD_HALF_W / (icons.SHIELD_BOTTOM_V - icons.SHIELD_TOP_V)
    cx, cy, k = icons.fit_shield(8, 7, shield_h)
    icons.draw_shield(canvas, cx, cy, k, shadow=False)
    x = 8 + shield_w + 7
    cap = 11
    for text, weight, baseline in (("Security", 1.1, 25), ("Zelvaran", 1.8, 42)):
        end = strokefont.draw_text(canvas, x, baseline, text, ink, cap, weight)
        if end > w - 4:
            raise ValueError("installer header text %r ends at %.1f" % (text, end))
    return canvas
