#!/usr/bin/env python3
"""Writes small seed inputs for the fuzz targets into DIR/<target>/:
minimal headers of each picture format the probe knows, a few stored
values and key sequences. Usage: seeds.py DIR"""
import os
import struct
import sys
import zlib


def png(w, h):
    ihdr = struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)
    chunk = lambda t, d: struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(b'\0' * (w * 4 + 1) * h)) + chunk(b'IEND', b'')


def jpeg(w, h):
    app0 = b'\xff\xe0' + struct.pack('>H', 16) + b'JFIF\0\x01\x01\0\0\x01\0\x01\0\0'
    sof = b'\xff\xc0' + struct.pack('>HBHHB', 17, 8, h, w, 3) + b'\x01\x22\0\x02\x11\x01\x03\x11\x01'
    return b'\xff\xd8' + app0 + sof + b'\xff\xda\0\x08\x01\x01\0\0\x3f\0' + b'\xff\xd9'


def gif(w, h):
    return (b'GIF89a' + struct.pack('<HHBBB', w, h, 0x80, 0, 0) + b'\0\0\0\xff\xff\xff' +
            b'\x21\xf9\x04\x01\0\0\0\0' + b'\x2c' + struct.pack('<HHHHB', 0, 0, w, h, 0) + b'\x02\x02\x44\x01\0;')


def bmp(w, h):
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, 0, 2835, 2835, 0, 0)
    row = (w * 3 + 3) & ~3
    return b'BM' + struct.pack('<IHHI', 54 + row * abs(h), 0, 0, 54) + info + b'\0' * row * abs(h)


def ico(w, h):
    dib = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0) + b'\0' * (w * h * 4 + h * 4)
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(dib), 22) + dib


def tiff(w, h):
    entries = [(256, 3, 1, w), (257, 3, 1, h), (258, 3, 1, 8)]
    ifd = struct.pack('<H', len(entries)) + b''.join(struct.pack('<HHII', *e) for e in entries) + b'\0\0\0\0'
    return b'II*\0' + struct.pack('<I', 8) + ifd


def main():
    out = sys.argv[1]
    seeds = {
        'imagesize_fuzz': [png(3, 2), jpeg(5, 4), gif(6, 3), bmp(2, -2), ico(16, 16), tiff(7, 9), png(0, 1),
                           jpeg(1, 0), bmp(65535, 1)],
        'quantize_fuzz': [b'\0' + bytes(range(256)) * 4, b'\1' + bytes(range(256)) * 2, b'\2' + bytes(range(0, 256, 7))],
        'stored_value_fuzz': [b'44', b' 2 ', b'+7', b'-1', b'2147483648', b'C:\\Vardo\0set.ini', b'C:\\\0\\set.ini'],
        'key_capture_fuzz': [bytes([0, 17, 2, 0, 65, 2, 2, 65, 0]), bytes([0, 91, 0, 0, 112, 4, 2, 91, 0, 3, 0, 0])],
    }
    for target, items in seeds.items():
        d = os.path.join(out, target)
        os.makedirs(d, exist_ok=True)
        for i, data in enumerate(items):
            with open(os.path.join(d, 'seed-%02d' % i), 'wb') as f:
                f.write(data)


if __name__ == '__main__':
    main()
