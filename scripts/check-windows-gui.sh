#!/usr/bin/env bash
# Starts the Windows desktop program under wine on a virtual display with a window manager, as a
# user would: it opens the sample export, runs a search for "Customer", opens the object viewer
# from the first row and a merge view from "New" (Ctrl+N), and saves the screen after each step:
#   scripts/check-windows-gui.sh BUILD-WIN-FOLDER [SCREENSHOT-FOLDER]
# into docs/windows-search-view.png, windows-object-viewer.png and windows-merge-view.png (or the
# folder given). Fails when a window does not come. Exit 77 (skipped) without xvfb-run, openbox,
# xdotool or ImageMagick's import.
set -uo pipefail
usage="usage: check-windows-gui.sh BUILD-WIN-FOLDER [SCREENSHOT-FOLDER]"
out=$(realpath "${1:?$usage}")
cd "$(dirname "$0")/.."
mkdir -p "${2:-docs}"
shots=$(realpath "${2:-docs}")
if [ -z "${QUELLIX_CHECK_INNER:-}" ]; then
  for tool in xvfb-run openbox xdotool import; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  QUELLIX_CHECK_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$out" "$shots"
fi
wine=${QUELLIX_WINE:-wine}
work=$(mktemp -d)
app="" wm=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2> /dev/null
  [ -n "$wm" ] && kill "$wm" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
# Waits up to $2 seconds for a window whose title matches $1 and prints its id.
window_named() { timeout "$2" xdotool search --sync --name "$1" 2> /dev/null | head -1; }
shot() { if import -window root "$shots/$1"; then echo "screenshot $shots/$1"; else fail "no screenshot $1"; fi; }

openbox > /dev/null 2>&1 &
wm=$!
sleep 1
# The settings in a file of this run (QUELLIX_SETTINGS_FILE), not in the prefix's registry.
# The name in Windows' terms: a path without drive is no absolute path there. winepath through
# the same loader (the wrapper script would start the 32-bit one).
settings=$($wine winepath -w "$work/settings.ini" 2> /dev/null) || { echo "FAIL: winepath"; exit 1; }
QUELLIX_SETTINGS_FILE="$settings" \
  $wine "$out/quellix.exe" "$(pwd)/examples/sample-export.txt" > "$work/stdout" 2> "$work/stderr" &
app=$!
window=$(window_named "^Quellix - " 90)
if [ -z "$window" ]; then
  fail "no main window within 90 s"
  cat "$work/stderr"
  exit 1
fi
sleep 3
xdotool windowactivate --sync "$window"
xdotool type --delay 30 "Customer"
xdotool key Return
sleep 4
shot windows-search-view.png

# The first row of the search: a line of Table 18 Customer.
xdotool mousemove --window "$window" 300 300 click 1
viewer=$(window_named "^Table 18 Customer - " 30)
if [ -z "$viewer" ]; then
  fail "no object viewer after a click on the first row of the search"
else
  sleep 2
  shot windows-object-viewer.png
  xdotool windowactivate --sync "$viewer" key Escape
  sleep 1
fi

# "New": the fourth kind is the merge view.
xdotool windowactivate --sync "$window" key ctrl+n
dialog=$(window_named "^Neu$" 30)
if [ -z "$dialog" ]; then
  fail "no dialog \"Neu\" after Ctrl+N"
else
  sleep 1
  xdotool key Home Down Down Down Return
  sleep 3
  shot windows-merge-view.png
fi
kill -0 "$app" 2> /dev/null || fail "the program ended by itself"
exit $status
