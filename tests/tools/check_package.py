#!/usr/bin/env python3
"""Static checks of the release packages that scripts/package.sh made:
- the portable zip holds exactly Vardo.exe, apps/kestil.exe, apps/mirrun.exe
  and the three texts;
- its programs pass every check of check_pe.py, carry no debug sections and
  name their debug file in .gnu_debuglink, with the CRC of the file the
  debug zip holds;
- the installer's version resource, the programs' and the file names agree.
Usage: check_package.py DIST_FOLDER (exit 77 when there is no package)
"""
import glob
import os
import struct
import sys
import tempfile
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts'))
from check_pe import PE, check  # noqa: E402
from pe_version import file_version  # noqa: E402

PROGRAMS = ['Vardo.exe', 'apps/kestil.exe', 'apps/mirrun.exe']
TEXTS = ['README.txt', 'LICENSE.txt', 'THIRD-PARTY.txt']


def section_names(pe):
    """Section names, long ones resolved through the COFF string table."""
    d = pe.d
    coff = struct.unpack_from('<I', d, 0x3C)[0] + 4
    symtab, nsyms = struct.unpack_from('<II', d, coff + 8)
    strtab = symtab + nsyms * 18 if symtab else 0
    names = []
    s = pe.opt + struct.unpack_from('<H', d, coff + 16)[0]
    for i in range(pe.nsec):
        raw = d[s:s + 8].rstrip(b'\0').decode('ascii', 'replace')
        if raw.startswith('/') and strtab:
            o = strtab + int(raw[1:])
            raw = d[o:d.index(b'\0', o)].decode('ascii', 'replace')
        names.append((raw, s))
        s += 40
    return names


def debuglink(pe):
    for name, hdr in section_names(pe):
        if name == '.gnu_debuglink':
            size, ptr = struct.unpack_from('<II', pe.d, hdr + 16)
            body = pe.d[ptr:ptr + size]
            file_name = body[:body.index(b'\0')].decode()
            crc_at = (len(file_name) + 1 + 3) & ~3
            return file_name, struct.unpack_from('<I', body, crc_at)[0]
    return None


def main():
    dist = sys.argv[1]
    zips = glob.glob(os.path.join(dist, 'Vardo-*-portable.zip'))
    if not zips:
        print('no package in', dist, '(run scripts/package.sh)')
        sys.exit(77)
    portable = zips[0]
    version = os.path.basename(portable)[len('Vardo-'):-len('-portable.zip')]
    problems = []
    debug_zip = os.path.join(dist, 'Vardo-%s-debug.zip' % version)
    setup = os.path.join(dist, 'Vardo-%s-setup.exe' % version)
    for f in (debug_zip, setup):
        if not os.path.exists(f):
            problems.append('missing ' + os.path.basename(f))
    with zipfile.ZipFile(portable) as z:
        names = sorted(n for n in z.namelist() if not n.endswith('/'))
        if names != sorted(PROGRAMS + TEXTS):
            problems.append('portable zip holds %s' % names)
        with tempfile.TemporaryDirectory() as tmp:
            z.extractall(tmp)
            debug = zipfile.ZipFile(debug_zip) if os.path.exists(debug_zip) else None
            for p in PROGRAMS:
                path = os.path.join(tmp, p)
                if not os.path.exists(path):
                    continue
                found, _, _, _ = check(path)
                problems += ['%s: %s' % (p, x) for x in found]
                pe = PE(open(path, 'rb').read())
                secs = [n for n, _ in section_names(pe)]
                if any(n.startswith('.debug') for n in secs):
                    problems.append('%s keeps debug sections' % p)
                link = debuglink(pe)
                if not link or link[0] != os.path.basename(p) + '.debug':
                    problems.append('%s names no debug file (%s)' % (p, link))
                elif debug:
                    try:
                        data = debug.read(p + '.debug')
                    except KeyError:
                        problems.append('debug zip lacks %s.debug' % p)
                    else:
                        if zlib.crc32(data) != link[1]:
                            problems.append('%s.debug does not match its program' % p)
                        if b'.debug_info' not in data:
                            problems.append('%s.debug holds no debug information' % p)
                v = file_version(path)
                if v != version:
                    problems.append('%s is version %s, the package %s' % (p, v, version))
            with open(os.path.join(tmp, 'README.txt'), 'rb') as f:
                if ('Vardo ' + version).encode() not in f.read():
                    problems.append('README.txt does not name version ' + version)
    if os.path.exists(setup):
        v = file_version(setup)
        if v != version:
            problems.append('installer is version %s, the package %s' % (v, version))
    for pr in problems:
        print('FAIL', pr)
    if not problems:
        print('package', version, 'ok:', ', '.join(os.path.basename(f) for f in (portable, setup, debug_zip)))
    sys.exit(1 if problems else 0)


if __name__ == '__main__':
    main()
