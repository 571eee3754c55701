"""A small float RGBA canvas painted through signed distance functions.

Every shape is a function d(x, y) giving the signed distance (in pixels) from a
point to its edge, negative inside. Coverage of a pixel is taken as
clamp(0.5 - d), which anti-aliases edges without supersampling and keeps the
output a pure function of the geometry, so every run writes the same bytes.
"""

import math

# Ordered 4x4 dither: smooth gradients without random noise (runs stay identical).
_BAYER4 = (
    (0, 8, 2, 10),
    (12, 4, 14, 6),
    (3, 11, 1, 9),
    (15, 7, 13, 5),
)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    """Blend two (r, g, b) colours; t = 0 gives c0."""
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return (lerp(c0[0], c1[0], t), lerp(c0[1], c1[1], t), lerp(c0[2], c1[2], t))


class Canvas:
    """Premultiplied RGBA, channels in 0..1, origin top-left, y downwards."""

    def __init__(self, width, height):
        self.w = width
        self.h = height
        n = width * height
        self.r = [0.0] * n
        self.g = [0.0] * n
        self.b = [0.0] * n
        self.a = [0.0] * n

    def fill(self, colour_at):
        """Opaque background; colour_at(x, y) gives (r, g, b) in 0..255."""
        for y in range(self.h):
            for x in range(self.w):
                c = colour_at(x + 0.5, y + 0.5)
                i = y * self.w + x
                self.r[i] = c[0] / 255.0
                self.g[i] = c[1] / 255.0
                self.b[i] = c[2] / 255.0
                self.a[i] = 1.0

    def blend(self, x, y, colour, alpha):
        """Source-over one pixel with a straight (r, g, b) colour."""
        if alpha <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        i = y * self.w + x
        k = 1.0 - alpha
        self.r[i] = colour[0] / 255.0 * alpha + self.r[i] * k
        self.g[i] = colour[1] / 255.0 * alpha + self.g[i] * k
        self.b[i] = colour[2] / 255.0 * alpha + self.b[i] * k
        self.a[i] = alpha + self.a[i] * k

    def paint(self, sdf, colour, bbox=None, opacity=1.0, soft=1.0):
        """Fill the shape sdf < 0. colour is (r, g, b) or a function of (x, y).

        soft widens the edge ramp (in pixels) for glows and shadows.
        """
        x0, y0, x1, y1 = bbox if bbox else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        const = not callable(colour)
        for y in range(y0, y1):
            py = y + 0.5
            for x in range(x0, x1):
                px = x + 0.5
                cov = 0.5 - sdf(px, py) / soft
                if cov <= 0.0:
                    continue
                if cov > 1.0:
                    cov = 1.0
                self.blend(x, y, colour if const else colour(px, py), cov * opacity)

    def straight(self, x, y):
        """(r, g, b, a) as floats 0..255, colour un-premultiplied."""
        i = y * self.w + x
        a = self.a[i]
        if a <= 0.0:
            return (0.0, 0.0, 0.0, 0.0)
        return (self.r[i] / a * 255.0, self.g[i] / a * 255.0, self.b[i] / a * 255.0, a * 255.0)

    def to_rgba8(self, dither=False):
        """Rows of (r, g, b, a) byte tuples, top row first."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                f = self.straight(x, y)
                bias = (_BAYER4[y & 3][x & 3] + 0.5) / 16.0 if dither else 0.5
                row.append(tuple(max(0, min(255, int(v + bias))) for v in f))
            rows.append(row)
        return rows


# ---- signed distance functions (pixel units) ----


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse_ring_approx(cx, cy, rx, ry, half_width, angle=0.0):
    """Thin elliptical stroke, rotated by angle (radians). The scaled-radius
    distance, divided by its gradient, is close enough for hairlines."""
    ca, sa = math.cos(angle), math.sin(angle)

    def d(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * ca + dy * sa, -dx * sa + dy * ca
        f = math.hypot(u / rx, v / ry)
        if f == 0.0:
            return min(rx, ry) - half_width
        grad = math.hypot(u / (rx * rx), v / (ry * ry)) / f
        return abs(f - 1.0) / grad - half_width

    return d


def box(cx, cy, hw, hh, angle=0.0, radius=0.0):
    """Rectangle centred on (cx, cy), rotated by angle (radians), corners rounded."""
    ca, sa = math.cos(angle), math.sin(angle)
    hw, hh = hw - radius, hh - radius

    def d(x, y):
        dx, dy = x - cx, y - cy
        u = abs(dx * ca + dy * sa) - hw
        v = abs(-dx * sa + dy * ca) - hh
        outside = math.hypot(max(u, 0.0), max(v, 0.0))
        return outside + min(max(u, v), 0.0) - radius

    return d


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0.0 else ((px - ax) * dx + (py - ay) * dy) / ll
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def strokes(segments, half_width):
    """Round-capped polyline strokes: segments is a list of (ax, ay, bx, by)."""

    def d(x, y):
        best = 1e9
        for ax, ay, bx, by in segments:
            v = segment_distance(x, y, ax, ay, bx, by)
            if v < best:
                best = v
        return best - half_width

    return d


def convex(points):
    """Convex polygon given clockwise on screen (y down); exact inside."""
    edges = []
    n = len(points)
    for i in range(n):
        ax, ay = points[i]
        bx, by = points[(i + 1) % n]
        ln = math.hypot(bx - ax, by - ay)
        # Outward normal of a clockwise (screen) polygon.
        edges.append((ax, ay, (by - ay) / ln, -(bx - ax) / ln))

    def d(x, y):
        return max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)

    return d


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def intersect(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def grow(f, k):
    """Offset a shape outwards by k pixels (negative k shrinks it)."""
    return lambda x, y: f(x, y) - k


def outline(f, half_width):
    return lambda x, y: abs(f(x, y)) - half_width
