#!/usr/bin/env bash
# Builds the release packages from a clean build folder:
#   dist/Vardo-VERSION-portable.zip  Vardo.exe, apps\kestil.exe, apps\mirrun.exe,
#                                    README, licences; programs stripped
#   dist/Vardo-VERSION-setup.exe     per-user installer (NSIS)
#   dist/Vardo-VERSION-debug.zip     the programs' debug information, for
#                                    reading crash reports against the release
# under $VARDO_BUILD_DIR/package (default build/package). The version is the
# one the programs carry in their version resource.
#
#   bash scripts/package.sh            clean optimised build with debug information
#   bash scripts/package.sh --reuse    package the programs already built in
#                                      build/win (the test run does this)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
reuse=0
[ "${1:-}" = --reuse ] && reuse=1
bash scripts/deps.sh
b=${VARDO_BUILD_DIR:-$root/build}
pkg=$b/package
triple=x86_64-w64-mingw32

if [ $reuse = 1 ]; then
  out=$b/win/out
  rm -rf "$pkg/stage" "$pkg/debug" "$pkg/dist"
else
  rm -rf "$pkg"
  # Release flags plus -g: the same code as the test build, with the debug
  # information that is split off below.
  cmake -S "$root" -B "$pkg/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
        -DCMAKE_C_FLAGS=-g -DCMAKE_CXX_FLAGS=-g >/dev/null
  cmake --build "$pkg/build" -j "$(nproc)" --target Vardo kestil mirrun
  out=$pkg/build/out
fi
for p in Vardo.exe apps/kestil.exe apps/mirrun.exe; do
  [ -f "$out/$p" ] || { echo "package: $out/$p was not built" >&2; exit 1; }
done

version=$(python3 scripts/pe_version.py "$out/Vardo.exe")
stage=$pkg/stage
debug=$pkg/debug
dist=$pkg/dist
mkdir -p "$stage/apps" "$debug/apps" "$dist"

# Each program loses its debug information and symbols; they go to
# NAME.exe.debug beside the build, and the program names that file (and
# its checksum) in a .gnu_debuglink section, so a debugger pairs them.
for p in Vardo.exe apps/kestil.exe apps/mirrun.exe; do
  $triple-objcopy --only-keep-debug "$out/$p" "$debug/$p.debug"
  $triple-objcopy --strip-all "$out/$p" "$stage/$p"
  (cd "$debug/$(dirname "$p")" && $triple-objcopy --add-gnu-debuglink="$(basename "$p").debug" "$stage/$p")
done
sed "s/@VERSION@/$version/g" package/README.txt > "$stage/README.txt"
cp LICENSE.txt package/THIRD-PARTY.txt "$stage/"
# Windows line ends for the texts (Notepad of older Windows shows one line
# otherwise).
for t in "$stage"/*.txt; do sed -i 's/\r*$/\r/' "$t"; done

# The static checks of the shipped programs (ASLR, high-entropy VA, DEP,
# only system DLLs imported, GDI+ delay-loaded, manifest, version).
python3 tests/tools/check_pe.py "$stage"

name=Vardo-$version
(cd "$stage" && rm -f "$dist/$name-portable.zip" &&
 zip -q -X -r "$dist/$name-portable.zip" Vardo.exe apps README.txt LICENSE.txt THIRD-PARTY.txt)
(cd "$debug" && rm -f "$dist/$name-debug.zip" && zip -q -X -r "$dist/$name-debug.zip" .)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$root/res/vardo.ico" \
         -DOUTFILE="$dist/$name-setup.exe" package/vardo.nsi

installed=$(du -cb "$stage"/Vardo.exe "$stage"/apps/*.exe "$stage"/*.txt | tail -1 | cut -f1)
echo "Vardo $version packages in $dist:"
ls -l "$dist"
echo "installed files (before uninstall.exe): $installed bytes"
