#!/usr/bin/env bash
# Installs the Debian packages of the Windows cross-build and its tests under wine: the mingw-w64
# toolchains (posix threads), zlib for mingw, wine with its 32-bit half (i386 architecture), nsis
# for the installer, and autotools for the source packages that ship no configure script. Exits
# 0 when everything is there; 1 with one line when apt cannot provide it (no network, no root),
# so callers can skip the Windows step with that reason.
set -uo pipefail
packages=(g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          gcc-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev wine wine32 wine64
          nsis zip unzip dpkg-dev imagemagick autoconf automake libtool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-windows-deps: not root and no sudo"; exit 1; }
  SUDO=sudo
fi
echo "Installing: ${missing[*]}"
apt_get() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 "$@"; }
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386 || { echo "install-windows-deps: cannot add i386"; exit 1; }
fi
apt_get update -qq || { echo "install-windows-deps: apt-get update failed"; exit 1; }
apt_get install -y -qq --no-install-recommends "${missing[@]}" \
  || { echo "install-windows-deps: apt-get install failed"; exit 1; }
