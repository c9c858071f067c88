#!/usr/bin/env python3
"""Static checks of every built program in the output folder:
- ASLR with high-entropy VA, DEP and terminal-server awareness are set;
- no MinGW runtime DLL is imported (each .exe runs alone);
- gdiplus.dll is only delay-loaded, never imported directly (so a planted
  copy next to the program is never loaded at start);
- the system DLLs that the first windows do not need (common controls,
  common dialogs, shell, OLE) are not imported directly either, so start-up
  does not pay for loading them;
- the manifest declares per-monitor v2 DPI awareness and common controls 6;
- a version resource and a program icon are present.
Usage: check_pe.py OUTPUT_FOLDER
"""
import os
import struct
import sys

RUNTIME_DLLS = ('libstdc++', 'libgcc', 'libwinpthread', 'libssp')
# Loaded on first use only.
DELAYED_DLLS = ('gdiplus.dll', 'comctl32.dll', 'comdlg32.dll', 'ole32.dll', 'oleaut32.dll', 'shell32.dll')


class PE:
    def __init__(self, data):
        self.d = data
        pe = struct.unpack_from('<I', data, 0x3C)[0]
        assert data[pe:pe + 4] == b'PE\0\0', 'not a PE file'
        self.nsec = struct.unpack_from('<H', data, pe + 6)[0]
        opt_size = struct.unpack_from('<H', data, pe + 20)[0]
        self.opt = pe + 24
        magic = struct.unpack_from('<H', data, self.opt)[0]
        assert magic == 0x20B, 'expected PE32+'
        self.dll_chars = struct.unpack_from('<H', data, self.opt + 70)[0]
        self.dirs = self.opt + 112
        self.sections = []
        s = self.opt + opt_size
        for i in range(self.nsec):

            vsize, va, rsize, rptr = struct.unpack_from('<IIII', data, s + 8)
            self.sections.append((va, max(vsize, rsize), rptr))
            s += 40

    def dir(self, i):
        return struct.unpack_from('<II', self.d, self.dirs + 8 * i)

    def off(self, rva):
        for va, size, ptr in self.sections:
            if va <= rva < va + size:
                return rva - va + ptr
        raise ValueError('rva %x outside sections' % rva)

    def cstr(self, rva):
        o = self.off(rva)
        return self.d[o:self.d.index(b'\0', o)].decode('ascii', 'replace')

    def imports(self):
        rva, size = self.dir(1)
        out = []
        if not rva:
            return out
        o = self.off(rva)
        while True:
            name = struct.unpack_from('<I', self.d, o + 12)[0]
            if name == 0:
                break
            out.append(self.cstr(name).lower())
            o += 20
        return out

    def delay_imports(self):
        rva, size = self.dir(13)
        out = []
        if not rva:
            return out
        o = self.off(rva)
        while True:
            name = struct.unpack_from('<I', self.d, o + 4)[0]
            if name == 0:
                break
            out.append(self.cstr(name).lower())
            o += 32
        return out

    def resources(self):
        """{type_id: [data bytes]}"""
        rva, size = self.dir(2)
        if not rva:
            return {}
        base = self.off(rva)
        out = {}

        def entries(o):
            named, ids = struct.unpack_from('<HH', self.d, o + 12)
            for i in range(named + ids):
                yield struct.unpack_from('<II', self.d, o + 16 + 8 * i)

        for tid, toff in entries(base):
            if not toff & 0x80000000:
                continue
            for _, noff in entries(base + (toff & 0x7FFFFFFF)):
                for _, loff in entries(base + (noff & 0x7FFFFFFF)):
                    drva, dsize = struct.unpack_from('<II', self.d, base + (loff & 0x7FFFFFFF))
                    o = self.off(drva)
                    out.setdefault(tid, []).append(self.d[o:o + dsize])
        return out


def check(path):
    problems = []
    pe = PE(open(path, 'rb').read())
    for flag, name in ((0x20, 'high-entropy VA'), (0x40, 'ASLR (dynamic base)'), (0x100, 'DEP (NX compatible)')):
        if not pe.dll_chars & flag:
            problems.append('missing ' + name)
    imps = pe.imports()
    for dll in imps:
        if dll.startswith(RUNTIME_DLLS):
            problems.append('imports runtime DLL ' + dll)
    for dll in DELAYED_DLLS:
        if dll in imps:
            problems.append('imports %s directly (must be delay-loaded)' % dll)
    # GNU ld leaves the delay-import directory entry empty, so also accept the
    # DLL's name among the delay-load descriptors' data.
    uses_gdiplus = 'gdiplus.dll' in pe.delay_imports() or b'gdiplus.dll' in pe.d
    res = pe.resources()
    manifests = res.get(24, [])
    if not manifests:
        problems.append('no manifest')
    else:
        m = manifests[0].decode('utf-8', 'replace')
        for needle in ('PerMonitorV2', 'true/pm', 'Microsoft.Windows.Common-Controls', 'supportedOS'):
            if needle not in m:
                problems.append('manifest lacks ' + needle)
    if 16 not in res:
        problems.append('no version resource')
    # The icon the shell, the installer's shortcut and the window show.
    if 14 not in res:
        problems.append('no icon')
    return problems, imps, pe.delay_imports(), uses_gdiplus


def main():
    out = sys.argv[1]
    programs = [os.path.join(out, 'Vardo.exe'), os.path.join(out, 'apps', 'kestil.exe'),
                os.path.join(out, 'apps', 'mirrun.exe')]
    failed = False
    for p in programs:
        if not os.path.exists(p):
            print('MISSING', p)
            failed = True
            continue
        problems, imps, delayed, uses_gdiplus = check(p)
        print(os.path.basename(p), 'imports:', ' '.join(imps), '| delay-loaded:', ' '.join(delayed) or '-',
              '| GDI+ delay-loaded:', 'yes' if uses_gdiplus else 'no')
        # All three draw and encode with GDI+.
        if not uses_gdiplus:
            problems.append('GDI+ is not delay-loaded')
        for pr in problems:
            print('  FAIL', pr)
        failed |= bool(problems)
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
