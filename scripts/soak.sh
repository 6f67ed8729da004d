#!/usr/bin/env bash
# Drives the desktop program with random commands for MINUTES (default 2) from SEED (default 1) on
# a virtual display under a window manager: the GUI test program's Soak test, from the build folder
# QUELLIX_SOAK_BUILD (default build-asan, the AddressSanitizer build of scripts/test.sh). Fails on
# a crash, a sanitizer report or a GTK CRITICAL warning; exit status 77 (skipped) when xvfb-run or
# openbox is missing.
#     scripts/soak.sh [MINUTES] [SEED]
set -uo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-2}
seed=${2:-1}
program=${QUELLIX_SOAK_BUILD:-build-asan}/tests/quellix_gui_tests
if [ -z "${QUELLIX_SOAK_INNER:-}" ]; then
  for tool in xvfb-run openbox; do
    command -v "$tool" > /dev/null || { echo "soak: skipped, $tool is not installed"; exit 77; }
  done
  [ -x "$program" ] || { echo "soak: $program is not built"; exit 1; }
  QUELLIX_SOAK_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

log=$(mktemp)
openbox > /dev/null 2>&1 &
wm=$!
trap 'kill $wm 2> /dev/null; rm -f "$log"' EXIT
sleep 1
# GTK, GLib and fontconfig keep allocations until exit by design: leak reports of the whole
# toolkit would bury ours, so this run looks for memory errors and undefined behaviour only.
QUELLIX_SOAK_SECONDS=$((minutes * 60)) QUELLIX_SOAK_SEED=$seed \
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$program" --gtest_filter='Soak.*' > "$log" 2>&1
status=$?
grep -E '^soak:|\[  (PASSED|FAILED)' "$log"
if grep -qE 'CRITICAL|ERROR: AddressSanitizer|runtime error:' "$log" || [ $status -ne 0 ]; then
  echo "soak: FAILED (exit $status)"
  grep -E -A30 'CRITICAL|ERROR: AddressSanitizer|runtime error:|Failure' "$log" | head -80
  exit 1
fi
echo "soak: $minutes min, seed $seed, no crash, sanitizer report or GTK critical"
