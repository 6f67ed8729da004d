#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh; with the desktop program when --gui is
# given or wxWidgets is cached for the architecture, without it with --no-gui) and packs them:
#   build-win/quellix-<version>-win32.zip    unpack and run: programs (quellix.exe when built,
#                                            quellix-cli.exe, cfront-db.exe), cfront\cfront.dll
#                                            (the stand-in, where the default program path finds
#                                            it), the sample export, README.txt, licence texts of
#                                            what is linked in
#   build-win/quellix-<version>-win32-setup.exe   the same as a per-user installer (nsis), tried
#                                            under wine (scripts/check-windows-installer.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
arch=i686 gui=default
while [ $# -gt 0 ]; do
  case "$1" in
    --arch) arch=$2; shift ;; # x86_64: quellix-<version>-win64.zip
    --gui) gui=yes ;;
    --no-gui) gui=no ;;
    *) echo "usage: $0 [--gui|--no-gui] [--arch i686|x86_64]" >&2; exit 2 ;;
  esac
  shift
done
cache=${QUELLIX_WIN_CACHE:-$HOME/.cache/quellix-win}/$arch
# The desktop program goes in when asked for, or by default when wxWidgets for the architecture is
# in the cache already (building it takes an hour of processor time).
if [ $gui = yes ] || { [ $gui = default ] && [ -x "$cache/prefix/bin/wx-config" ]; }; then
  gui=(--gui)
else
  gui=()
fi
scripts/build-windows.sh --arch "$arch" --no-tests "${gui[@]}"
out=build-win/$arch
version=$(sed -n 's/^#define QUELLIX_VERSION "\(.*\)"$/\1/p' "$out/generated/QuellixVersion.h")
bits=win32
[ "$arch" = x86_64 ] && bits=win64
name=quellix-$version-$bits
stage=$root/build-win/stage/$name
rm -rf "$root/build-win/stage" && mkdir -p "$stage/cfront" "$stage/licences" "$stage/examples"
# The desktop program only when this build made it (--gui): an older one would not match.
[ "${#gui[@]}" -gt 0 ] && cp "$out/quellix.exe" "$stage/"
cp "$out/quellix-cli.exe" "$out/cfront/cfront-db.exe" "$stage/"
cp "$out/cfront/cfront.dll" "$stage/cfront/"
"$arch-w64-mingw32-strip" "$stage"/*.exe "$stage"/cfront/*
# The sample as it is: an export's own bytes (OEM code page, CR LF).
cp examples/sample-export.txt "$stage/examples/"
# README.txt opens with what this package holds: a build without --gui has no desktop program.
{
  echo "Quellix $version for Windows ($bits). This package holds:"
  [ -f "$stage/quellix.exe" ] && echo "  quellix.exe          the desktop program"
  echo "  quellix-cli.exe      the command line"
  echo "  cfront-db.exe        the administration tool of the stand-in C/FRONT library"
  echo "  cfront\\cfront.dll    the stand-in C/FRONT library (SQLite)"
  [ -f "$stage/quellix.exe" ] || echo "The desktop program quellix.exe is not part of this package."
  echo
  cat README.md
} > "$stage/README.txt"
convert resources/icons/hicolor/16/quellix.png resources/icons/hicolor/32/quellix.png \
  resources/icons/hicolor/48/quellix.png "$stage/quellix.ico" 2> /dev/null \
  || convert resources/icons/hicolor/128/quellix.png -define icon:auto-resize=48,32,16 "$stage/quellix.ico"
# Licence texts of the code linked into the programs.
licence() { [ -f "$2" ] && cp "$2" "$stage/licences/$1.txt"; return 0; }
src=$cache/src
# The SQLite amalgamation is made once for every architecture, from the first one's source.
licence sqlite "$(ls "$src"/../../*/src/sqlite3-*/debian/copyright 2> /dev/null | head -1)"
licence libsodium "$(ls "$src"/libsodium-*/LICENSE 2> /dev/null | head -1)"
licence libgit2 "$(ls "$src"/libgit2-*/COPYING 2> /dev/null | head -1)"
licence pcre2 "$(ls "$src"/pcre2-*/LICENCE 2> /dev/null | head -1)"
licence http-parser "$(ls "$src"/http-parser-*/LICENSE-MIT 2> /dev/null | head -1)"
# Quellix's own terms and nlohmann/json's, compiled into quellix-cli.exe.
licence quellix packaging/debian/copyright
licence zlib /usr/share/doc/libz-mingw-w64-dev/copyright
licence gcc-runtime /usr/share/doc/gcc-mingw-w64-base/copyright
licence mingw-w64-winpthreads /usr/share/doc/mingw-w64-common/copyright
if [ -f "$stage/quellix.exe" ]; then
  licence wxwidgets "$(ls "$src"/wxwidgets3.2-*/docs/licence.txt 2> /dev/null | head -1)"
  licence expat "$(ls "$src"/expat-*/expat/COPYING 2> /dev/null | head -1)"
  licence libpng "$(ls "$src"/libpng1.6-*/LICENSE 2> /dev/null | head -1)"
fi
# Text files with CR LF, so Notepad on older Windows shows their lines.
for f in "$stage"/README.txt "$stage"/licences/*.txt; do sed -i 's/\r\?$/\r/' "$f"; done

rm -f "build-win/$name.zip"
(cd build-win/stage && zip -qr "../$name.zip" "$name")
(cd "$stage" && find . -type f | sed 's|^\./||; s|/|\\|g' | sort | sed 's|^|  Delete "$INSTDIR\\|; s|$|"|') \
  > "$root/build-win/stage/uninstall-files.nsh"
(cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | sort -r | sed 's|^|  RMDir "$INSTDIR\\|; s|$|"|') \
  >> "$root/build-win/stage/uninstall-files.nsh"
target=x86-unicode
[ "$arch" = x86_64 ] && target=amd64-unicode
makensis -V2 -DTARGET="$target" -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$root/build-win/$name-setup.exe" \
  packaging/windows/quellix.nsi > /dev/null
# The installer run once under wine: install, Start menu, uninstall (skipped where wine cannot
# start it, as a 32-bit one on a kernel without 32-bit programs).
scripts/check-windows-installer.sh "build-win/$name-setup.exe" "build-win/$name.zip" || [ $? = 77 ]
echo "build-win/$name.zip"
echo "build-win/$name-setup.exe"
