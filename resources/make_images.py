#!/usr/bin/env python3
"""Draws the pictures and icons of Security Zelvaran.

    python3 resources/make_images.py            writes the files next to this script
    python3 resources/make_images.py --check    verifies the files on disk
    python3 resources/make_images.py --preview DIR   also writes PNG views into DIR

Standard library only, and deterministic: the same bytes on every run, so the
committed files can always be regenerated and compared.
"""

import argparse
import os
import struct
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

from imagegen import fileformats, icons, pictures, png  # noqa: E402
from imagegen.raster import Canvas  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

# Icon files: (size, bits per pixel) in directory order. The bits say how the image is drawn
# (32: colours with a soft alpha channel; 24 and 4: colours and a mask). Every image is stored in
# 32 bits with alpha; those of PNG_FROM pixels and more as PNG, which Windows reads in an icon
# since Vista, with the same pixels. Each icon has the small sizes Windows asks for at 100, 125,
# 150 and 200 % (16, 20, 24 and 32 pixels), so none is scaled and blurred.
ICONS = {
    "zelvaran.ico": [(16, 32), (20, 32), (24, 32), (32, 32), (48, 32), (64, 32), (255, 24)],
    "tray.ico": [(16, 32), (20, 32), (24, 32), (32, 32)],
    "config.ico": [(64, 32), (32, 32), (24, 32), (20, 32), (16, 32)],
}
# The drop shadow needs room and a real alpha channel; the small images are sharper without it.
SHADOW_FROM = 64
# From 24 pixels up PNG takes a third of the plain image's bytes or less, which keeps the exe
# small; Windows 10 reads PNG images of any size in an icon. The 16 and 20 pixel images of the
# notification area and title bar at 100 and 125 % stay plain.
PNG_FROM = 24
# Pictures: PNG files (RGB), decoded by the program itself.
PICTURES = {"banner.png": pictures.BANNER_SIZE, "about.png": pictures.ABOUT_SIZE}
# The installer's pictures: 24-bit bitmaps, the only kind its pages show. The tall one goes beside
# the welcome and finish pages, the small one in the header of the others.
INSTALLER_BITMAPS = {
    "installer_side.bmp": pictures.INSTALLER_SIDE_SIZE,
    "installer_header.bmp": pictures.INSTALLER_HEADER_SIZE,
}


def _binary_alpha(rows):
    """24- and 4-bit icons only carry a mask: each pixel is in or out."""
    return [[p[:3] + (255,) if p[3] >= 128 else (0, 0, 0, 0) for p in row] for row in rows]


def _palette(rows):
    colours = sorted({p[:3] for row in rows for p in row if p[3]})
    palette = [(0, 0, 0)] + [c for c in colours if c != (0, 0, 0)]
    if len(palette) > 16:
        raise ValueError("a 16-colour icon needs at most 16 colours, got %d" % len(palette))
    return palette + [(0, 0, 0)] * (16 - len(palette))


def _icon_image(canvas, bpp):
    rows = canvas.to_rgba8()
    as_png = canvas.w >= PNG_FROM
    if bpp == 32:
        return rows, 32, None, as_png
    rows = _binary_alpha(rows)
    return rows, bpp, _palette(rows) if bpp == 4 else None, as_png


def _stored_layout(name):
    """(size, bits) as the directory lists them: a PNG image is RGBA, 32 bits."""
    return [(size, 32 if size >= PNG_FROM else bpp) for size, bpp in ICONS[name]]


def _icon_canvas(name, size, bpp):
    if name == "config.ico":
        return icons.settings_icon(size)
    return icons.emblem(size, shadow=(bpp == 32 and size >= SHADOW_FROM))


def build():
    """Every output file's bytes, by file name."""
    out = {}
    for name, layout in ICONS.items():
        images = []
        for size, bpp in layout:
            images.append(_icon_image(_icon_canvas(name, size, bpp), bpp))
        out[name] = fileformats.encode_ico(images)
    for name, picture in (("banner.png", pictures.banner), ("about.png", pictures.about)):
        rows = picture().to_rgba8(dither=True)
        out[name] = png.encode(rows, 3)
        if png.decode(out[name])[3] != rows:
            raise ValueError("%s does not read back as drawn" % name)
    for name, draw in (("installer_side.bmp", pictures.installer_side),
                       ("installer_header.bmp", pictures.installer_header)):
        out[name] = fileformats.encode_bmp24(draw().to_rgba8(dither=True))
    return out


def _check_about_plain(rows):
    """Where the About dialog's controls and close button lie, the picture must
    be the bare gradient, byte for byte."""
    w, h = pictures.ABOUT_SIZE
    plain = Canvas(w, h)
    plain.fill(pictures.about_gradient)
    expected = plain.to_rgba8(dither=True)
    cx, cy = pictures.ABOUT_CORNER
    bad = [(x, y) for y in range(h) for x in range(w)
           if (y >= pictures.ABOUT_PLAIN_BELOW or (x > cx and y < cy))
           and rows[y][x] != expected[y][x]]
    if bad:
        raise ValueError("about.png: %d pixels drawn over the controls' area, first at %s"
                         % (len(bad), bad[0]))
    plain.fill(pictures.about_background)
    expected = plain.to_rgba8(dither=True)
    inked = [y for y in range(h) for x in range(w) if rows[y][x] != expected[y][x]]
    if not inked or min(inked) < pictures.ABOUT_TEXT_TOP or max(inked) > pictures.ABOUT_TEXT_BOTTOM:
        raise ValueError("about.png: drawing spans rows %s..%s"
                         % (min(inked, default=None), max(inked, default=None)))


def check(folder, fresh=None):
    """Re-reads each file, checks its headers and that it matches a fresh build."""
    fresh = fresh or build()
    problems = []
    for name in list(ICONS) + list(PICTURES) + list(INSTALLER_BITMAPS):
        path = os.path.join(folder, name)
        try:
            with open(path, "rb") as f:
                data = f.read()
            if name in ICONS:
                images = fileformats.decode_ico(data)
                got = [(im["size"], im["bpp"]) for im in images]
                if got != _stored_layout(name):
                    raise ValueError("images %s, expected %s" % (got, _stored_layout(name)))
                if [im["png"] for im in images] != [size >= PNG_FROM for size, _ in ICONS[name]]:
                    raise ValueError("PNG images are not the ones of %d px and more" % PNG_FROM)
                for im in images:
                    if im["bpp"] == 4 and im["colours"] != 16:
                        raise ValueError("4-bit image without a 16-colour palette")
                    if not any(p[3] for row in im["rows"] for p in row):
                        raise ValueError("%d px image is empty" % im["size"])
            elif name in INSTALLER_BITMAPS:
                w, h, _, _ = fileformats.decode_bmp(data)
                if (w, h) != INSTALLER_BITMAPS[name]:
                    raise ValueError("size %dx%d, expected %dx%d" % ((w, h) + INSTALLER_BITMAPS[name]))
            else:
                w, h, bpp, rows = png.decode(data)
                if (w, h, bpp) != PICTURES[name] + (3,):
                    raise ValueError("%dx%d at %d bytes a pixel, expected %dx%d RGB"
                                     % ((w, h, bpp) + PICTURES[name]))
                if name == "about.png":
                    _check_about_plain(rows)
            if data != fresh[name]:
                raise ValueError("differs from a fresh build; run make_images.py")
            print("ok   %-20s %7d bytes" % (name, len(data)))
        except (OSError, ValueError, struct.error) as e:
            problems.append("%s: %s" % (name, e))
            print("FAIL %-20s %s" % (name, e))
    return not problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="verify instead of writing")
    parser.add_argument("--out", default=HERE, help="folder of the images (default: here)")
    parser.add_argument("--preview", metavar="DIR", help="write PNG views of the files to DIR")
    args = parser.parse_args()
    fresh = build()
    if not args.check:
        for name, data in fresh.items():
            with open(os.path.join(args.out, name), "wb") as f:
                f.write(data)
            print("wrote %-20s %7d bytes" % (name, len(data)))
    ok = check(args.out, fresh)
    if args.preview:
        from imagegen import preview

        for path in preview.write_all(args.out, args.preview):
            print("preview", path)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
