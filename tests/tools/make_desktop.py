#!/usr/bin/env python3
"""Writes the known desktop picture shown on the test display (binary PPM).

A colour gradient with solid blocks, a fine checkerboard and thin lines, so
that freeze, dimming, magnifier and colour readouts compare real, varied
pixels. Usage: make_desktop.py WIDTH HEIGHT OUT.ppm
"""
import sys

BLOCKS = [
    # x, y, w, h, colour
    (100, 100, 200, 150, (255, 0, 0)),
    (350, 100, 200, 150, (0, 255, 0)),
    (600, 100, 200, 150, (0, 0, 255)),
    (850, 100, 200, 150, (255, 255, 255)),
    (1100, 100, 200, 150, (0, 0, 0)),
    (1350, 100, 200, 150, (10, 0, 255)),
    (100, 700, 300, 200, (255, 128, 0)),
]


def colour(x, y, w, h):
    for bx, by, bw, bh, c in BLOCKS:
        if bx <= x < bx + bw and by <= y < by + bh:
            return c
    if 500 <= x < 700 and 400 <= y < 600:
        return (255, 255, 255) if (x // 2 + y // 2) % 2 == 0 else (0, 0, 0)
    if x % 100 == 0 or y % 100 == 0:
        return (32, 32, 32)
    return ((x * 255) // max(1, w - 1), (y * 255) // max(1, h - 1), 160)


def main():
    w, h, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    data = bytearray()
    for y in range(h):
        for x in range(w):
            data += bytes(colour(x, y, w, h))
    with open(out, 'wb') as f:
        f.write(b'P6\n%d %d\n255\n' % (w, h))
        f.write(data)


if __name__ == '__main__':
    main()
