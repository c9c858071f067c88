#!/usr/bin/env bash
# Installs what building, testing, fuzzing (clang, its sanitizer and fuzzer
# runtimes) and packaging (NSIS, zip) need on Debian, if it is missing.
set -euo pipefail
pkgs=(cmake ninja-build make g++ googletest python3
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
      wine wine64 xvfb xdotool x11-utils x11-xserver-utils xauth libx11-dev libxtst-dev fonts-droid-fallback fonts-wine imagemagick
      clang libclang-rt-14-dev nsis zip)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
