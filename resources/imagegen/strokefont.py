"""A geometric monoline font for titles and logo words.

Glyphs are centre lines in font units: baseline y = 0, x-height 7, capitals
and ascenders 10, descenders down to -3, y upwards. Each glyph is its advance
(the width of its skeleton) and a list of commands:
  L x0 y0 x1 y1 ...        polyline
  A cx cy rx ry from to    elliptical arc, angles in degrees, drawn from -> to
  D x y                    dot
They are stroked with round caps at any weight, so one drawing serves both the
light and the bold words, at any size, always anti-aliased.
"""

import math

from . import raster

_O = "A 3.5 3.5 3.5 3.5 0 360"  # the bowl shared by a, b, d, g, o, p, q

_GLYPHS = {
    "A": "7.5|L 0 0 3.75 10 7.5 0; L 1.27 3.4 6.23 3.4",
    "B": "6.4|L 3.5 5.2 0 5.2 0 10 3.4 10; A 3.4 7.6 2.4 2.4 90 -90; L 0 0 3.8 0;"
         " A 3.8 2.6 2.6 2.6 -90 90",
    "C": "8.6|A 5 5 5 5 45 315",
    "D": "8|L 3 0 0 0 0 10 3 10; A 3 5 5 5 90 -90",
    "E": "6|L 6 10 0 10 0 0 6 0; L 0 5.1 5.2 5.1",
    "F": "5.8|L 6 10 0 10 0 0; L 0 5.1 5.2 5.1",
    "G": "10|A 5 5 5 5 45 360; L 10 5 5.6 5",
    "H": "7.2|L 0 0 0 10; L 7.2 0 7.2 10; L 0 5.1 7.2 5.1",
    "I": "0|L 0 0 0 10",
    "J": "5|L 5 10 5 3; A 2.5 3 2.5 3 0 -180",
    "K": "6.6|L 0 0 0 10; L 6.5 10 0 3.5; L 2.3 5.8 6.8 0",
    "L": "5.6|L 0 10 0 0 5.6 0",
    "M": "9|L 0 0 0 10 4.5 2 9 10 9 0",
    "N": "7.5|L 0 0 0 10 7.5 0 7.5 10",
    "O": "10|A 5 5 5 5 0 360",
    "P": "6.3|L 0 0 0 10 3.5 10; A 3.5 7.25 2.75 2.75 90 -90; L 3.5 4.5 0 4.5",
    "Q": "10|A 5 5 5 5 0 360; L 6.3 3 9.8 -0.5",
    "R": "6.6|L 0 0 0 10 3.5 10; A 3.5 7.25 2.75 2.75 90 -90; L 3.5 4.5 0 4.5;"
         " L 3.2 4.5 6.6 0",
    "S": "6.9|A 3.5 7.5 3.2 2.5 35 270; A 3.5 2.5 3.4 2.5 90 -145",
    "T": "8|L 0 10 8 10; L 4 10 4 0",
    "U": "7|L 0 10 0 3.5; A 3.5 3.5 3.5 3.5 180 360; L 7 3.5 7 10",
    "V": "8|L 0 10 4 0 8 10",
    "W": "12|L 0 10 3 0 6 10 9 0 12 10",
    "X": "7|L 0 10 7 0; L 0 0 7 10",
    "Y": "7.5|L 0 10 3.75 5 7.5 10; L 3.75 5 3.75 0",
    "Z": "7|L 0.3 10 7 10 0 0 7 0",
    "a": "7|" + _O + "; L 7 0 7 7",
    "b": "7|L 0 0 0 10; " + _O,
    "c": "6|A 3.5 3.5 3.5 3.5 45 315",
    "d": "7|" + _O + "; L 7 0 7 10",
    "e": "7|L 0 3.5 7 3.5; A 3.5 3.5 3.5 3.5 0 315",
    "f": "4.5|L 1.5 0 1.5 8; A 3.5 8 2 2 180 45; L 0 7 3.5 7",
    "g": "7|" + _O + "; L 7 7 7 -0.5; A 3.5 -0.5 3.5 2.5 0 -150",
    "h": "6|L 0 0 0 10; A 3 4 3 3 180 0; L 6 4 6 0",
    "i": "0|L 0 0 0 7; D 0 9.4",
    "j": "1.5|L 1.5 7 1.5 -1; A 0 -1 1.5 2 0 -120; D 1.5 9.4",
    "k": "5.5|L 0 0 0 10; L 5.2 7 0 2.4; L 1.9 4 5.5 0",
    "l": "0|L 0 0 0 10",
    "m": "10|L 0 0 0 7; A 2.5 4.5 2.5 2.5 180 0; L 5 4.5 5 0; A 7.5 4.5 2.5 2.5 180 0;"
         " L 10 4.5 10 0",
    "n": "6|L 0 0 0 7; A 3 4 3 3 180 0; L 6 4 6 0",
    "o": "7|" + _O,
    "p": "7|L 0 -3 0 7; " + _O,
    "q": "7|" + _O + "; L 7 -3 7 7",
    "r": "4.6|L 0 0 0 7; A 3.5 3.5 3.5 3.5 180 70",
    "s": "6|A 3 5.25 2.8 1.75 35 270; A 3 1.75 3 1.75 90 -145",
    "t": "3.5|L 1.5 9 1.5 0; L 0 7 3.5 7",
    "u": "6|L 0 7 0 3; A 3 3 3 3 180 360; L 6 7 6 0",
    "v": "6|L 0 7 3 0 6 7",
    "w": "10|L 0 7 2.5 0 5 7 7.5 0 10 7",
    "x": "6|L 0 7 6 0; L 0 0 6 7",
    "y": "6|L 0 7 3 0; L 6 7 1.71 -3",
    "z": "6|L 0.3 7 6 7 0 0 6 0",
    ".": "0|D 0 0",
    " ": "3|",
}

GAP = 1.6  # blank space between two glyphs' ink, in font units


def _polylines(outline):
    """Turns one glyph's commands into point lists in font units."""
    lines = []
    for command in filter(None, (c.strip() for c in outline.split(";"))):
        op, *nums = command.split()
        v = [float(n) for n in nums]
        if op == "L":
            lines.append(list(zip(v[0::2], v[1::2])))
        elif op == "D":
            lines.append([(v[0], v[1]), (v[0], v[1])])
        elif op == "A":
            cx, cy, rx, ry, a0, a1 = v
            steps = max(2, int(math.ceil(abs(a1 - a0) / 6.0)))
            pts = []
            for k in range(steps + 1):
                t = math.radians(a0 + (a1 - a0) * k / steps)
                pts.append((cx + rx * math.cos(t), cy + ry * math.sin(t)))
            lines.append(pts)
        else:
            raise ValueError("unknown glyph command %r" % op)
    return lines


GLYPHS = {}
for _ch, _spec in _GLYPHS.items():
    _adv, _body = _spec.split("|")
    GLYPHS[_ch] = (float(_adv), _polylines(_body))


def text_width(text, cap_height, weight):
    """Ink width in pixels of text set with capitals cap_height pixels tall."""
    s = cap_height / 10.0
    units = sum(GLYPHS[c][0] for c in text) + (weight + GAP) * (len(text) - 1) + weight
    return units * s


def draw_text(canvas, x, baseline, text, colour, cap_height, weight, opacity=1.0):
    """Draws text with its ink starting at x; returns the ink's right edge.

    weight is the stroke width in font units (1.2 light, 1.9 bold).
    """
    s = cap_height / 10.0
    hw = weight * s / 2.0
    pen = x + hw
    for c in text:
        advance, lines = GLYPHS[c]
        segments = []
        for pts in lines:
            for (ax, ay), (bx, by) in zip(pts, pts[1:]):
                segments.append((pen + ax * s, baseline - ay * s, pen + bx * s, baseline - by * s))
        if segments:
            xs = [v for seg in segments for v in (seg[0], seg[2])]
            ys = [v for seg in segments for v in (seg[1], seg[3])]
            bbox = (min(xs) - hw - 1, min(ys) - hw - 1, max(xs) + hw + 1, max(ys) + hw + 1)
            canvas.paint(raster.strokes(segments, hw), colour, bbox, opacity)
        pen += (advance + weight + GAP) * s
    return pen - (weight + GAP) * s + hw
