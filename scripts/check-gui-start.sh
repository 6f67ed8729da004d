#!/usr/bin/env bash
# Starts the desktop program on an export as a user would: on a virtual display under a window
# manager (GTK's start-up warnings only come with frames a window manager decorates). Fails when
# the program writes a GTK CRITICAL warning to stderr, when un-maximising its window leaves it
# smaller than 640 x 400, or when the object viewer opened from a search row is not centred on the
# main window (the export must hold "Customer" first in Table 18 Customer, as the sample does). Exit status 77 (skipped) when xvfb-run, openbox or xdotool is missing.
set -uo pipefail
usage="usage: check-gui-start.sh QUELLIX EXPORT"
program=${1:?$usage}
export_file=${2:?$usage}
if [ -z "${QUELLIX_CHECK_INNER:-}" ]; then
  for tool in xvfb-run openbox xdotool; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  QUELLIX_CHECK_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
app=""
wm=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2> /dev/null
  [ -n "$wm" ] && kill "$wm" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

openbox > /dev/null 2>&1 &
wm=$!
sleep 1
env -u G_DEBUG QUELLIX_SETTINGS_FILE="$work/settings.ini" "$program" "$export_file" 2> "$work/stderr" > /dev/null &
app=$!
window=$(timeout 30 xdotool search --sync --name "^Quellix - " | head -1)
if [ -z "$window" ]; then
  echo "FAIL: no main window within 30 s"; cat "$work/stderr"; exit 1
fi
sleep 2
status=0

eval "$(xdotool getwindowgeometry --shell "$window")"
if [ "$WIDTH" -lt 1200 ]; then
  echo "FAIL: the main window opens ${WIDTH} x ${HEIGHT}, not maximised"
  status=1
fi
# The object viewer opens centred on the main window. Checked on the maximised window: there
# openbox puts new windows at its top left and ignores the place asked for before the show (on a
# restored window it centres dialogs itself).
check_viewer() {
  xdotool windowactivate --sync "$window"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  mainX=$X mainY=$Y mainW=$WIDTH mainH=$HEIGHT
  xdotool type --delay 20 "Customer"
  xdotool key Return
  sleep 2
  # a row of Table 18 Customer (the first twelve rows), whether the window is maximised or not
  xdotool mousemove --window "$window" 300 300 click 1
  viewer=$(timeout 15 xdotool search --sync --name "^Table 18 Customer - " | head -1)
  if [ -z "$viewer" ]; then
    echo "FAIL: no object viewer after a click on the first row of a search for Customer"
    status=1
  else
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$viewer")"
    dx=$(( (X + WIDTH / 2) - (mainX + mainW / 2) ))
    dy=$(( (Y + HEIGHT / 2) - (mainY + mainH / 2) ))
    echo "object viewer: ${WIDTH} x ${HEIGHT} at $X,$Y; main window ${mainW} x ${mainH} at $mainX,$mainY"
    if [ "${dx#-}" -gt 40 ] || [ "${dy#-}" -gt 40 ]; then
      echo "FAIL: the object viewer is not centred on the main window (off by $dx, $dy)"
      status=1
    fi
    xdotool windowactivate --sync "$viewer" key Escape
    for _ in $(seq 25); do xdotool search --name "^Table 18 Customer - " > /dev/null || break; sleep 0.2; done
  fi
}
check_viewer


# A double click on the title bar un-maximises the window in openbox.
xdotool mousemove 640 8 click --repeat 2 --delay 100 1
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "un-maximised: ${WIDTH} x ${HEIGHT}"
if [ "$WIDTH" -lt 640 ] || [ "$HEIGHT" -lt 400 ]; then
  echo "FAIL: the restored main window is ${WIDTH} x ${HEIGHT}"
  status=1
fi

# Closing stores the restored place; two more starts must bring the window back the same size,
# not grown by the window manager's frame each time.
start_again() {
  xdotool windowactivate --sync "$window" key alt+F4
  for _ in $(seq 50); do kill -0 "$app" 2> /dev/null || break; sleep 0.2; done
  env -u G_DEBUG QUELLIX_SETTINGS_FILE="$work/settings.ini" "$program" "$export_file" 2>> "$work/stderr" > /dev/null &
  app=$!
  window=$(timeout 30 xdotool search --sync --name "^Quellix - " | head -1)
  sleep 2
  [ -n "$window" ] && eval "$(xdotool getwindowgeometry --shell "$window")"
}
start_again
first="${WIDTH} x ${HEIGHT}"
start_again
second="${WIDTH} x ${HEIGHT}"
echo "started again: $first, then $second"
if [ -z "$window" ] || [ "$first" != "$second" ]; then
  echo "FAIL: the restored main window changes its size from start to start: $first, then $second"
  status=1
fi

if grep -q "CRITICAL" "$work/stderr"; then
  echo "FAIL: GTK reported problems:"
  grep -v '^$' "$work/stderr"
  status=1
fi
exit $status
