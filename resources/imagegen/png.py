"""PNG writer and reader for the pictures and the icons' large images.

The writer tries each of PNG's row filters on the whole image, and a per-row
choice, and keeps the smallest file; the bytes depend only on the pixels (and
on zlib, which is deterministic for one version). The reader takes what the
writer makes (8-bit RGB or RGBA, not interlaced) and is what the self-check
compares pixels with.
"""

import struct
import zlib

_SIGNATURE = b"\x89PNG\r\n\x1a\n"
_COLOUR_TYPES = {3: 2, 4: 6}  # bytes per pixel -> PNG colour type


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _predict(kind, a, b, c):
    return (0, a, b, (a + b) >> 1, _paeth(a, b, c))[kind]


def _filter_row(kind, line, prev, bpp):
    out = bytearray([kind])
    for i, x in enumerate(line):
        a = line[i - bpp] if i >= bpp else 0
        c = prev[i - bpp] if i >= bpp else 0
        out.append((x - _predict(kind, a, prev[i], c)) & 255)
    return out


def _cost(filtered):
    return sum(v if v < 128 else 256 - v for v in filtered[1:])


def _filtered(lines, bpp, kind):
    """All rows with one filter, or (kind None) each row's cheapest filter."""
    prev = bytes(len(lines[0]))
    out = bytearray()
    for line in lines:
        if kind is None:
            out += min((_filter_row(k, line, prev, bpp) for k in range(5)), key=_cost)
        else:
            out += _filter_row(kind, line, prev, bpp)
        prev = line
    return bytes(out)


def _chunk(tag, body):
    return (struct.pack(">I", len(body)) + tag + body
            + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))


def encode(rows, bpp):
    """rows of (r, g, b, a); bpp 3 drops alpha, 4 keeps it."""
    width, height = len(rows[0]), len(rows)
    lines = [bytes(v for p in row for v in p[:bpp]) for row in rows]
    data = min((zlib.compress(_filtered(lines, bpp, k), 9) for k in (0, 1, 2, 3, 4, None)),
               key=len)
    ihdr = struct.pack(">IIBBBBB", width, height, 8, _COLOUR_TYPES[bpp], 0, 0, 0)
    return _SIGNATURE + _chunk(b"IHDR", ihdr) + _chunk(b"IDAT", data) + _chunk(b"IEND", b"")


def is_png(data):
    return data[:8] == _SIGNATURE


def decode(data):
    """Returns (width, height, bpp, rows of (r, g, b, a)); ValueError if malformed."""
    if not is_png(data):
        raise ValueError("not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, tag = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        if crc != zlib.crc32(tag + body) & 0xFFFFFFFF:
            raise ValueError("PNG chunk %r has a bad CRC" % tag)
        if tag == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif tag == b"IDAT":
            idat += body
        pos += 12 + length
        if tag == b"IEND":
            break
    if header is None or pos != len(data):
        raise ValueError("PNG without a header or with bytes after its end")
    width, height, depth, colour, _, _, interlace = header
    bpp = {2: 3, 6: 4}.get(colour)
    if depth != 8 or bpp is None or interlace != 0:
        raise ValueError("not an 8-bit RGB or RGBA PNG")
    raw = zlib.decompress(idat)
    stride = width * bpp
    if len(raw) != height * (stride + 1):
        raise ValueError("PNG pixel data has the wrong length")
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind > 4:
            raise ValueError("unknown PNG filter %d" % kind)
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            c = prev[i - bpp] if i >= bpp else 0
            line[i] = (line[i] + _predict(kind, a, prev[i], c)) & 255
        rows.append([tuple(line[x * bpp:x * bpp + bpp]) + ((255,) if bpp == 3 else ())
                     for x in range(width)])
        prev = line
    return width, height, bpp, rows
