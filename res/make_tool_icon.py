#!/usr/bin/env python3
"""Draws a companion tool's icon and writes it as an .ico file: 16, 24, 32
and 48 px images in 32-bit colour with alpha, on transparency.

kestil: a colour picker's pipette over a round swatch of three colours.
mirrun: a yellow ruler with tick marks, laid across the square.
Run: python3 res/make_tool_icon.py kestil src/colorpick/kestil.ico
     python3 res/make_tool_icon.py mirrun src/ruler/mirrun.ico
"""
import math
import struct
import sys


def sample_kestil(u, v):
    # Pipette: a dark diagonal bar from the top right to the centre, with a
    # white tip.
    du, dv = u - 0.5, v - 0.5
    t = (du - dv) / 2 ** 0.5          # along the bar (towards the top right)
    d = abs(du + dv) / 2 ** 0.5       # across it
    if -0.05 <= t <= 0.42 and d < 0.07:
        return (250, 250, 250, 1.0) if t < 0.08 else (40, 44, 52, 1.0)
    # Swatch: a disc split into red, green and blue.
    r = math.hypot(u - 0.42, v - 0.58)
    if r < 0.36:
        if r > 0.32:
            return (30, 30, 30, 1.0)
        a = math.atan2(v - 0.58, u - 0.42)
        third = int(((a + math.pi) / (2 * math.pi)) * 3) % 3
        return [(230, 40, 40, 1.0), (40, 180, 70, 1.0), (30, 110, 230, 1.0)][third]
    return (0, 0, 0, 0.0)


def sample_mirrun(u, v):
    # The ruler: a band from the bottom left to the top right.
    du, dv = u - 0.5, v - 0.5
    t = (du - dv) / 2 ** 0.5          # along the band
    d = (du + dv) / 2 ** 0.5          # across it, positive towards the bottom right
    half = 0.19
    if abs(t) > 0.62 or abs(d) > half:
        return (0, 0, 0, 0.0)
    if abs(d) > half - 0.045 or abs(t) > 0.62 - 0.045:
        return (60, 50, 20, 1.0)      # outline
    # Ticks from the upper edge, long and short in turn.
    step = 0.155
    k = round(t / step)
    if abs(t - k * step) < 0.028:
        reach = 0.20 if k % 2 == 0 else 0.11
        if d < -half + 0.045 + reach:
            return (60, 50, 20, 1.0)
    return (250, 205, 40, 1.0)


ARTWORK = {'kestil': sample_kestil, 'mirrun': sample_mirrun}
sample = sample_kestil


def pixel(x, y, n):
    acc = [0.0, 0.0, 0.0, 0.0]
    ss = 4
    for sy in range(ss):
        for sx in range(ss):
            r, g, b, a = sample((x + (sx + 0.5) / ss) / n, (y + (sy + 0.5) / ss) / n)
            acc[0] += r * a
            acc[1] += g * a
            acc[2] += b * a
            acc[3] += a
    if acc[3] == 0:
        return (0, 0, 0, 0)
    return (round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(acc[3] / (ss * ss) * 255))


def image(n):
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(n)):
        row = b''
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask_row = ((n + 31) // 32) * 4
    mask = bytes(mask_row * n)  # alpha decides; the AND mask stays clear
    return header + b''.join(rows) + mask


def main():
    global sample
    sample = ARTWORK[sys.argv[1]]
    sizes = [16, 24, 32, 48]
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[2], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
