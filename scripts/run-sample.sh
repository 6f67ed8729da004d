#!/usr/bin/env bash
# Builds Quellix and runs it on the bundled sample export: the desktop program when a display is
# there, the catalogue of the command-line program otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
sample=examples/sample-export.txt
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/quellix ]; then
  exec build/quellix "$sample"
fi
exec build/quellix-cli objects "$sample"
