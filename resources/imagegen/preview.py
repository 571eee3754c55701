"""PNG contact sheets of the written files, read back from disk, for looking
at the artwork: each icon image over light, dark and checked backgrounds and
enlarged; the About picture with its controls outlined where the dialog puts
them."""

import os

from . import fileformats, png

_BACKGROUNDS = ((240, 240, 240), (32, 36, 44), None)  # None: checkerboard


class Sheet:
    def __init__(self, width, height, colour=(200, 200, 200)):
        self.w, self.h = width, height
        self.px = [[colour for _ in range(width)] for _ in range(height)]

    def put(self, x0, y0, rows, zoom=1, background=(240, 240, 240)):
        for y, row in enumerate(rows):
            for x, (r, g, b, a) in enumerate(row):
                for dy in range(zoom):
                    for dx in range(zoom):
                        X, Y = x0 + x * zoom + dx, y0 + y * zoom + dy
                        bg = background or ((204, 204, 204) if (X // 8 + Y // 8) % 2 else
                                            (255, 255, 255))
                        k = a / 255.0
                        self.px[Y][X] = tuple(int(c * k + d * (1 - k) + 0.5)
                                              for c, d in zip((r, g, b), bg))

    def rect(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.px[y0][x] = self.px[y1][x] = colour
        for y in range(y0, y1 + 1):
            self.px[y][x0] = self.px[y][x1] = colour

    def png(self):
        return png.encode([[p + (255,) for p in row] for row in self.px], 3)


def _icon_sheet(images):
    zoomed = [(im, max(1, 128 // im["size"]) if im["size"] <= 64 else 1) for im in images]
    width = 8 + sum(max(im["size"] * 3 + 16, im["size"] * z) + 8 for im, z in zoomed)
    height = 8 + max(im["size"] + 8 + im["size"] * z for im, z in zoomed) + 8
    sheet = Sheet(width, height)
    x = 8
    for im, z in zoomed:
        s = im["size"]
        for i, bg in enumerate(_BACKGROUNDS):
            sheet.put(x + i * (s + 8), 8, [[p for p in row] for row in im["rows"]], 1, bg)
        sheet.put(x, 16 + s, im["rows"], z, None)
        x += max(s * 3 + 16, s * z) + 8
    return sheet


def _about_sheet(rows):
    w, h = len(rows[0]), len(rows)
    sheet = Sheet(2 * w + 24, h + 16)
    sheet.put(8, 8, rows)
    sheet.put(w + 16, 8, rows)
    ox, oy = w + 16, 8
    # Where the dialog's controls and visible edge fall.
    for x0, y0, x1, y1 in ((24, 288, 105, 305), (176, 280, 281, 297), (176, 304, 281, 321),
                           (272, 8, 289, 25)):
        sheet.rect(ox + x0, oy + y0, ox + x1, oy + y1, (255, 80, 80))
    for x in range(w):
        sheet.px[oy + 334][ox + x] = (255, 200, 0)
    return sheet


def write_all(folder, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    written = []
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            continue
        with open(path, "rb") as f:
            data = f.read()
        if name.endswith(".ico"):
            sheet = _icon_sheet(fileformats.decode_ico(data))
        elif name == "about.png":
            sheet = _about_sheet(png.decode(data)[3])
        elif name.endswith(".png"):
            rows = png.decode(data)[3]
            sheet = Sheet(len(rows[0]) * 2 + 16, len(rows) * 3 + 24)
            sheet.put(8, 8, rows)
            sheet.put(8, len(rows) + 16, rows, 2)
        else:
            continue
        target = os.path.join(out_dir, name.replace(".", "_") + ".png")
        with open(target, "wb") as f:
            f.write(sheet.png())
        written.append(target)
    return written
