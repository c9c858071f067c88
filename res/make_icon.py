#!/usr/bin/env python3
"""Draws the program icon and writes vardo.ico: 16, 32 and 48 px images,
each in 16 colours, 256 colours and 32-bit colour (with alpha).

The artwork is a picture pinned to the screen: a light card with a dashed
selection frame, a teal landscape and a red pin head, on transparency.
Run: python3 res/make_icon.py res/vardo.ico
"""
import struct
import sys

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def pixel(x, y, n):
    """RGBA of the icon at pixel (x, y) of an n x n image (supersampled)."""
    acc = [0.0, 0.0, 0.0, 0.0]
    ss = 4
    for sy in range(ss):
        for sx in range(ss):
            u = (x + (sx + 0.5) / ss) / n
            v = (y + (sy + 0.5) / ss) / n
            r, g, b, a = sample(u, v)
            acc[0] += r * a
            acc[1] += g * a
            acc[2] += b * a
            acc[3] += a
    a = acc[3] / (ss * ss)
    if acc[3] == 0:
        return (0, 0, 0, 0)
    return (round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(a * 255))


def sample(u, v):
    # Pin head: red disc near the top centre.
    du, dv = u - 0.5, v - 0.16
    if du * du + dv * dv < 0.12 ** 2:
        return (220, 30, 40, 1.0)
    # Card with a dark outline.
    if 0.08 <= u <= 0.92 and 0.2 <= v <= 0.9:
        if u < 0.13 or u > 0.87 or v < 0.25 or v > 0.85:
            return (40, 48, 60, 1.0)
        # Landscape inside the card: sky and a teal hill.
        hill = 0.72 - 0.18 * (1 - ((u - 0.45) / 0.45) ** 2)
        if v > hill:
            return (0, 150, 150, 1.0)
        return (235, 240, 245, 1.0)
    return (0, 0, 0, 0.0)


def nearest(palette, c):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))


def dib(n, bpp):
    pix = [[pixel(x, y, n) for x in range(n)] for y in range(n)]
    if bpp == 32:
        palette = []
    elif bpp == 4:
        palette = VGA16
    else:
        colours = sorted({p[:3] for row in pix for p in row if p[3] >= 128})
        palette = (colours + [(0, 0, 0)] * 256)[:256]
    header = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, bpp, 0, 0, 0, 0,
                         len(palette) if bpp != 32 else 0, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    rows = []
    for y in reversed(range(n)):
        row = bytearray()
        if bpp == 32:
            for p in pix[y]:
                row += struct.pack('<BBBB', p[2], p[1], p[0], p[3])
        elif bpp == 8:
            for p in pix[y]:
                row.append(nearest(palette, p) if p[3] >= 128 else 0)
        else:
            idx = [nearest(palette, p) if p[3] >= 128 else 0 for p in pix[y]]
            for i in range(0, n, 2):
                row.append((idx[i] << 4) | (idx[i + 1] if i + 1 < n else 0))
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    mask_rows = []
    for y in reversed(range(n)):
        bits = bytearray((n + 31) // 32 * 4)
        for x in range(n):
            if pix[y][x][3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(bits))
    return header + pal + b''.join(rows) + b''.join(mask_rows), len(palette) if bpp != 32 else 0


def main(out):
    images = []
    for bpp in (4, 8, 32):
        for n in (16, 32, 48):
            data, ncol = dib(n, bpp)
            images.append((n, bpp, ncol, data))
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    blobs = b''
    for n, bpp, ncol, data in images:
        entries += struct.pack('<BBBBHHII', n, n, ncol if ncol < 256 else 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
        blobs += data
    with open(out, 'wb') as f:
        f.write(head + entries + blobs)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'vardo.ico')
