"""Writers and readers for the Windows BMP and ICO formats; an icon's image
may be a PNG file, as Windows reads them since Vista.

Pixels travel as rows (top row first) of (r, g, b, a) byte tuples.
"""

import struct

from . import png

_PELS_PER_METRE = 3780  # 96 dots per inch, the density the windows are laid out for


def _stride(width, bpp):
    return ((width * bpp + 31) // 32) * 4


def _info_header(width, height, bpp, image_size, colours=0):
    return struct.pack(
        "<IiiHHIIiiII", 40, width, height, 1, bpp, 0, image_size,
        _PELS_PER_METRE, _PELS_PER_METRE, colours, 0)


def _pack_rows(rows, bpp, palette=None):
    """Bottom-up, padded pixel rows at 24, 32 or 4 bits per pixel."""
    width = len(rows[0])
    stride = _stride(width, bpp)
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bpp == 24:
            for r, g, b, _ in row:
                line += bytes((b, g, r))
        elif bpp == 32:
            for r, g, b, a in row:
                line += bytes((b, g, r, a))
        elif bpp == 4:
            idx = [palette.index(p[:3]) if p[3] else 0 for p in row]
            idx += [0] * (len(idx) % 2)
            for i in range(0, len(idx), 2):
                line.append(idx[i] << 4 | idx[i + 1])
        else:
            raise ValueError("unsupported depth %d" % bpp)
        line += bytes(stride - len(line))
        out += line
    return bytes(out)


def _and_mask(rows):
    """1 bit per pixel, set where the pixel is transparent."""
    width = len(rows[0])
    stride = _stride(width, 1)
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                line[x >> 3] |= 0x80 >> (x & 7)
        out += line
    return bytes(out)


def encode_bmp24(rows):
    """A plain bottom-up 24-bit BMP file: the kind the installer's pages show."""
    width, height = len(rows[0]), len(rows)
    pixels = _pack_rows(rows, 24)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    return header + _info_header(width, height, 24, len(pixels)) + pixels


def encode_ico(images):
    """images: list of (rows, bpp, palette, as_png). 24- and 4-bit images keep
    only a binary mask, so their pixels must already be fully opaque or fully
    clear; transparent pixels get black colour bits as the AND/XOR scheme
    requires. An image stored as PNG keeps the same pixels in RGBA."""
    blobs = []
    for rows, bpp, palette, as_png in images:
        size = len(rows)
        if bpp != 32:
            rows = [[p if p[3] else (0, 0, 0, 0) for p in row] for row in rows]
        if as_png:
            blobs.append((size, 32, 0, png.encode(rows, 4)))
            continue
        xor = _pack_rows(rows, bpp, palette)
        mask = _and_mask(rows)
        colours = len(palette) if palette else 0
        pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) if palette else b""
        blob = _info_header(size, size * 2, bpp, len(xor) + len(mask), colours) + pal + xor + mask
        blobs.append((size, bpp, colours, blob))
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, bpp, colours, blob in blobs:
        # Width and height bytes hold the real size; 0 would mean 256.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, 1, bpp,
                           len(blob), offset)
        offset += len(blob)
    for _, _, _, blob in blobs:
        out += blob
    return bytes(out)


# ---- readers, for the self-check and the previews ----


def _unpack_rows(data, width, height, bpp, palette):
    stride = _stride(width, bpp)
    rows = []
    for y in range(height):
        line = data[(height - 1 - y) * stride:(height - y) * stride]
        row = []
        for x in range(width):
            if bpp == 24:
                b, g, r = line[3 * x:3 * x + 3]
                row.append((r, g, b, 255))
            elif bpp == 32:
                b, g, r, a = line[4 * x:4 * x + 4]
                row.append((r, g, b, a))
            else:
                i = (line[x >> 1] >> (0 if x & 1 else 4)) & 15
                row.append(palette[i] + (255,))
        rows.append(row)
    return rows


def decode_bmp(data):
    """Returns (width, height, bpp, rows); raises ValueError on a bad header."""
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    hsize, width, height, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    if magic != b"BM" or file_size != len(data) or offset != 54 or hsize != 40:
        raise ValueError("bad BMP file header")
    if planes != 1 or bpp != 24 or comp != 0 or height <= 0:
        raise ValueError("not a plain bottom-up 24-bit BMP")
    if offset + _stride(width, 24) * height != len(data):
        raise ValueError("BMP pixel data has the wrong length")
    return width, height, bpp, _unpack_rows(data[offset:], width, height, 24, None)


def decode_ico(data):
    """Returns a list of dicts (size, bpp, colours, rows) in directory order."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("bad ICO directory header")
    images = []
    end = 6 + 16 * count
    for n in range(count):
        w, h, colours, res, planes, bpp, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * n)
        if w != h or res != 0 or planes != 1 or offset != end:
            raise ValueError("bad ICO directory entry %d" % n)
        size = w or 256
        if png.is_png(data[offset:offset + length]):
            pw, ph, pbpp, rows = png.decode(data[offset:offset + length])
            if (pw, ph, pbpp, bpp, colours) != (size, size, 4, 32, 0):
                raise ValueError("PNG image %d does not match its directory entry" % n)
            images.append({"size": size, "bpp": bpp, "colours": 0, "rows": rows, "png": True})
            end += length
            continue
        hsize, bw, bh, bplanes, bbpp, comp = struct.unpack_from("<IiiHHI", data, offset)
        if (hsize, bw, bh, bplanes, bbpp, comp) != (40, size, 2 * size, 1, bpp, 0):
            raise ValueError("image %d header does not match its directory entry" % n)
        pos = offset + 40
        palette = None
        if bpp == 4:
            if colours != 16:
                raise ValueError("4-bit image %d must declare 16 colours" % n)
            palette = [tuple(data[pos + 4 * i + 2 - c] for c in range(3)) for i in range(16)]
            pos += 64
        xor_len, and_len = _stride(size, bpp) * size, _stride(size, 1) * size
        if offset + length != pos + xor_len + and_len or offset + length > len(data):
            raise ValueError("image %d has the wrong length" % n)
        rows = _unpack_rows(data[pos:pos + xor_len], size, size, bpp, palette)
        mask = data[pos + xor_len:pos + xor_len + and_len]
        stride = _stride(size, 1)
        for y, row in enumerate(rows):
            line = mask[(size - 1 - y) * stride:]
            for x, p in enumerate(row):
                if line[x >> 3] & (0x80 >> (x & 7)):
                    row[x] = p[:3] + (0,)
        images.append({"size": size, "bpp": bpp, "colours": colours, "rows": rows, "png": False})
        end += length
    if end != len(data):
        raise ValueError("ICO file has trailing or missing bytes")
    return images
