#!/usr/bin/env python3
"""Prints the file version from a program's version resource, as the
installer and the package names show it: "1.2.3" (or "1.2.3.4" when the
fourth part is not 0). Works on 32- and 64-bit programs (the installer is
a 32-bit one). Usage: pe_version.py PROGRAM.exe"""
import struct
import sys

KEY = 'VS_VERSION_INFO'.encode('utf-16-le')
SIGNATURE = struct.pack('<I', 0xFEEF04BD)  # VS_FIXEDFILEINFO


def file_version(path):
    data = open(path, 'rb').read()
    at = data.find(KEY)
    fixed = data.find(SIGNATURE, at, at + 64) if at >= 0 else -1
    if fixed < 0:
        raise SystemExit('%s has no version resource' % path)
    ms, ls = struct.unpack_from('<II', data, fixed + 8)
    parts = [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF]
    return '.'.join(str(p) for p in (parts if parts[3] else parts[:3]))


if __name__ == '__main__':
    print(file_version(sys.argv[1]))
