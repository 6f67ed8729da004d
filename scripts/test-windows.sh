#!/usr/bin/env bash
# The Windows build's tests, run under wine on this machine:
#   scripts/test-windows.sh [--arch i686|x86_64]
# Cross-builds (scripts/build-windows.sh), runs the core and CLI test suites (the POSIX-only tests
# skip themselves), compares every quellix-cli.exe output with the Linux
# build/quellix-cli on the sample and on a generated 20 MB export, and reads stand-in databases
# made by cfront-db.exe through cfront.dll. The desktop program is built too and started
# (scripts/check-windows-gui.sh) when the cache holds wxWidgets for the architecture, or with
# QUELLIX_WIN_GUI=1 (which builds wxWidgets into the cache first: an hour of processor time);
# QUELLIX_WIN_GUI=0 leaves it out.
# Exits 0 with a printed reason when the toolchain or wine cannot be had.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
arch=i686
# The shipped build is i686; wine runs it only where the kernel runs 32-bit programs (wine32's
# loader is an i386 ELF). Elsewhere the same sources are tested as x86_64.
if [ "${1:-}" = "--arch" ]; then
  arch=$2
elif [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version > /dev/null 2>&1; then
  echo "test-windows.sh: this kernel cannot run 32-bit programs (wine32), testing the x86_64 build"
  arch=x86_64
fi
cache=${QUELLIX_WIN_CACHE:-$HOME/.cache/quellix-win}
started=$(date +%s)
gui=()
if [ "${QUELLIX_WIN_GUI:-}" = 1 ] || { [ -z "${QUELLIX_WIN_GUI:-}" ] && [ -x "$cache/$arch/prefix/bin/wx-config" ]; }; then
  gui=(--gui)
fi
scripts/build-windows.sh --arch "$arch" "${gui[@]}"
status=$?
if [ $status = 77 ]; then
  echo "test-windows.sh: skipped (no toolchain)"
  exit 0
fi
[ $status = 0 ] || exit $status
command -v wine > /dev/null || { echo "test-windows.sh: skipped (no wine)"; exit 0; }

out=$root/build-win/$arch
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=$cache/wine-$arch
# The 64-bit loader directly: the wine wrapper starts the 32-bit one first.
wine=wine
if [ "$arch" = i686 ]; then
  export WINEARCH=win32
elif [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
fi
if [ ! -d "$WINEPREFIX" ]; then
  $wine wineboot -i > /dev/null 2>&1 || { echo "test-windows.sh: skipped (wine cannot make a prefix)"; exit 0; }
fi
# One wine server for the whole run: without it every program start boots the prefix again.
wineserver=/usr/lib/wine/wineserver64
[ "$arch" = i686 ] || [ ! -x "$wineserver" ] && wineserver=wineserver
$wineserver -p 2> /dev/null
trap '$wineserver -k 2> /dev/null' EXIT
failures=0
fail() { echo "test-windows.sh: FAILED: $*"; failures=$((failures + 1)); }

# The suites: every test runs; the POSIX-only ones skip themselves with their reason, and the
# summary at the end names them.
log=$out/quellix_tests.log
if ! (cd "$out" && $wine tests/quellix_tests.exe > "$log" 2>&1); then
  grep -B8 '^\[  FAILED  \]' "$log" | head -200
  fail "core and CLI test suites (log: $log)"
fi
sed -n '/^\[==========\] .* ran\./,$p' "$log"

# The same bytes as the Linux program for every command (wine exits 0/1/2/3 as the program does).
# Wine reads the arguments in the locale's character set: UTF-8, so Cyrillic names arrive whole.
wrapper=$out/quellix-cli-wine
printf '#!/bin/sh\nexec env LC_ALL=C.UTF-8 %s "%s" "$@"\n' "$wine" "$out/quellix-cli.exe" > "$wrapper"
chmod +x "$wrapper"
[ -x build/quellix-cli ] || scripts/build.sh > /dev/null
scripts/compare-cli-output.sh build/quellix-cli "$wrapper" 20 build/bench/gen_export || fail "quellix-cli.exe output differs"

# The stand-in through the Windows loader: databases made by cfront-db.exe, read by quellix-cli.exe.
work=$(mktemp -d /tmp/quellix-win-db.XXXXXX)
trap 'rm -rf "$work"; $wineserver -k 2> /dev/null' EXIT
db() { $wine "$out/cfront/cfront-db.exe" "$@"; }
db create "$work/a.db" && db import "$work/a.db" examples/sample-export.txt > /dev/null \
  && db create "$work/b.db" && db import "$work/b.db" examples/sample-export.txt > /dev/null \
  && db set "$work/b.db" Codeunit 80 --date 2026-12-08 --time 23:00:00 > /dev/null || fail "cfront-db.exe"
for side in linux windows; do
  cli=build/quellix-cli pp=build
  [ $side = windows ] && cli=$wrapper pp=$out
  QUELLIX_DB_PASSWORD= $cli db-objects --server "$work/a.db" --net lokal --program-path "$pp" \
    > "$work/objects-$side.txt" 2>&1 || fail "db-objects ($side)"
  QUELLIX_DB1_PASSWORD= QUELLIX_DB2_PASSWORD= $cli db-compare --server1 "$work/a.db" --net1 lokal \
    --program-path1 "$pp" --server2 "$work/b.db" --net2 lokal --program-path2 "$pp" \
    > "$work/compare-$side.txt" 2>&1 || fail "db-compare ($side)"
done
cmp -s "$work/objects-linux.txt" "$work/objects-windows.txt" || fail "db-objects differs from Linux"
cmp -s "$work/compare-linux.txt" "$work/compare-windows.txt" || fail "db-compare differs from Linux"
[ -s "$work/compare-windows.txt" ] || fail "db-compare printed nothing"

# Awkward places for an export, as Windows users have them: a path longer than 260 characters and
# a name in letters outside the ANSI code page are read like any other; a missing file and a
# folder get one line naming them and exit 1; a split into a read-only file leaves it as it was.
deep=$work/deep
while [ ${#deep} -lt 300 ]; do deep="$deep/Navision Objekte 2009 R2"; done
mkdir -p "$deep" "$work/Экспорт"
cp examples/sample-export.txt "$deep/export.txt"
cp examples/sample-export.txt "$work/Экспорт/Объекты äöü.txt"
build/quellix-cli check examples/sample-export.txt > "$work/check-linux.txt"
for file in "$deep/export.txt" "$work/Экспорт/Объекты äöü.txt"; do
  "$wrapper" check "$file" > "$work/check-windows.txt" 2> "$work/check-errors.txt" \
    && cmp -s "$work/check-linux.txt" "$work/check-windows.txt" || fail "check on ${file:0:60}...: $(head -1 "$work/check-errors.txt")"
done
for file in "$work/missing.txt" "$work/Экспорт"; do
  "$wrapper" objects "$file" > /dev/null 2> "$work/errors.txt"
  status=$?
  [ $status = 1 ] && [ "$(wc -l < "$work/errors.txt")" = 1 ] && grep -q "$(basename "$file")" "$work/errors.txt" \
    || fail "objects on $file: exit $status, $(cat "$work/errors.txt")"
done
mkdir -p "$work/split"
printf 'old' > "$work/split/MenuSuite 1010.txt"
chmod a-w "$work/split/MenuSuite 1010.txt"
"$wrapper" split examples/sample-export.txt "$work/split" 1010 1010 > /dev/null 2> "$work/errors.txt"
status=$?
{ [ $status = 1 ] && [ "$(cat "$work/split/MenuSuite 1010.txt")" = old ] && [ "$(ls "$work/split" | wc -l)" = 1 ] \
  && grep -q "MenuSuite 1010.txt" "$work/errors.txt"; } || fail "split over a read-only file: exit $status, $(cat "$work/errors.txt")"

if [ ${#gui[@]} -gt 0 ] && [ -x scripts/check-windows-gui.sh ]; then
  QUELLIX_WINE=$wine scripts/check-windows-gui.sh "$out"
  status=$?
  [ $status = 0 ] || [ $status = 77 ] || fail "the desktop program under wine"
fi
echo "test-windows.sh: $arch done in $(( $(date +%s) - started )) s, $failures failure(s)"
[ $failures = 0 ]
